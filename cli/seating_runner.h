#pragma once
// The headless side of a seating: counts variants and time per phase and moves the engine on when
// a limit is reached, as the progress dialog does in the program.
#include <chrono>

#include "core/tournament.h"
#include "seating/fewest_repeats.h"
#include "seating/seating_job.h"

namespace quelna {

struct RunnerLimits {
    long long exhaustiveVariants = 0; // 0 = no limit
    long long randomVariants = 0;
    long long exhaustiveSeconds = 60; // 0 = no limit
    long long randomSeconds = 60;
};

struct SeatingOutcome {
    bool seated = false;
    bool randomUsed = false;      // the engine fell back to the random search
    bool noSeatingExists = false; // proven: the search ran out of candidates, no limit stopped it
    bool fewestRepeats = false;   // seated with the fewest repeat meetings instead
    std::vector<RepeatPair> repeats; // then its repeat pairs
    long long variants = 0;          // every variant reported during the seating
};

// Seats round `round` with seatRound, enforcing the limits from a watcher thread.
SeatingOutcome runSeating(Tournament& t, int round, const RunnerLimits& limits,
                          ExhaustiveMethod method = ExhaustiveMethod::Fast);

} // namespace quelna
