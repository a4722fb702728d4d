// Placing players of the next round by hand: the latest round's seat cells are the list to pick
// from, the next round's seat cells the target.
#include <QPushButton>

#include "ui/main_window.h"

namespace quelna {

void MainWindow::toggleManualMode(bool on) {
    manualMode_ = on;
    seatButton_->setEnabled(numbersComplete() && t_.currentRound < rounds_ && !on);
    const int old = selectedUnplaced_;
    selectedUnplaced_ = -1;
    if (old != -1)
        updateSeatTone(t_.currentRound - 1, old);
}

void MainWindow::resetPlacement() {
    selectedUnplaced_ = -1;
    selectedPlaced_ = -1;
}

void MainWindow::updateSeatTone(int round, int position) {
    GridCell* cell = seatCells_[round * n_ + position];
    const int c = t_.currentRound;
    CellTone tone = CellTone::Normal;
    if (c > 0 && c < rounds_) {
        if (round == c - 1) {
            const int player = t_.playerAt(c - 1, position / 4, position % 4);
            if (position == selectedUnplaced_)
                tone = CellTone::SelectedText;
            else if (player >= 0 && t_.seatAt(c, player) != -1)
                tone = CellTone::PlacedText;
        } else if (round == c && selectedPlaced_ != -1) {
            const int player = t_.playerAt(c, position / 4, position % 4);
            const int picked = t_.playerAt(c - 1, selectedPlaced_ / 4, selectedPlaced_ % 4);
            if (player >= 0 && player == picked)
                tone = CellTone::SelectedText;
        }
    }
    cell->setTone(tone);
}

void MainWindow::enableFreeSeats() {
    const int c = t_.currentRound;
    for (int tb = 0; tb < n_ / 4; ++tb) {
        for (int s = 0; s < 4; ++s) {
            if (t_.playerAt(c, tb, s) == -1) {
                seatCells_[c * n_ + 4 * tb + s]->setEnabled(true);
                break;
            }
        }
    }
}

void MainWindow::disableNextRoundSeats() {
    const int c = t_.currentRound;
    for (int q = 0; q < n_; ++q)
        seatCells_[c * n_ + q]->setEnabled(false);
}

void MainWindow::cellFocusIn(GridCell& cell, Qt::FocusReason) {
    if (refreshing_ || !manualMode_ || cell.kind() != GridCell::Kind::Seat)
        return;
    const int c = t_.currentRound;
    if (c == 0 || c >= rounds_)
        return;
    if (cell.round() == c - 1)
        pickLatest(cell.position());
    else if (cell.round() == c)
        pickNext(cell.position());
}

void MainWindow::pickLatest(int p) {
    const int c = t_.currentRound;
    const int player = t_.playerAt(c - 1, p / 4, p % 4);
    if (player < 0)
        return;
    auto nextCellOf = [&](int latestPosition) -> GridCell* {
        const int who = t_.playerAt(c - 1, latestPosition / 4, latestPosition % 4);
        if (who < 0 || t_.seatAt(c, who) < 0)
            return nullptr;
        return seatCells_[c * n_ + 4 * t_.tableAt(c, who) + t_.seatAt(c, who)];
    };

    if (t_.seatAt(c, player) == -1) {
        if (p != selectedUnplaced_) {
            const int old = selectedUnplaced_;
            if (old == -1)
                enableFreeSeats();
            selectedUnplaced_ = p;
            if (old != -1)
                updateSeatTone(c - 1, old);
            updateSeatTone(c - 1, p);
        }
        if (selectedPlaced_ != -1) {
            GridCell* target = nextCellOf(selectedPlaced_);
            selectedPlaced_ = -1;
            if (target) {
                target->setEnabled(false);
                updateSeatTone(c, target->position());
            }
        }
        return;
    }

    if (selectedUnplaced_ != -1) {
        const int old = selectedUnplaced_;
        selectedUnplaced_ = -1;
        updateSeatTone(c - 1, old);
        disableNextRoundSeats();
    }
    if (p == selectedPlaced_)
        return;
    if (selectedPlaced_ != -1) {
        GridCell* old = nextCellOf(selectedPlaced_);
        selectedPlaced_ = -1;
        if (old) {
            old->setEnabled(false);
            updateSeatTone(c, old->position());
        }
    }
    selectedPlaced_ = p;
    if (GridCell* target = nextCellOf(p)) {
        target->setEnabled(true);
        updateSeatTone(c, target->position());
    }
}

void MainWindow::pickNext(int q) {
    const int c = t_.currentRound;
    if (selectedUnplaced_ == -1 && selectedPlaced_ == -1)
        return;
    if (selectedUnplaced_ == -1) {
        // Take the picked player out of the next round; his own cell is the one emptied, even if
        // another cell of the round was left enabled.
        const int old = selectedPlaced_;
        const int player = t_.playerAt(c - 1, old / 4, old % 4);
        selectedPlaced_ = -1;
        if (player >= 0 && t_.seatAt(c, player) != -1) {
            const int own = 4 * t_.tableAt(c, player) + t_.seatAt(c, player);
            doc_->unplaceByHand(player);
            GridCell* cell = seatCells_[c * n_ + own];
            cell->showText(QString());
            cell->setEnabled(false);
            updateSeatTone(c, own);
        }
        seatCells_[c * n_ + q]->setEnabled(false);
        updateSeatTone(c, q);
        updateSeatTone(c - 1, old);
    } else {
        // A seat already taken is never given twice.
        if (t_.playerAt(c, q / 4, q % 4) != -1)
            return;
        const int from = selectedUnplaced_;
        const int player = t_.playerAt(c - 1, from / 4, from % 4);
        if (player < 0)
            return;
        doc_->placeByHand(player, q / 4, q % 4);
        seatCells_[c * n_ + q]->showText(seatCells_[(c - 1) * n_ + from]->text());
        selectedUnplaced_ = -1;
        updateSeatTone(c - 1, from);
        disableNextRoundSeats();
    }
    manualButton_->setFocus(Qt::OtherFocusReason);
}

} // namespace quelna
