#pragma once
// Random-search seating: random exchanges of two players' tables, first to remove every new
// meeting, then to bring players of neighbouring standing together.
#include <vector>

#include "core/random.h"
#include "core/tournament.h"
#include "seating/seating_job.h"

namespace quelna {

struct RandomSearchStats {
    long long repairMoves = 0;  // moves made while removing new meetings
    long long improveMoves = 0; // moves made while lowering the seating factor
};

// Keeps every player who already has a table in the round and seats the others, drawing every
// move from `random`; flags and notifications come from the job. True when a seating without new meetings was reached (the result is then
// the best one found, tables renumbered by standing); false when stopped before that (the round
// then holds the last complete seating tried) or when the hand-placed players cannot be
// completed to full tables.
[[nodiscard]] bool seatByRandomSearch(Tournament& t, int round, const std::vector<int>& totals,
                                      Random& random, SeatingJob& job,
                                      RandomSearchStats* stats = nullptr);

} // namespace quelna
