#pragma once
// Seating the next round, as the window and quelna-cli both do it: the meetings before the round
// derived afresh, the engine run under the phase clock, the new round normalized, the substitutes
// of players who left proposed; on failure or cancel every placement but the hand placements
// undone, so a seating the search left behind is never taken for a seated round.
#include <vector>

#include "core/adjustments.h"
#include "core/random.h"
#include "core/tournament.h"
#include "seating/fewest_repeats.h"
#include "seating/seating_control.h"
#include "seating/seating_job.h"

namespace quelna {

enum class SeatingResult { Seated = 0, Cancelled = 1, Failed = 2 };

struct NextRoundOptions {
    SeatingOptions seating;
    // When no seating without repeat meetings exists, seat the fewest at once (the command line;
    // the window asks the organiser first and calls seatWithFewestRepeatsNow).
    bool fewestRepeats = false;
    int substituteResult = kDefaultSubstituteResult;
};

// What a front end shows of a running seating; every call comes on the seating's thread.
class SeatingObserver {
  public:
    virtual ~SeatingObserver() = default;
    virtual void phaseStarted(SeatingPhase) {}
    virtual void clockRestarted() {}
    virtual void variantsReset() {}
    virtual void variantCounted(long long /*inPhase*/) {}
    virtual void tablesFilled(int /*tables*/) {}
    virtual void factorFound(int /*displayFactor*/) {}
    virtual void planningStarted() {}
};

struct SeatingOutcome {
    SeatingResult result = SeatingResult::Failed;
    bool randomUsed = false;      // the engine fell back to the random search
    bool noSeatingExists = false; // proven: the search ran out of candidates, no limit stopped it
    bool fewestRepeats = false;   // seated with the fewest repeat meetings instead
    std::vector<RepeatPair> repeats; // then its repeat pairs
    long long variants = 0;          // every variant counted during the seating
    int aheadRounds = -1; // following rounds shown seatable without repeats; -1: not planned
    // A failed seating as the search left it, before it was undone: its repeat pairs and
    // display factor (-1 when it was not complete).
    int repeatsLeft = -1;
    int factorLeft = -1;

    bool seated() const { return result == SeatingResult::Seated; }
};

// Seats t.currentRound. Players who already have a table in it (placed by hand) keep it.
SeatingOutcome seatNextRound(Tournament& t, const NextRoundOptions& options, Random& random,
                             SeatingObserver& observer, SeatingControl& control);

// The same without anyone watching: a thread of its own ticks the seconds of the phase clock, as
// the progress dialog's timer does in the program.
SeatingOutcome seatNextRoundUnattended(Tournament& t, const NextRoundOptions& options,
                                       const PhaseLimits& limits, Random& random);
// The same for a runner that watches or steers it: its observer and its control, whose seconds the
// thread ticks when `limits` (the control's) has any.
SeatingOutcome seatNextRoundUnattended(Tournament& t, const NextRoundOptions& options,
                                       const PhaseLimits& limits, Random& random,
                                       SeatingObserver& observer, SeatingControl& control);

// After a seating proven impossible: t.currentRound seated with the fewest repeat meetings,
// finished or undone as seatNextRound does. The control's cancel, when given, stops the search
// and leaves the round as on entry (result Cancelled).
SeatingOutcome seatWithFewestRepeatsNow(Tournament& t, const NextRoundOptions& options,
                                        SeatingControl* control = nullptr);

} // namespace quelna
