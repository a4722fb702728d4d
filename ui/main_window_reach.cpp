// The main window on a grid taller than the screen: the seat command and the past rounds within
// reach without scrolling, and the player list's column headings where its first row has room.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>

#include "ui/main_window.h"

namespace quelna {

void MainWindow::buildRoundMenu() {
    QMenu* menu = menuBar_->addMenu(QStringLiteral(u"&Тур"));
    menu->setObjectName(QStringLiteral("roundMenu"));
    QAction* seat = menu->addAction(QStringLiteral(u"Рассадить &игроков"));
    seat->setObjectName(QStringLiteral("seatCommand"));
    seat->setShortcut(QKeySequence(Qt::Key_F3));
    seat->setEnabled(false);
    // Through the button, so that the command is exactly the button's, enable rules and all.
    connect(seat, &QAction::triggered, this, [this] { seatButton_->click(); });
    actions_.insert(ids::kSeatCommand, seat);
    menu->addSeparator();
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int r = 0; r < rounds_; ++r) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QStringLiteral("showRound%1").arg(r + 1));
        a->setCheckable(true);
        a->setEnabled(false);
        group->addAction(a);
        // The focus stays where the organiser types; only the columns change.
        connect(a, &QAction::triggered, this, [this, r] { showRound(r + 1); });
        actions_.insert(ids::kShowRound + r, a);
    }
}

void MainWindow::updateRoundItems() {
    const int c = t_.currentRound;
    for (int r = 0; r < rounds_; ++r) {
        QAction* a = actions_.value(ids::kShowRound + r);
        a->setText(r == c - 1 ? QStringLiteral(u"Тур %1 (текущий)").arg(r + 1)
                              : QStringLiteral(u"Тур %1").arg(r + 1));
        a->setEnabled(r < c);
        a->setChecked(r + 1 == shownRound_);
    }
}

void MainWindow::buildSeatPointer() {
    seatPointer_ = new QPushButton(QStringLiteral(u"Рассадить игроков (F3)"), menuCorner_);
    seatPointer_->setObjectName(QStringLiteral("seatPointer"));
    seatPointer_->setAutoDefault(false);
    seatPointer_->setFocusPolicy(Qt::NoFocus); // typing stays in the cell
    seatPointer_->setToolTip(
        QStringLiteral(u"То же, что кнопка «Рассадить игроков» под списком игроков"));
    seatPointer_->setEnabled(false);
    // No taller than the menu bar, whose height the grid below was placed by.
    seatPointer_->setFixedHeight(menuBar_->height());
    connect(seatPointer_, &QPushButton::clicked, this, [this] { seatButton_->click(); });
    static_cast<QHBoxLayout*>(menuCorner_->layout())->insertWidget(0, seatPointer_);
    // Where the button itself is always in sight, the window stays as it was.
    seatPointer_->setVisible(geometry_.scrolls);
    seatButton_->installEventFilter(this);
    relayoutMenuCorner();
}

void MainWindow::syncSeatCommands() {
    if (!seatPointer_)
        return; // the button is still being built
    const bool on = seatButton_->isEnabled();
    actions_.value(ids::kSeatCommand)->setEnabled(on);
    seatPointer_->setEnabled(on);
}

void MainWindow::relayoutMenuCorner() {
    // The menu bar sizes its corner once; a part of it shown or hidden needs it done again.
    menuCorner_->layout()->invalidate();
    menuCorner_->adjustSize();
    QResizeEvent resize(menuBar_->size(), menuBar_->size());
    QApplication::sendEvent(menuBar_, &resize);
}

void MainWindow::placeListHeaders(int lw) {
    // The first row holds the numbering button over the number column, and in test mode the
    // name and team generators; a heading goes only where its whole word fits beside them.
    const int teamX = lw - lw / 4 + 20;
    const int generator = testMode_ ? 34 : 0;
    auto place = [](QLabel* label, int x, int width) {
        label->setGeometry(x, 0, std::max(0, width), kRowHeight);
        label->setVisible(label->fontMetrics().horizontalAdvance(label->text()) + 2 <= width);
    };
    place(nameHeader_, 20 + generator + 1, teamX - 20 - generator - 2);
    place(teamHeader_, teamX + generator + 1, lw + 20 - teamX - generator - 2);
}

} // namespace quelna
