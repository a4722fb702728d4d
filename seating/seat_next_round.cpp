#include "seating/seat_next_round.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "seating/round_quality.h"
#include "seating/seating_driver.h"

namespace quelna {

namespace {

// The round as it was before the seating: empty but for the players placed by hand.
struct HandPlacements {
    std::vector<int> table, seat;
};

HandPlacements handPlacements(const Tournament& t, int round) {
    HandPlacements placed;
    for (int p = 0; p < t.playerCount; ++p) {
        placed.table.push_back(t.tableAt(round, p));
        placed.seat.push_back(t.seatAt(round, p));
    }
    return placed;
}

// Everything but the hand placements goes, also where the random search renumbered their
// tables; the matrix holds the meetings before the round again.
void undoSeating(Tournament& t, int round, const HandPlacements& placed) {
    for (int p = 0; p < t.playerCount; ++p) {
        t.tableAt(round, p) = placed.table[p];
        t.seatAt(round, p) = placed.seat[p];
    }
    t.meetings = t.meetingsBefore(round);
}

void finishSeating(Tournament& t, int round, const NextRoundOptions& options) {
    t.normalizeRounds();
    proposeSubstitutes(t, round, options.substituteResult);
}

// The engine's notifications, turned into the clock's phases and the observer's display.
void connectJob(SeatingJob& job, SeatingObserver& observer, SeatingControl& control) {
    job.switchFlag = control.switchFlag();
    job.stopFlag = control.stopFlag();
    job.onTablesFilled = [&observer](SeatingJob& j, int n) {
        j.maxTables = n;
        observer.tablesFilled(n);
    };
    job.onFactor = [&observer](SeatingJob& j, int v) {
        j.lastFactor = v;
        observer.factorFound(v);
    };
    job.onVariant = [&observer, &control](SeatingJob&) {
        observer.variantCounted(control.countVariant());
    };
    job.onRandomStart = [&observer, &control](SeatingJob&) {
        control.startPhase(SeatingPhase::Random);
        observer.phaseStarted(SeatingPhase::Random);
    };
    job.onImproveStart = [&observer, &control](SeatingJob&) {
        control.startPhase(SeatingPhase::Improve);
        observer.phaseStarted(SeatingPhase::Improve);
    };
    job.onTimerReset = [&observer, &control](SeatingJob&) {
        control.restartClock();
        observer.clockRestarted();
    };
    job.onPlanStart = [&observer](SeatingJob&) { observer.planningStarted(); };
    job.onVariantsReset = [&observer, &control](SeatingJob& j) {
        control.resetVariants();
        j.variants = 0;
        observer.variantsReset();
    };
}

} // namespace

SeatingOutcome seatNextRound(Tournament& t, const NextRoundOptions& options, Random& random,
                             SeatingObserver& observer, SeatingControl& control) {
    SeatingOutcome outcome;
    const int round = t.currentRound;
    if (round < 0 || round >= t.roundCount)
        return outcome;
    const HandPlacements placed = handPlacements(t, round);
    if (round == 0)
        t.purgeUnusedTeams();
    t.meetings = t.meetingsBefore(round);

    SeatingJob job;
    job.round = round;
    job.options = options.seating;
    job.random = &random;
    connectJob(job, observer, control);
    control.startPhase(SeatingPhase::Exhaustive);
    observer.phaseStarted(SeatingPhase::Exhaustive);

    const bool seated = seatRound(t, job);
    outcome.randomUsed = control.phase() != SeatingPhase::Exhaustive;
    outcome.variants = control.variantsInAll();
    outcome.noSeatingExists = job.noSeatingExists;
    outcome.aheadRounds = job.aheadRounds;
    if (seated && !control.cancelRequested()) {
        outcome.result = SeatingResult::Seated;
        finishSeating(t, round, options);
        return outcome;
    }
    outcome.result = control.cancelRequested() ? SeatingResult::Cancelled : SeatingResult::Failed;
    outcome.repeatsLeft = countRepeatPairs(t, round);
    outcome.factorLeft = roundDisplayFactor(t, round);
    undoSeating(t, round, placed);
    if (outcome.result == SeatingResult::Failed && outcome.noSeatingExists &&
        options.fewestRepeats) {
        SeatingOutcome fewest = seatWithFewestRepeatsNow(t, options);
        fewest.variants = outcome.variants;
        if (fewest.seated())
            return fewest;
    }
    return outcome;
}

SeatingOutcome seatNextRoundUnattended(Tournament& t, const NextRoundOptions& options,
                                       const PhaseLimits& limits, Random& random) {
    SeatingControl control(limits);
    SeatingObserver quiet;
    return seatNextRoundUnattended(t, options, limits, random, quiet, control);
}

SeatingOutcome seatNextRoundUnattended(Tournament& t, const NextRoundOptions& options,
                                       const PhaseLimits& limits, Random& random,
                                       SeatingObserver& observer, SeatingControl& control) {
    if (limits.exhaustiveSeconds <= 0 && limits.randomSeconds <= 0)
        return seatNextRound(t, options, random, observer, control);

    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    std::thread ticker([&] {
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, std::chrono::seconds(1), [&] { return done; }))
            control.secondPassed();
    });
    SeatingOutcome outcome = seatNextRound(t, options, random, observer, control);
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    wake.notify_all();
    ticker.join();
    return outcome;
}

SeatingOutcome seatWithFewestRepeatsNow(Tournament& t, const NextRoundOptions& options,
                                        SeatingControl* control) {
    SeatingOutcome outcome;
    const int round = t.currentRound;
    if (round < 0 || round >= t.roundCount)
        return outcome;
    const HandPlacements placed = handPlacements(t, round);
    t.meetings = t.meetingsBefore(round);
    std::vector<int> totals(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        totals[p] = t.runningTotal(p, round);
    SeatingJob job;
    job.round = round;
    job.stopFlag = control ? control->stopFlag() : nullptr;
    if (!seatWithFewestRepeats(t, round, totals, &job)) {
        undoSeating(t, round, placed);
        if (control && control->cancelRequested())
            outcome.result = SeatingResult::Cancelled;
        return outcome;
    }
    outcome.result = SeatingResult::Seated;
    outcome.fewestRepeats = true;
    outcome.noSeatingExists = true;
    outcome.repeats = repeatPairsOf(t, round);
    finishSeating(t, round, options);
    return outcome;
}

} // namespace quelna
