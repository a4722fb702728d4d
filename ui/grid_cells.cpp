#include "ui/grid_cells.h"

#include <QApplication>
#include <QFocusEvent>

namespace quelna {

GridCell::GridCell(Kind kind, int round, int position, GridCellListener* listener, QWidget* parent)
    : QLineEdit(parent), kind_(kind), round_(round), position_(position), listener_(listener) {
    if (kind == Kind::Seat)
        setReadOnly(true);
    else
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
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
    if (listener_)
        listener_->cellFocusIn(*this, e->reason());
}

void GridCell::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (listener_)
        listener_->cellFocusOut(*this, e->reason());
}

} // namespace quelna
