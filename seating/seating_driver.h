#pragma once
// Seats one round of the tournament: exhaustive search first, random search as the fallback.
#include "core/tournament.h"
#include "seating/seating_job.h"

namespace quelna {

// Seats round job.round with job.options (K fixed top tables, M overlap tables, the exhaustive
// method), drawing the random search's moves from *job.random. True when every table of the
// round has four players.
bool seatRound(Tournament& t, SeatingJob& job);

} // namespace quelna
