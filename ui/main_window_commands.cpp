// The main window's behaviour: showing the record, the enable rules, result entry and commands.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <climits>

#include "core/settings.h"
#include "core/table_state.h"
#include "core/text.h"
#include "files/file_commands.h"
#include "files/tournament_csv.h"
#include "gui/core_path.h"
#include "gui/qt_text.h"
#include "seating/ui/progress_dialog.h"
#include "slides/slide_show.h"
#include "ui/grid_scroll.h"
#include "ui/main_window.h"
#include "ui/manual_placement.h"
#include "ui/player_page_service.h"
#include "ui/print_menu.h"
#include "ui/resume_offer.h"
#include "ui/round_clock_service.h"
#include "ui/seating_failure.h"
#include "ui/settings_dialog.h"

namespace quelna {

namespace {

// A typed start number, read as an unsigned number; empty or unreadable is 0.
long long readNumber(const QString& text) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok);
    return ok && v > 0 ? v : 0;
}

} // namespace

QString MainWindow::seatText(int player, int round) const {
    const int n = t_.playerNumber[player] + 1;
    QString text = QString::number(n) + QLatin1Char(' ') + fromRecord(t_.names[player]);
    if (t_.team[player] > 0)
        text += QLatin1Char('/') + fromRecord(t_.teams.name(t_.team[player]));
    if (round > 0)
        // "*" marks a total that holds a penalty, as the standings mark it.
        text += QStringLiteral(u" (%1)").arg(
            QString::fromStdString(standingsTotalText(t_, player, round)));
    if (const Substitute* s = t_.adjustments.substitute(round, player))
        text += QLatin1Char(' ') + QString::fromStdString(substituteNote(*s));
    return text;
}

QString MainWindow::pointsText(int round, int player) const {
    switch (t_.entryAt(round, player)) {
    case PointsEntry::Untyped:
        return QString();
    case PointsEntry::Text:
        return fromRecord(t_.typedTextAt(round, player));
    case PointsEntry::Number:
        break;
    }
    return QString::number(t_.pointsAt(round, player));
}

bool MainWindow::cellSays(const QString& text, int round, int player) const {
    const std::string typed = toRecord(text);
    switch (t_.entryAt(round, player)) {
    case PointsEntry::Untyped:
        return typed.empty();
    case PointsEntry::Text:
        return typed == t_.typedTextAt(round, player);
    case PointsEntry::Number:
        break;
    }
    return isWholeNumberText(typed) && parseLeadingInt(typed) == t_.pointsAt(round, player);
}

void MainWindow::refreshFromTournament() {
    doc_->reload();
}

void MainWindow::showRecord() {
    refreshing_ = true;
    content_->setUpdatesEnabled(false);
    const int c = t_.currentRound;
    const bool ordered = t_.hasCompleteNumbering();
    const int tables = n_ / 4;

    // Placement belongs to the round that was next before; nothing of it survives a refresh, nor
    // does a correction of a round.
    placement_->reset();
    if (correctingRound_ >= 0)
        headers_[correctingRound_]->setStyleSheet(QString());
    correctingRound_ = -1;
    correctionBanner_->hide();
    if (placement_->on() && (c == 0 || c >= rounds_)) {
        placement_->setOn(false);
        const QSignalBlocker block(manualButton_);
        manualButton_->setChecked(false);
    }

    rowPlayer_.assign(n_, 0);
    for (int i = 0; i < n_; ++i)
        rowPlayer_[i] = i;
    if (ordered)
        for (int p = 0; p < n_; ++p)
            rowPlayer_[t_.playerNumber[p]] = p;

    bool allNamesEmpty = true;
    bool allNamesFilled = true;
    for (int i = 0; i < n_; ++i) {
        const int p = rowPlayer_[i];
        // Set by the program, so shown from the beginning like the seat cells.
        nameEdits_[i]->setText(fromRecord(t_.names[p]));
        nameEdits_[i]->setCursorPosition(0);
        teamEdits_[i]->setText(fromRecord(t_.teams.name(t_.team[p])));
        teamEdits_[i]->setCursorPosition(0);
        const int number = t_.playerNumber[p];
        numberEdits_[i]->setText(number < 0 ? QString() : QString::number(number + 1));
        (t_.names[p].empty() ? allNamesFilled : allNamesEmpty) = false;
        nameEdits_[i]->setEnabled(c == 0);
        teamEdits_[i]->setEnabled(c == 0);
        numberEdits_[i]->setEnabled(c == 0);
    }
    if (namesButton_)
        namesButton_->setEnabled(allNamesEmpty);
    for (int r = 0; r < rounds_; ++r)
        if (testMode_)
            headers_[r]->setEnabled(c > 0 && r == c - 1);
    numberButton_->setEnabled(c == 0 && allNamesFilled);
    if (teamsButton_)
        teamsButton_->setEnabled(c == 0 && allNamesFilled);

    for (int j = 0; j < rounds_; ++j) {
        for (int q = 0; q < n_; ++q) {
            GridCell* seat = seatCells_[j * n_ + q];
            GridCell* pts = pointsCells_[j * n_ + q];
            seat->setTone(CellTone::Normal);
            pts->setTone(CellTone::Normal);
            if (j >= c) {
                seat->showText(QString());
                pts->clear();
            }
            seat->setEnabled(j == c - 1);
            pts->setEnabled(j == c - 1);
        }
        if (j >= c)
            continue;
        for (int p = 0; p < n_; ++p) {
            const int tb = t_.tableAt(j, p);
            const int s = t_.seatAt(j, p);
            if (tb < 0 || s < 0)
                continue;
            const int q = 4 * tb + s;
            seatCells_[j * n_ + q]->showText(seatText(p, j));
            pointsCells_[j * n_ + q]->setText(pointsText(j, p));
        }
    }
    // A table is red exactly when its cells say so, in every seated round, also after a load.
    for (int tb = 0; tb < tables; ++tb)
        tableError_[tb] = c > 0 && computeTableError(c - 1, tb);
    for (int j = 0; j < c; ++j)
        for (int tb = 0; tb < tables; ++tb)
            applyTableTone(j, tb);

    updateSlideItems();
    updateCorrectionItems();
    updateRoundItems();
    for (int r = 0; r < rounds_; ++r)
        roundButtons_[r]->setEnabled(r < c - 1);
    showRound(c);

    // The states the enable rules leave after a refresh.
    if (c == 0) {
        numberRule();
        manualButton_->setEnabled(false);
    } else if (c < rounds_) {
        pointsRule();
    } else {
        seatButton_->setEnabled(false);
        manualButton_->setEnabled(false);
    }

    if (c > 0)
        pointsCells_[(c - 1) * n_]->setFocus(Qt::OtherFocusReason);
    else if (ordered)
        seatButton_->setFocus(Qt::OtherFocusReason);
    else
        numberEdits_[0]->setFocus(Qt::OtherFocusReason);
    content_->setUpdatesEnabled(true);
    refreshing_ = false;
    clock_->update();
#if QUELNA_PLAYER_PAGE
    playerPage_->publish();
#endif
    if (slidesBeside_)
        slidesBeside_->recordChanged();
}

void MainWindow::registrationEdited(int row) {
    if (rowPlayer_.empty())
        for (int i = 0; i < n_; ++i)
            rowPlayer_.push_back(i);
    const long long number = readNumber(numberEdits_[row]->text());
    doc_->registerPlayer(rowPlayer_[row], nameEdits_[row]->text(), teamEdits_[row]->text(),
                         static_cast<int>(std::min<long long>(number, INT_MAX)));
}

void MainWindow::commitFocusedCell() {
    auto* cell = dynamic_cast<GridCell*>(QApplication::focusWidget());
    if (!cell || cell->kind() != GridCell::Kind::Points)
        return;
    const int r = cell->round();
    if (r != t_.currentRound - 1 && r != correctingRound_)
        return;
    const int q = cell->position();
    const int p = t_.playerAt(r, q / 4, q % 4);
    if (p >= 0 && !cellSays(cell->text(), r, p))
        doc_->typePoints(r, q, cell->text());
}

// Enable rules ---------------------------------------------------------------------------------

void MainWindow::nameRule() {
    bool allFilled = true;
    bool allEmpty = true;
    for (QLineEdit* e : nameEdits_)
        (e->text().isEmpty() ? allFilled : allEmpty) = false;
    numberButton_->setEnabled(allFilled);
    if (namesButton_)
        namesButton_->setEnabled(allEmpty);
}

bool MainWindow::numbersComplete() const {
    std::vector<bool> seen(n_ + 1, false);
    for (QLineEdit* e : numberEdits_) {
        const long long v = readNumber(e->text());
        if (v >= 1 && v <= n_)
            seen[v] = true;
    }
    for (int v = 1; v <= n_; ++v)
        if (!seen[v])
            return false;
    return true;
}

void MainWindow::numberRule() {
    seatButton_->setEnabled(numbersComplete() && t_.currentRound < rounds_);
}

bool MainWindow::latestPointsFilled() const {
    const int c = t_.currentRound;
    if (c < 1)
        return false;
    for (int q = 0; q < n_; ++q)
        if (pointsCells_[(c - 1) * n_ + q]->text().isEmpty())
            return false;
    return true;
}

void MainWindow::pointsRule() {
    const bool filled = latestPointsFilled();
    const bool open = t_.currentRound < rounds_;
    seatButton_->setEnabled(filled && !placement_->on() && open);
    manualButton_->setEnabled(filled && open);
}

bool MainWindow::computeTableError(int round, int table) const {
    return isRedState(tableStateAt(t_, round, table));
}

void MainWindow::applyTableTone(int round, int table) {
    // The latest round keeps its marks in tableError_; earlier rounds are judged by their cells.
    const bool red =
        round == t_.currentRound - 1 ? tableError_[table] : computeTableError(round, table);
    for (int s = 0; s < 4; ++s)
        pointsCells_[round * n_ + 4 * table + s]->setTone(red ? CellTone::ErrorText
                                                              : CellTone::Normal);
    // A points column folded to nothing (many rounds on a narrow screen) hides the mark: the
    // table's seat cells carry it instead, unless placement marks them.
    const bool folded = columns_[round].pointsWidth == 0;
    for (int s = 0; s < 4; ++s) {
        GridCell* seat = seatCells_[round * n_ + 4 * table + s];
        if (seat->tone() == CellTone::Normal || seat->tone() == CellTone::ErrorText)
            seat->setTone(red && folded ? CellTone::ErrorText : CellTone::Normal);
    }
}

void MainWindow::cellStep(GridCell& cell, int step) {
    if (cell.kind() != GridCell::Kind::Points)
        return;
    const int r = cell.round();
    const int q = cell.position() + step;
    if ((r != t_.currentRound - 1 && r != correctingRound_) || q < 0 || q >= n_)
        return;
    GridCell* next = pointsCells_[r * n_ + q];
    if (next->isEnabled())
        next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void MainWindow::updateSlideItems() {
    const int c = t_.currentRound;
    actions_.value(ids::kSlideSeating)->setEnabled(c >= 1);
    actions_.value(ids::kSlideRoundResults)->setEnabled(c >= 1);
    actions_.value(ids::kSlideTeamStandings)->setEnabled(c >= 1);
    actions_.value(ids::kSlideResultsAndSeating)->setEnabled(c >= 2);
    actions_.value(ids::kSlidePreviousRoundResults)->setEnabled(c >= 2);
    actions_.value(ids::kSlideStandings)->setEnabled(c == rounds_);
    printMenu_->update();
}

// Result entry ---------------------------------------------------------------------------------

void MainWindow::cellFocusOut(GridCell& cell, Qt::FocusReason) {
    if (refreshing_ || cell.kind() != GridCell::Kind::Points)
        return;
    const int r = cell.round();
    if (r != t_.currentRound - 1 && r != correctingRound_)
        return;
    doc_->typePoints(r, cell.position(), cell.text());
}

void MainWindow::showTable(int round, int table) {
    for (int s = 0; s < 4; ++s) {
        const int p = t_.playerAt(round, table, s);
        GridCell* cell = pointsCells_[round * n_ + 4 * table + s];
        // A cell left as typed keeps its text ("+5" stays so); only another value is shown anew.
        if (p >= 0 && !cellSays(cell->text(), round, p))
            cell->setText(pointsText(round, p));
    }
    if (round == t_.currentRound - 1)
        tableError_[table] = computeTableError(round, table);
    applyTableTone(round, table);
}

void MainWindow::onPointsChanged(int round, int table) {
    for (int tb = 0; tb < n_ / 4; ++tb)
        if (table < 0 || tb == table)
            showTable(round, tb);
    // Seat cells carry the totals before their round and the substitutes of their own.
    showTotalsFrom(round);
#if QUELNA_PLAYER_PAGE
    playerPage_->publish();
#endif
    if (slidesBeside_)
        slidesBeside_->recordChanged();
    printMenu_->update();
    if (!typedSave_->isActive())
        typedSave_->start();
}

void MainWindow::onPlayersChanged() {
    // The registration is shown as it is typed; only what depends on it follows.
    printMenu_->update();
}

// Commands -------------------------------------------------------------------------------------

void MainWindow::autosave(int k) {
    (void)autosaveRound(t_, k, corePath(appDir_), settings().autosave);
}

void MainWindow::seatCommand() {
    const int c = t_.currentRound;
    if (c >= rounds_)
        return;
    if (c > 0 && !confirmSeatOverErrors())
        return;
    finishCorrection();
    commitFocusedCell();
    autosave(c);

    // The seating runs on a copy, which replaces the record only when a round was seated: a
    // failed or cancelled search leaves nothing behind to undo.
    Tournament seated = t_;
    SeatingOutcome outcome = runSeating(seated, SeatingRun::NextRound);
    if (outcome.result == SeatingResult::Failed &&
        offerSeatingWithRepeats(this, outcome.noSeatingExists)) {
        outcome = runSeating(seated, SeatingRun::FewestRepeats);
        if (outcome.seated())
            showRepeatPairs(this, seated, outcome.repeats);
    }
    // Back from the failure message and the repeat pairs as well.
    activateWindow();
    if (!outcome.seated())
        return;
    doc_->commitSeating(seated);
    // The new round is read from its first table, wherever the view was before and whether or
    // not the focus reached the grid while the window was inactive.
    scroll_->toTop();
    autosave(c + 1);
}

SeatingOutcome MainWindow::runSeating(Tournament& copy, SeatingRun run) {
    typedSave_->stop();
    if (slidesBeside_)
        slidesBeside_->setPaused(true);
    ProgressDialog dialog(copy, run, this);
    dialog.exec();
    if (slidesBeside_)
        slidesBeside_->setPaused(false);
    // Back to the window the organiser works in, whatever the platform chose after the dialog.
    activateWindow();
    return dialog.outcome();
}

void MainWindow::numberPlayersInOrder() {
    refreshing_ = true;
    for (int i = 0; i < n_; ++i)
        numberEdits_[i]->setText(QString::number(i + 1));
    refreshing_ = false;
    for (int i = 0; i < n_; ++i)
        registrationEdited(i);
    numberRule();
}

void MainWindow::roundButton(int r) {
    showRound(r + 1);
    if (t_.currentRound > 0)
        pointsCells_[(t_.currentRound - 1) * n_]->setFocus(Qt::OtherFocusReason);
}

void MainWindow::loadFile() {
    const QString fileName = askOpenFileName(this);
    if (fileName.isEmpty())
        return;
    // A file of another size fits this window only cut down; opened with its own size, as the
    // start of the program opens it, nothing of it is lost.
    int players = 0, rounds = 0;
    if (tournamentFileSize(fileName, players, rounds) && (players != n_ || rounds != rounds_)) {
        switch (askOtherSize(players, rounds)) {
        case OtherSize::Reopen:
            reopenFile_ = fileName;
            close();
            return;
        case OtherSize::Cancel:
            return;
        case OtherSize::Load:
            break;
        }
    }
    openTournamentFile(fileName);
}

void MainWindow::saveFile() {
    commitFocusedCell();
    saveCommand(this, t_);
}

void MainWindow::openSettings() {
    SettingsDialog dialog(t_.tableCount(), this);
    // Written at once: after a crash the next start knows the title and options set today.
    if (dialog.exec() == QDialog::Accepted)
        (void)saveSettings(settings());
    activateWindow();
}

void MainWindow::openSlides(int kind) {
    closeSlides();
    slidesBeside_ =
        showSlideShowBeside(this, t_, static_cast<SlideKind>(kind), clock_->slideClock());
    actions_.value(ids::kCloseSlidesCommand)->setEnabled(slidesBeside_ != nullptr);
    if (slidesBeside_) {
        // Greyed when this show ends, not when it is deleted: a show closed for another kind is
        // deleted only after the new one is up, and must not grey the item of the new one.
        SlideShow* show = slidesBeside_;
        connect(show, &QDialog::finished, this, [this, show] {
            if (slidesBeside_ == show)
                actions_.value(ids::kCloseSlidesCommand)->setEnabled(false);
        });
        // The organiser goes on typing here while the players look at the other screen.
        activateWindow();
    }
}

} // namespace quelna
