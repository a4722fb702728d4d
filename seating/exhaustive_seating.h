#pragma once
// Depth-first seating of the top tables: each table is headed by the best unseated player and
// completed with players who have met nobody at it, best totals first.
#include <vector>

#include "core/tournament.h"
#include "seating/seating_job.h"

namespace quelna {

// Fills tables 0..tables-1 of the round with four players each. Flags, notifications and the
// bottom tables that may repeat meetings (options.overlapTables) come from the job. seated holds one flag per player and is updated with the
// placements. On success every placement and the meetings they add stay; on failure the flags,
// the round's tables and the meeting matrix are exactly as on entry.
[[nodiscard]] bool seatTopTables(Tournament& t, int round, const std::vector<int>& totals,
                                 std::vector<char>& seated, int tables, SeatingJob& job);

} // namespace quelna
