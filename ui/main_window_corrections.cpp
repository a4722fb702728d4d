// The main window beyond the plain round-by-round work: the question before seating over wrong
// results, correcting a past round, and keeping the autosave and the slides up with typing.
#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "files/file_commands.h"
#include "slides/slide_show.h"
#include "ui/correct_round_dialog.h"
#include "ui/main_window.h"
#include "ui/player_page_service.h"

namespace quelna {

bool MainWindow::confirmSeatOverErrors() {
    const int latest = t_.currentRound - 1;
    std::vector<TableTrouble> troubles;
    for (int tb = 0; tb < n_ / 4; ++tb) {
        const TableState state = tableStateAt(latest, tb);
        if (state != TableState::Fine)
            troubles.push_back({tb, state});
    }
    if (troubles.empty())
        return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral(u"Предупреждение"),
                    seatOverErrorsQuestion(latest, troubles), QMessageBox::Yes | QMessageBox::No,
                    this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral(u"Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral(u"Нет"));
    box.setDefaultButton(QMessageBox::No);
    const bool yes = box.exec() == QMessageBox::Yes;
    activateWindow();
    return yes;
}

void MainWindow::buildCorrectionBanner() {
    // In the menu bar's free corner, so the grid keeps every row in sight.
    correctionBanner_ = new QWidget(menuBar_);
    correctionBanner_->setAutoFillBackground(true);
    QPalette pal = correctionBanner_->palette();
    pal.setColor(QPalette::Window, QColor(255, 224, 138));
    correctionBanner_->setPalette(pal);
    auto* row = new QHBoxLayout(correctionBanner_);
    row->setContentsMargins(8, 0, 2, 0);
    correctionText_ = new QLabel(correctionBanner_);
    row->addWidget(correctionText_);
    auto* done = new QPushButton(QStringLiteral(u"Готово"), correctionBanner_);
    done->setAutoDefault(false);
    connect(done, &QPushButton::clicked, this, [this] { finishCorrection(); });
    row->addWidget(done);
    menuBar_->setCornerWidget(correctionBanner_, Qt::TopRightCorner);
    correctionBanner_->hide();
}

void MainWindow::updateCorrectionItems() {
    actions_.value(ids::kCorrectRoundCommand)->setEnabled(t_.currentRound >= 2);
}

void MainWindow::chooseRoundToCorrect(int suggested) {
    const int c = t_.currentRound;
    if (c < 2)
        return;
    if (suggested < 0 || suggested >= c - 1)
        suggested = shownRound_ >= 1 && shownRound_ < c ? shownRound_ - 1 : c - 2;
    CorrectRoundDialog dialog(c - 1, suggested + 1, this);
    if (dialog.exec() == QDialog::Accepted)
        startCorrection(dialog.round());
    activateWindow();
}

bool MainWindow::pointsCellMenu(QContextMenuEvent* e) {
    auto* cell =
        dynamic_cast<GridCell*>(content_->childAt(content_->mapFromGlobal(e->globalPos())));
    if (!cell || cell->kind() != GridCell::Kind::Points || cell->round() >= t_.currentRound - 1 ||
        cell->round() + 1 != shownRound_)
        return false;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const int r = cell->round();
    // The dialog opens once the menu is gone, so the window is the active one again after it.
    connect(
        menu->addAction(QStringLiteral(u"Исправить результаты тура...")), &QAction::triggered, this,
        [this, r] { chooseRoundToCorrect(r); }, Qt::QueuedConnection);
    menu->popup(e->globalPos());
    return true;
}

void MainWindow::startCorrection(int round) {
    if (round < 0 || round >= t_.currentRound - 1)
        return;
    finishCorrection();
    correctingRound_ = round;
    showRound(round + 1);
    for (int q = 0; q < n_; ++q)
        pointsCells_[round * n_ + q]->setEnabled(true);
    correctionText_->setText(
        QStringLiteral(u"Исправление результатов тура %1. Рассадки следующих туров не меняются.")
            .arg(round + 1));
    correctionBanner_->show();
    if (!testMode_)
        headers_[round]->setStyleSheet(
            QStringLiteral(u"background: rgb(255, 224, 138); font-weight: bold;"));
    pointsCells_[round * n_]->setFocus(Qt::OtherFocusReason);
}

void MainWindow::finishCorrection() {
    const int r = correctingRound_;
    if (r < 0)
        return;
    readRoundPointsFromGrid(r);
    correctingRound_ = -1;
    for (int q = 0; q < n_; ++q)
        pointsCells_[r * n_ + q]->setEnabled(false);
    for (int tb = 0; tb < n_ / 4; ++tb)
        applyTableTone(r, tb);
    correctionBanner_->hide();
    headers_[r]->setStyleSheet(QString());
    pointsStored(r);
    typedSave_->stop();
    autosave(t_.currentRound);
    if (t_.currentRound > 0)
        pointsCells_[(t_.currentRound - 1) * n_]->setFocus(Qt::OtherFocusReason);
}

void MainWindow::pointsStored(int round) {
    if (round < t_.currentRound - 1)
        showTotalsFrom(round + 1);
#if QUELNA_PLAYER_PAGE
    playerPage_->publish();
#endif
    if (slidesBeside_)
        slidesBeside_->recordChanged();
    if (!typedSave_->isActive())
        typedSave_->start();
}

void MainWindow::showTotalsFrom(int round) {
    for (int j = round; j < t_.currentRound; ++j)
        for (int p = 0; p < n_; ++p) {
            const int tb = t_.tableAt(j, p);
            const int s = t_.seatAt(j, p);
            if (tb >= 0 && s >= 0)
                seatCells_[j * n_ + 4 * tb + s]->showText(seatText(p, j));
        }
}

void MainWindow::closeSlides() {
    if (slidesBeside_)
        slidesBeside_->close();
}

void MainWindow::openTournamentFile(const QString& fileName) {
    if (loadFromFile(this, t_, fileName))
        refreshFromTournament();
}

} // namespace quelna
