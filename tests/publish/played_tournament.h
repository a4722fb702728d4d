#pragma once
// Real records for the page tests: random names (and teams), rounds seated by the engine with
// bounded searches, random results typed in.
#include "support/played_tournament.h"

namespace quelna::test {

// Seats and refreshes the next round: at most `exhaustive` variants of the exhaustive search, then
// at most `random` variants per phase of the random search; true when seated.
inline bool seatBounded(Tournament& t, long long exhaustive = 20000, long long random = 200000) {
    const bool seated = test_support::seatWithinLimits(
                            t, {.exhaustiveVariants = exhaustive, .randomVariants = random})
                            .seated;
    t.normalizeRounds();
    return seated;
}

using test_support::Seed;
using test_support::Teams;

// `seated` rounds seated; every seated round but the latest has results, as between two rounds.
inline Tournament tournamentAwaitingResults(int players, int rounds, int seated, Seed seed,
                                            Teams teams) {
    return test_support::playedTournament(
        players, rounds, seated, seed, teams,
        {.resultsOfLastRound = false,
         .limits = {.exhaustiveVariants = 20000, .randomVariants = 200000}});
}

} // namespace quelna::test
