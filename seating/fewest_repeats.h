#pragma once
// When no seating without repeat meetings exists: the seating with as few as possible.
#include <utility>
#include <vector>

#include "core/tournament.h"
#include "seating/seating_job.h"

namespace quelna {

struct RepeatPair {
    int a = 0, b = 0; // player indexes, a < b
    bool teamMates = false;
};

// Seats every player of the round who has no table yet (players with one keep it): team-mates
// apart whenever possible, then the fewest pairs who have met before, then the best seating
// factor. The meeting matrix is left as on entry. False, with the round as on entry, when the
// players placed by hand do not fit their tables or the job's stop flag was set.
[[nodiscard]] bool seatWithFewestRepeats(Tournament& t, int round, const std::vector<int>& totals,
                                         const SeatingJob* job = nullptr);

// Pairs at one table of the round who have met by the meeting matrix (team-mates count as having
// met), in ascending order. Ask before the matrix takes the round in.
std::vector<RepeatPair> repeatPairsOf(const Tournament& t, int round);

} // namespace quelna
