#pragma once
// Depth-first seating of the top tables: each table is headed by the best unseated player and
// completed with players who have met nobody at it, best totals first.
#include <vector>

#include "core/tournament.h"

namespace quelna {

// Fills tables 0..tables-1 of the round with four players each. Flags and notifications come
// from t.seatingJob (may be null). seated holds one flag per player and is updated with the
// placements. On success every placement and the meetings they add stay; on failure the flags,
// the round's tables and the meeting matrix are exactly as on entry.
[[nodiscard]] bool seatTopTables(Tournament& t, int round, const std::vector<int>& totals,
                                 std::vector<char>& seated, int tables);

} // namespace quelna
