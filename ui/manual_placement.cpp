#include "ui/manual_placement.h"

#include "ui/grid_cells.h"
#include "ui/tournament_document.h"

namespace quelna {

ManualPlacement::ManualPlacement(TournamentDocument& doc,
                                 std::function<GridCell*(int, int)> seatCell,
                                 std::function<void()> doneFocus)
    : doc_(doc), seatCell_(std::move(seatCell)), doneFocus_(std::move(doneFocus)) {}

void ManualPlacement::setOn(bool on) {
    on_ = on;
    const int old = selectedUnplaced_;
    selectedUnplaced_ = -1;
    if (old != -1)
        updateSeatTone(doc_.currentRound() - 1, old);
}

void ManualPlacement::reset() {
    selectedUnplaced_ = -1;
    selectedPlaced_ = -1;
}

void ManualPlacement::updateSeatTone(int round, int position) {
    const Tournament& t = doc_.tournament();
    GridCell* cell = seatCell_(round, position);
    const int c = t.currentRound;
    CellTone tone = CellTone::Normal;
    if (c > 0 && c < t.roundCount) {
        if (round == c - 1) {
            const int player = t.playerAt(c - 1, position / 4, position % 4);
            if (position == selectedUnplaced_)
                tone = CellTone::SelectedText;
            else if (player >= 0 && t.seatAt(c, player) != -1)
                tone = CellTone::PlacedText;
        } else if (round == c && selectedPlaced_ != -1) {
            const int player = t.playerAt(c, position / 4, position % 4);
            const int picked = t.playerAt(c - 1, selectedPlaced_ / 4, selectedPlaced_ % 4);
            if (player >= 0 && player == picked)
                tone = CellTone::SelectedText;
        }
    }
    cell->setTone(tone);
}

void ManualPlacement::enableFreeSeats() {
    const Tournament& t = doc_.tournament();
    const int c = t.currentRound;
    for (int tb = 0; tb < t.tableCount(); ++tb) {
        for (int s = 0; s < 4; ++s) {
            if (t.playerAt(c, tb, s) == -1) {
                seatCell_(c, 4 * tb + s)->setEnabled(true);
                break;
            }
        }
    }
}

void ManualPlacement::disableNextRoundSeats() {
    const int c = doc_.currentRound();
    for (int q = 0; q < doc_.tournament().playerCount; ++q)
        seatCell_(c, q)->setEnabled(false);
}

void ManualPlacement::seatFocused(const GridCell& cell) {
    if (!on_ || cell.kind() != GridCell::Kind::Seat)
        return;
    const int c = doc_.currentRound();
    if (c == 0 || c >= doc_.tournament().roundCount)
        return;
    if (cell.round() == c - 1)
        pickLatest(cell.position());
    else if (cell.round() == c)
        pickNext(cell.position());
}

GridCell* ManualPlacement::nextCellOf(int latestPosition) const {
    const Tournament& t = doc_.tournament();
    const int c = t.currentRound;
    const int who = t.playerAt(c - 1, latestPosition / 4, latestPosition % 4);
    if (who < 0 || t.seatAt(c, who) < 0)
        return nullptr;
    return seatCell_(c, 4 * t.tableAt(c, who) + t.seatAt(c, who));
}

void ManualPlacement::pickLatest(int p) {
    const Tournament& t = doc_.tournament();
    const int c = t.currentRound;
    const int player = t.playerAt(c - 1, p / 4, p % 4);
    if (player < 0)
        return;

    if (t.seatAt(c, player) == -1) {
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

void ManualPlacement::pickNext(int q) {
    const Tournament& t = doc_.tournament();
    const int c = t.currentRound;
    if (selectedUnplaced_ == -1 && selectedPlaced_ == -1)
        return;
    if (selectedUnplaced_ == -1) {
        // Take the picked player out of the next round; his own cell is the one emptied, even if
        // another cell of the round was left enabled.
        const int old = selectedPlaced_;
        const int player = t.playerAt(c - 1, old / 4, old % 4);
        selectedPlaced_ = -1;
        if (player >= 0 && t.seatAt(c, player) != -1) {
            const int own = 4 * t.tableAt(c, player) + t.seatAt(c, player);
            doc_.unplaceByHand(player);
            GridCell* cell = seatCell_(c, own);
            cell->showText(QString());
            cell->setEnabled(false);
            updateSeatTone(c, own);
        }
        seatCell_(c, q)->setEnabled(false);
        updateSeatTone(c, q);
        updateSeatTone(c - 1, old);
    } else {
        // A seat already taken is never given twice.
        if (t.playerAt(c, q / 4, q % 4) != -1)
            return;
        const int from = selectedUnplaced_;
        const int player = t.playerAt(c - 1, from / 4, from % 4);
        if (player < 0)
            return;
        doc_.placeByHand(player, q / 4, q % 4);
        seatCell_(c, q)->showText(seatCell_(c - 1, from)->text());
        selectedUnplaced_ = -1;
        updateSeatTone(c - 1, from);
        disableNextRoundSeats();
    }
    doneFocus_();
}

} // namespace quelna
