#pragma once
// Real tournaments for tests: the engine seats rounds under variant budgets (and, if asked, a
// clock), counted per phase as quelna-cli counts them, so every run ends and is reproducible.
#include <cstdint>

#include "core/random.h"
#include "core/test_data.h"
#include "core/tournament.h"
#include "seating/seat_next_round.h"

namespace test_support {

struct SeatingLimits {
    long long exhaustiveVariants = 20000;
    long long randomVariants = 2000000; // per phase of the random search
    int seconds = 0;                    // per phase, a backstop; 0 = no clock
};

struct LimitedSeating {
    bool seated = false;
    bool random = false; // the engine fell back to the random search
};

// Seats the next round (t.currentRound) as quelna-cli does, with the run's generator; a failed
// seating is undone but for the hand placements.
inline LimitedSeating seatWithinLimits(quelna::Tournament& t, const SeatingLimits& limits,
                                       const quelna::SeatingOptions& options = {}) {
    quelna::NextRoundOptions next;
    next.seating = options;
    const quelna::SeatingOutcome outcome =
        quelna::seatNextRoundUnattended(t, next,
                                        {.exhaustiveSeconds = limits.seconds,
                                         .randomSeconds = limits.seconds,
                                         .exhaustiveVariants = limits.exhaustiveVariants,
                                         .randomVariants = limits.randomVariants},
                                        quelna::runRandom());
    return {outcome.seated(), outcome.randomUsed};
}

// The seed of a played tournament's draws and whether it has teams: typed, so that a call with the
// two swapped does not compile.
struct Seed {
    explicit constexpr Seed(std::uint32_t v) : value(v) {}
    std::uint32_t value;
};
enum class Teams { Without, With };
constexpr Teams withTeams(bool on) {
    return on ? Teams::With : Teams::Without;
}

struct PlayOptions {
    bool resultsOfLastRound = true; // false: the latest seated round waits for its results
    SeatingLimits limits;
};

// Random names (and teams) and start numbers in slot order; then `seated` rounds seated by the
// engine, each refreshed and given random results, until one cannot be seated.
inline quelna::Tournament playedTournament(int players, int rounds, int seated, Seed seed,
                                           Teams teams, const PlayOptions& options = {}) {
    using namespace quelna;
    runRandom().seed(seed.value);
    Tournament t(players, rounds);
    generateRandomNames(t, runRandom());
    if (teams == Teams::With)
        generateRandomTeams(t, runRandom());
    numberPlayersInOrder(t);
    t.purgeUnusedTeams();
    t.rebuildMeetings();
    for (int r = 0; r < seated; ++r) {
        const bool ok = seatWithinLimits(t, options.limits).seated;
        t.normalizeRounds();
        if (!ok)
            break;
        if (options.resultsOfLastRound || r + 1 < seated)
            generateRandomResults(t, r, runRandom());
    }
    return t;
}

} // namespace test_support
