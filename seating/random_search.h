#pragma once
// Random-search seating: random exchanges of two players' tables, first to remove every new
// meeting, then to bring players of neighbouring standing together.
#include <vector>

#include "core/tournament.h"

namespace quelna {

// Position of every player when all are ordered by totals, highest first, equal totals by smaller
// start number, in the order the exchange sort leaves; position 0 is the highest total.
std::vector<int> rankByTotals(const Tournament& t, const std::vector<int>& totals);

// How a move is judged. Both give exactly the same values; Full recomputes the whole seating and
// is kept as the reference for tests and benchmarks.
enum class Recompute { Incremental, Full };

struct RandomSearchStats {
    long long repairMoves = 0;  // moves made while removing new meetings
    long long improveMoves = 0; // moves made while lowering the seating factor
};

// Keeps every player who already has a table in the round and seats the others. True when a
// seating without new meetings was reached (the result is then the best one found, tables
// renumbered by standing); false when stopped before that (the round then holds the last
// complete seating tried) or when the hand-placed players cannot be completed to full tables.
[[nodiscard]] bool seatByRandomSearch(Tournament& t, int round, const std::vector<int>& totals,
                                      Recompute mode = Recompute::Incremental,
                                      RandomSearchStats* stats = nullptr);

} // namespace quelna
