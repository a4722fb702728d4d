#include "ui/grid_cells.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quelna {

GridCell::GridCell(Kind kind, int round, int position, GridCellListener* listener, QWidget* parent)
    : QLineEdit(parent), kind_(kind), round_(round), position_(position), listener_(listener) {
    if (kind == Kind::Seat) {
        setReadOnly(true);
        // Reached by a click (manual placement), never by Tab: Tab goes from points to points.
        setFocusPolicy(Qt::ClickFocus);
    } else {
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    setEnabled(false);
}

void GridCell::setTone(CellTone tone) {
    if (tone == tone_)
        return;
    tone_ = tone;
    if (tone == CellTone::Normal) {
        setPalette(QPalette());
        return;
    }
    const QPalette app = QApplication::palette(this);
    QPalette pal = app;
    const QColor text = tone == CellTone::PlacedText ? app.color(QPalette::Disabled, QPalette::Text)
                                                     : QColor(Qt::red);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Text, text);
        if (tone != CellTone::ErrorText)
            pal.setColor(group, QPalette::Base, app.color(QPalette::Active, QPalette::Button));
    }
    setPalette(pal);
}

void GridCell::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // The press that follows would put the cursor where it landed, and typing "32000" into
    // "32000" would make "32320000" of it.
    selectOnPress_ = kind_ == Kind::Points && e->reason() == Qt::MouseFocusReason;
    if (listener_)
        listener_->cellFocusIn(*this, e->reason());
}

void GridCell::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (listener_)
        listener_->cellFocusOut(*this, e->reason());
}

void GridCell::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    heldSelected_ = selectOnPress_ && e->button() == Qt::LeftButton;
    pressPos_ = e->position().toPoint();
    if (selectOnPress_)
        selectAll();
    selectOnPress_ = false;
}

void GridCell::mouseMoveEvent(QMouseEvent* e) {
    // A hand that trembles while clicking must not turn the selection into a part of the text.
    if (heldSelected_ && (e->buttons() & Qt::LeftButton) &&
        (e->position().toPoint() - pressPos_).manhattanLength() < QApplication::startDragDistance())
        return;
    heldSelected_ = false;
    QLineEdit::mouseMoveEvent(e);
}

void GridCell::showText(const QString& text) {
    // setText leaves the cursor at the end and scrolls there: a long seat text would show its
    // end and hide the start number.
    setText(text);
    setCursorPosition(0);
    updateCutTip();
}

bool GridCell::textCut() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    // The edit keeps one pixel free on either side of its text.
    const int room = contents.width() - margins.left() - margins.right() - 2;
    return fontMetrics().horizontalAdvance(text()) > room;
}

void GridCell::updateCutTip() {
    if (kind_ != Kind::Seat)
        return;
    setToolTip(textCut() ? text() : QString());
}

void GridCell::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    // Widening a round changes what fits; the start of the text stays in sight.
    if (kind_ == Kind::Seat && !hasFocus())
        setCursorPosition(0);
    updateCutTip();
}

void GridCell::keyPressEvent(QKeyEvent* e) {
    // The keypad's Enter and arrows come with the keypad modifier; they count the same.
    const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (kind_ == Kind::Points && listener_ && plain) {
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            listener_->cellStep(*this, +1);
            e->accept();
            return;
        case Qt::Key_Up:
            listener_->cellStep(*this, -1);
            e->accept();
            return;
        default:
            break;
        }
    }
    QLineEdit::keyPressEvent(e);
}

} // namespace quelna
