#pragma once
// The main window's vertical scrolling: the grid moves in rows of 20 pixels, as the scroll bar's
// arrows and pages, the wheel and the focus moving on ask; the box of the bar is no command.
class QScrollBar;
class QWidget;

namespace quelna {

class GridScroll {
  public:
    // scrollMax: the rows the grid can move (0 when it fits); clientHeight: what is in sight.
    GridScroll(QWidget* content, QScrollBar* bar, int scrollMax, int clientHeight);

    int pos() const { return scrollPos_; }
    bool upArrow() const { return upArrow_; }
    bool downArrow() const { return downArrow_; }

    void lineUp();
    void lineDown();
    void pageUp();
    void pageDown();
    void toTop();
    // A scroll bar action (QAbstractSlider::SliderAction).
    void onAction(int action);
    void wheelNotch(int delta);
    // Brings a child of the grid into sight, with the row above it when it is above.
    void ensureVisible(QWidget* child);

  private:
    void scrollTo(int pos);

    QWidget* content_;
    QScrollBar* scrollBar_;
    int scrollMax_;
    int clientHeight_;
    int scrollPos_ = 0;
    bool upArrow_ = false;
    bool downArrow_;
};

} // namespace quelna
