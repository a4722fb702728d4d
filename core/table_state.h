#pragma once
// What the points of a table in a seated round say: the one rule for red tables and for tables
// whose results are not typed yet, shared by the window, the question before seating and the load.
#include "core/tournament.h"

namespace quelna {

enum class TableState {
    Fine,      // four whole numbers summing to zero
    NotZero,   // four whole numbers that do not sum to zero
    NotNumber, // a cell holding text that is not a whole number
    Untyped,   // a cell not typed yet, and none holding text
};

TableState tableStateAt(const Tournament& t, int round, int table);

// Red in the grid: the organiser typed something wrong. A table still being typed is not.
inline bool isRedState(TableState s) {
    return s == TableState::NotZero || s == TableState::NotNumber;
}

// A round whose every cell is not typed yet, as it is right after its seating.
bool isRoundUntyped(const Tournament& t, int round);

// Files written before the record kept what was typed, and quelna-cli's seatings, leave the
// latest round's points at 0: such a round, with no typed state of its own, counts as not typed.
void adoptZeroRoundAsUntyped(Tournament& t);

} // namespace quelna
