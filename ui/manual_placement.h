#pragma once
// Placing players of the next round by hand: the latest round's seat cells are the list to pick
// from, the next round's seat cells the target. Placements go to the document; the cells show
// what is picked and what is placed.
#include <functional>

namespace quelna {

class GridCell;
class TournamentDocument;

class ManualPlacement {
  public:
    // seatCell(round, position) gives the grid's seat cells; doneFocus takes the focus after a
    // placement (the manual-placement button).
    ManualPlacement(TournamentDocument& doc, std::function<GridCell*(int, int)> seatCell,
                    std::function<void()> doneFocus);

    bool on() const { return on_; }
    int selectedUnplaced() const { return selectedUnplaced_; }
    int selectedPlaced() const { return selectedPlaced_; }

    void setOn(bool on);
    // Nothing picked any more (the record was shown anew).
    void reset();
    // A seat cell got the focus.
    void seatFocused(const GridCell& cell);

  private:
    void pickLatest(int p);
    void pickNext(int q);
    void enableFreeSeats();
    void disableNextRoundSeats();
    void updateSeatTone(int round, int position);
    GridCell* nextCellOf(int latestPosition) const;

    TournamentDocument& doc_;
    std::function<GridCell*(int, int)> seatCell_;
    std::function<void()> doneFocus_;
    bool on_ = false;
    int selectedUnplaced_ = -1;
    int selectedPlaced_ = -1;
};

} // namespace quelna
