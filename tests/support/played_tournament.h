#pragma once
// Real tournaments for tests: the engine seats rounds under variant budgets (and, if asked, a
// clock), counted per phase as quelna-cli counts them, so every run ends and is reproducible.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "core/random.h"
#include "core/test_data.h"
#include "core/tournament.h"
#include "seating/seating_driver.h"
#include "seating/seating_job.h"

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

// Seats `round` with the engine under the settings in force; the round is left as the engine
// leaves it (no refresh).
inline LimitedSeating seatWithinLimits(quelna::Tournament& t, int round,
                                       const SeatingLimits& limits) {
    using quelna::SeatingJob;
    using Clock = std::chrono::steady_clock;
    std::atomic<bool> switchFlag{false}, stopFlag{false};
    LimitedSeating result;
    long long limit = limits.exhaustiveVariants;
    std::mutex mutex;
    std::condition_variable wake;
    Clock::time_point phaseStart = Clock::now();
    bool fired = false, done = false;
    auto restartClock = [&] {
        std::lock_guard lock(mutex);
        phaseStart = Clock::now();
        fired = false;
    };
    auto requestSwitch = [&] {
        switchFlag = true;
        stopFlag = true;
    };
    SeatingJob job;
    job.round = round;
    job.switchFlag = &switchFlag;
    job.stopFlag = &stopFlag;
    job.onTablesFilled = [](SeatingJob& j, int n) { j.maxTables = n; };
    job.onFactor = [](SeatingJob& j, int v) { j.lastFactor = v; };
    job.onVariant = [&](SeatingJob& j) {
        if (++j.variants >= limit && limit > 0)
            requestSwitch();
    };
    job.onRandomStart = [&](SeatingJob&) {
        result.random = true;
        limit = limits.randomVariants;
        restartClock();
    };
    job.onImproveStart = [&](SeatingJob&) { restartClock(); };
    job.onTimerReset = [&](SeatingJob&) { restartClock(); };
    job.onVariantsReset = [](SeatingJob& j) { j.variants = 0; };
    std::thread watcher;
    if (limits.seconds > 0)
        watcher = std::thread([&] {
            std::unique_lock lock(mutex);
            while (!done) {
                wake.wait_for(lock, std::chrono::milliseconds(5));
                if (!done && !fired &&
                    Clock::now() - phaseStart >= std::chrono::seconds(limits.seconds)) {
                    fired = true;
                    requestSwitch();
                }
            }
        });
    result.seated = quelna::seatRound(t, job);
    if (watcher.joinable()) {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        wake.notify_all();
        watcher.join();
    }
    return result;
}

struct PlayOptions {
    bool resultsOfLastRound = true; // false: the latest seated round waits for its results
    SeatingLimits limits;
};

// Random names (and teams) and start numbers in slot order; then `seated` rounds seated by the
// engine, each refreshed and given random results, until one cannot be seated.
inline quelna::Tournament playedTournament(int players, int rounds, int seated, std::uint32_t seed,
                                           bool teams, const PlayOptions& options = {}) {
    using namespace quelna;
    runRandom().seed(seed);
    Tournament t(players, rounds);
    generateRandomNames(t, runRandom());
    if (teams)
        generateRandomTeams(t, runRandom());
    numberPlayersInOrder(t);
    t.purgeUnusedTeams();
    t.rebuildMeetings();
    for (int r = 0; r < seated; ++r) {
        const bool ok = seatWithinLimits(t, r, options.limits).seated;
        t.normalizeRounds();
        if (!ok)
            break;
        if (options.resultsOfLastRound || r + 1 < seated)
            generateRandomResults(t, r, runRandom());
    }
    return t;
}

} // namespace test_support
