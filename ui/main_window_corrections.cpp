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
#include "gui/qt_text.h"
#include "slides/slide_show.h"
#include "ui/correct_round_dialog.h"
#include "ui/main_window.h"
#include "ui/player_page_service.h"
#include "ui/print_menu.h"
#include "ui/rename_player_dialog.h"

namespace quelna {

bool MainWindow::confirmSeatOverErrors() {
    commitFocusedCell();
    const int latest = t_.currentRound - 1;
    const std::vector<TableTrouble> troubles = tableTroubles(t_, latest);
    return troubles.empty() ||
           askYesNo(troublesQuestion(latest, troubles,
                                     QStringLiteral(u"Рассадить следующий тур всё "
                                                    u"равно?")));
}

bool MainWindow::askYesNo(const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral(u"Предупреждение"), question,
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral(u"Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral(u"Нет"));
    box.setDefaultButton(QMessageBox::No);
    const bool yes = box.exec() == QMessageBox::Yes;
    activateWindow();
    return yes;
}

void MainWindow::buildCorrectionBanner() {
    // In the menu bar's free corner, so the grid keeps every row in sight; the seat button's twin
    // goes before it there.
    menuCorner_ = new QWidget(menuBar_);
    auto* corner = new QHBoxLayout(menuCorner_);
    corner->setContentsMargins(0, 0, 0, 0);
    corner->setSpacing(6);
    correctionBanner_ = new QWidget(menuCorner_);
    corner->addWidget(correctionBanner_);
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
    connect(done, &QPushButton::clicked, this, [this] { (void)finishCorrection(true); });
    row->addWidget(done);
    menuBar_->setCornerWidget(menuCorner_, Qt::TopRightCorner);
    correctionBanner_->hide();
    correctionBanner_->installEventFilter(this);
}

void MainWindow::updateCorrectionItems() {
    actions_.value(ids::kCorrectRoundCommand)->setEnabled(t_.currentRound >= 2);
    // Before the first seating the player list itself is where names are typed.
    actions_.value(ids::kRenamePlayerCommand)->setEnabled(t_.currentRound >= 1);
}

void MainWindow::renamePlayerCommand() {
    if (t_.currentRound >= 1)
        renamePlayer(this, *doc_, rowPlayer_);
    activateWindow();
}

void MainWindow::onNameChanged(int player) {
    for (int i = 0; i < n_; ++i)
        if (rowPlayer_[i] == player) {
            refreshing_ = true;
            nameEdits_[i]->setText(fromRecord(t_.names[player]));
            nameEdits_[i]->setCursorPosition(0);
            refreshing_ = false;
        }
    showTotalsFrom(0);
#if QUELNA_PLAYER_PAGE
    playerPage_->publish();
#endif
    if (slidesBeside_)
        slidesBeside_->recordChanged();
    printMenu_->update();
    typedSave_->stop();
    autosave(t_.currentRound);
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

bool MainWindow::finishCorrection(bool ask) {
    const int r = correctingRound_;
    if (r < 0)
        return true;
    commitFocusedCell();
    if (ask) {
        const std::vector<TableTrouble> troubles = tableTroubles(t_, r);
        if (!troubles.empty() &&
            !askYesNo(
                troublesQuestion(r, troubles, QStringLiteral(u"Закончить исправление всё равно?"))))
            return false;
    }
    correctingRound_ = -1;
    for (int q = 0; q < n_; ++q)
        pointsCells_[r * n_ + q]->setEnabled(false);
    for (int tb = 0; tb < n_ / 4; ++tb)
        applyTableTone(r, tb);
    correctionBanner_->hide();
    headers_[r]->setStyleSheet(QString());
    typedSave_->stop();
    autosave(t_.currentRound);
    // Back to the round being played, where the organiser goes on typing.
    showRound(t_.currentRound);
    if (t_.currentRound > 0)
        pointsCells_[(t_.currentRound - 1) * n_]->setFocus(Qt::OtherFocusReason);
    return true;
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

MainWindow::OtherSize MainWindow::askOtherSize(int players, int rounds) {
    QMessageBox box(QMessageBox::Question, QStringLiteral(u"Предупреждение"),
                    QStringLiteral(u"Файл рассчитан на %1, открытый турнир — на %2.\n"
                                   u"Открыть турнир из файла с его размером? Открытый турнир "
                                   u"закроется, как при выходе.\n«Нет» загрузит в открытый турнир "
                                   u"то, что в нём помещается.")
                        .arg(tournamentSizeText(players, rounds), tournamentSizeText(n_, rounds_)),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral(u"Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral(u"Нет"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral(u"Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    const int answer = box.exec();
    activateWindow();
    if (answer == QMessageBox::Yes)
        return OtherSize::Reopen;
    return answer == QMessageBox::No ? OtherSize::Load : OtherSize::Cancel;
}

void MainWindow::openTournamentFile(const QString& fileName) {
    (void)doc_->load([this, &fileName](Tournament& t) { return loadFromFile(this, t, fileName); });
}

} // namespace quelna
