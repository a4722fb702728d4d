#pragma once
// The exhaustive seating reached without its wasted work: the same first seating as
// seatTopTables, found by skipping every candidate after which no seating can be completed.
#include <vector>

#include "core/tournament.h"
#include "seating/seating_job.h"

namespace quelna {

// Same contract and same result as seatTopTables. A round proven to have no seating ends at once.
[[nodiscard]] bool seatTopTablesFast(Tournament& t, int round, const std::vector<int>& totals,
                                     std::vector<char>& seated, int tables, SeatingJob& job);

} // namespace quelna
