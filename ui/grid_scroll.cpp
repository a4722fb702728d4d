#include "ui/grid_scroll.h"

#include <QAbstractSlider>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

#include "ui/grid_layout.h"

namespace quelna {

GridScroll::GridScroll(QWidget* content, QScrollBar* bar, int scrollMax, int clientHeight)
    : content_(content), scrollBar_(bar), scrollMax_(scrollMax), clientHeight_(clientHeight),
      downArrow_(scrollMax > 0) {}

void GridScroll::scrollTo(int pos) {
    scrollPos_ = pos;
    content_->move(0, -pos * kRowHeight);
    scrollBar_->setSliderPosition(pos);
}

void GridScroll::toTop() {
    scrollTo(0);
    upArrow_ = false;
    downArrow_ = scrollMax_ > 0;
}

void GridScroll::lineDown() {
    if (scrollPos_ >= scrollMax_)
        return;
    scrollTo(scrollPos_ + 1);
    upArrow_ = true;
    downArrow_ = scrollPos_ != scrollMax_;
}

void GridScroll::lineUp() {
    if (scrollPos_ <= 0)
        return;
    scrollTo(scrollPos_ - 1);
    downArrow_ = true;
    upArrow_ = scrollPos_ != 0;
}

void GridScroll::pageDown() {
    if (scrollPos_ >= scrollMax_)
        return;
    scrollTo(scrollMax_);
    upArrow_ = true;
    downArrow_ = false;
}

void GridScroll::pageUp() {
    if (scrollPos_ <= 0)
        return;
    scrollTo(0);
    upArrow_ = false;
    downArrow_ = true;
}

void GridScroll::onAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        lineDown();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        lineUp();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        pageDown();
        break;
    case QAbstractSlider::SliderPageStepSub:
        pageUp();
        break;
    default: // dragging the box, top, bottom: the grid stays where it is
        break;
    }
    scrollBar_->setSliderPosition(scrollPos_);
}

void GridScroll::wheelNotch(int delta) {
    if (delta > 0)
        lineUp();
    else if (delta < 0)
        lineDown();
}

void GridScroll::ensureVisible(QWidget* child) {
    const int top = child->y();
    const int bottom = top + child->height();
    const int shownTop = scrollPos_ * kRowHeight;
    const int shownBottom = shownTop + clientHeight_;
    int pos = scrollPos_;
    // Upwards the row above stays in sight too, so the first row comes with its header.
    if (top - kRowHeight < shownTop)
        pos = (top - kRowHeight) / kRowHeight;
    else if (bottom > shownBottom)
        pos = (bottom - clientHeight_ + kRowHeight - 1) / kRowHeight;
    pos = std::clamp(pos, 0, scrollMax_);
    if (pos == scrollPos_)
        return;
    scrollTo(pos);
    upArrow_ = pos > 0;
    downArrow_ = pos < scrollMax_;
}

} // namespace quelna
