#include "seating_runner.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "seating/seating_driver.h"
#include "seating/seating_job.h"

namespace quelna {

namespace {

using Clock = std::chrono::steady_clock;

// Phase state shared between the engine's notifications and the watcher.
struct PhaseClock {
    std::mutex mutex;
    std::condition_variable wake;
    Clock::time_point start = Clock::now();
    long long limitSeconds = 0;
    bool fired = false;
    bool done = false;
};

} // namespace

SeatingOutcome runSeating(Tournament& t, int round, const RunnerLimits& limits,
                          ExhaustiveMethod method) {
    std::atomic<bool> switchRequested{false};
    std::atomic<bool> stopRequested{false};
    SeatingOutcome outcome;
    long long variantLimit = limits.exhaustiveVariants;
    PhaseClock clock;
    clock.limitSeconds = limits.exhaustiveSeconds;

    auto requestSwitch = [&] {
        switchRequested.store(true);
        stopRequested.store(true);
    };
    auto startPhase = [&](long long seconds) {
        std::lock_guard lock(clock.mutex);
        clock.start = Clock::now();
        clock.limitSeconds = seconds;
        clock.fired = false;
    };

    SeatingJob job;
    job.round = round;
    job.method = method;
    job.switchFlag = &switchRequested;
    job.stopFlag = &stopRequested;
    job.onTablesFilled = [](SeatingJob& j, int n) { j.maxTables = n; };
    job.onFactor = [](SeatingJob& j, int v) { j.lastFactor = v; };
    job.onVariant = [&](SeatingJob& j) {
        ++j.variants;
        ++outcome.variants;
        if (variantLimit > 0 && j.variants >= variantLimit)
            requestSwitch();
    };
    job.onRandomStart = [&](SeatingJob&) {
        outcome.randomUsed = true;
        variantLimit = limits.randomVariants;
        startPhase(limits.randomSeconds);
    };
    job.onImproveStart = [&](SeatingJob&) {
        variantLimit = limits.randomVariants;
        startPhase(limits.randomSeconds);
    };
    job.onTimerReset = [&](SeatingJob&) {
        std::lock_guard lock(clock.mutex);
        clock.start = Clock::now();
        clock.fired = false;
    };
    job.onVariantsReset = [](SeatingJob& j) { j.variants = 0; };

    // Like the dialog's timer: once per phase, when its limit has passed, move the engine on.
    std::thread watcher([&] {
        std::unique_lock lock(clock.mutex);
        while (!clock.done) {
            clock.wake.wait_for(lock, std::chrono::milliseconds(5));
            if (clock.done || clock.fired || clock.limitSeconds <= 0)
                continue;
            if (Clock::now() - clock.start >= std::chrono::seconds(clock.limitSeconds)) {
                clock.fired = true;
                requestSwitch();
            }
        }
    });

    outcome.seated = seatRound(t, job);
    outcome.noSeatingExists = job.noSeatingExists;

    {
        std::lock_guard lock(clock.mutex);
        clock.done = true;
    }
    clock.wake.notify_all();
    watcher.join();
    return outcome;
}

} // namespace quelna
