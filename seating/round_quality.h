#pragma once
// Measures of a seated round, as the headless runner reports them.
#include "core/tournament.h"

namespace quelna {

// Pairs at one table of the round who had met before it (team-mates count as having met);
// -1 when the round is not completely seated.
int countRepeatPairs(const Tournament& t, int round);

// Display form of the seating factor of the round over the standings ranks of the totals before
// it; -1 when the round is not completely seated.
int roundDisplayFactor(const Tournament& t, int round);

} // namespace quelna
