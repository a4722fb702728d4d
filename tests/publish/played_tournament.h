#pragma once
// Real records for the page tests: random names (and teams), rounds seated by the engine with
// bounded searches, random results typed in.
#include <atomic>

#include "core/random.h"
#include "core/test_data.h"
#include "core/tournament.h"
#include "seating/seating_driver.h"
#include "seating/seating_job.h"

namespace quelna::test {

// Seats round `round`: at most `exhaustive` variants of the exhaustive search, then the random
// search until `random` variants; true when seated.
inline bool seatBounded(Tournament& t, int round, long long exhaustive = 20000,
                        long long random = 200000) {
    std::atomic<bool> sw{false}, stop{false};
    SeatingJob job;
    job.round = round;
    job.switchFlag = &sw;
    job.stopFlag = &stop;
    long long count = 0, limit = exhaustive;
    job.onRandomStart = [&](SeatingJob&) {
        count = 0;
        limit = random;
    };
    job.onVariant = [&](SeatingJob&) {
        if (++count == limit) {
            sw = true;
            stop = true;
        }
    };
    const bool seated = seatRound(t, job);
    t.normalizeRounds();
    return seated;
}

// `seated` rounds seated; every seated round but the latest has results.
inline Tournament playedTournament(int players, int rounds, int seated, bool teams,
                                   unsigned seed = 7) {
    runRandom().seed(seed);
    Tournament t(players, rounds);
    generateRandomNames(t, runRandom());
    if (teams)
        generateRandomTeams(t, runRandom());
    numberPlayersInOrder(t);
    t.purgeUnusedTeams();
    t.rebuildMeetings();
    for (int r = 0; r < seated; ++r) {
        if (!seatBounded(t, r))
            break;
        if (r + 1 < seated)
            generateRandomResults(t, r, runRandom());
    }
    return t;
}

} // namespace quelna::test
