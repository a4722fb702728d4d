#pragma once
// What the seating engine shares with whatever runs it: the round, the flags by which the runner
// stops a search or moves it on, and optional progress notifications. With every slot empty and
// no flag set the engine seats exactly as it does behind the progress dialog; the fast exhaustive
// search reaches the same seating as the plain one, only its counts differ.
#include <atomic>
#include <functional>

#include "core/random.h"

namespace quelna {

// Plain: the depth-first search that counts every dead end, kept for runs reproduced in variants.
// Fast: the same first seating, skipping the subtrees proven to hold none.
enum class ExhaustiveMethod { Plain, Fast };

// What the organiser chose for the seating of a round.
struct SeatingOptions {
    ExhaustiveMethod method = ExhaustiveMethod::Plain;
    int fixedTables = 0;   // K: top tables the exhaustive search keeps before the random search
    int overlapTables = 0; // M: bottom tables where repeat meetings are allowed
    // Accept a seating only when the rounds after it can still be seated without repeat
    // meetings, shown by a schedule found for them; off, the seating is the plain rule's.
    bool planAhead = false;
};

struct SeatingJob {
    using Notify = std::function<void(SeatingJob&)>;
    using NotifyValue = std::function<void(SeatingJob&, int)>;

    int round = 0;
    SeatingOptions options;
    Random* random = nullptr;                // every draw of the random search; required by it
    std::atomic<bool>* switchFlag = nullptr; // switchRequested
    std::atomic<bool>* stopFlag = nullptr;   // stopRequested

    NotifyValue onTablesFilled;
    NotifyValue onFactor;
    Notify onVariant;
    Notify onRandomStart;
    Notify onImproveStart;
    Notify onTimerReset;
    Notify onVariantsReset;
    Notify onPlanStart; // the seating is found; the rounds after it are being checked

    int maxTables = 0;            // last value passed to onTablesFilled
    int lastFactor = 0;           // last value passed to onFactor
    int variants = 0;             // variants counted in the current phase
    bool noSeatingExists = false; // the first exhaustive attempt ran out of candidates, unstopped
    int aheadRounds = -1;         // following rounds shown seatable by planning; -1: not planned

    bool stopRequested() const { return stopFlag && stopFlag->load(std::memory_order_relaxed); }
    bool switchRequested() const {
        return switchFlag && switchFlag->load(std::memory_order_relaxed);
    }
};

} // namespace quelna
