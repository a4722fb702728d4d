#pragma once
// A seated round seated again by the program from the rounds before it, as the window and
// quelna-cli seat would have seated it, and compared with what was played. Only the exhaustive
// search is redone: it draws nothing from the random generator, so the answer is the same on
// every run. When it stops at its limit the program would have gone on with the random search,
// whose moves depend on the run's generator and cannot be redone.
#include <atomic>
#include <vector>

#include "core/tournament.h"
#include "seating/seating_job.h"

namespace quelna {

struct RederiveSettings {
    SeatingOptions seating;           // the fixed tables, overlap tables and plan-ahead of the file
    long long exhaustiveSeconds = 60; // 0 = no limit
    long long exhaustiveVariants = 0; // 0 = no limit
    const std::atomic<bool>* cancel = nullptr; // a caller that gives up (the window's dialog)
};

enum class Rederived {
    Exhaustive,    // the program's seating, found by the exhaustive search
    FewestRepeats, // none without repeat meetings exists; the one with the fewest
    NotReached,    // the exhaustive search stopped at its limit (or was cancelled)
    NoSeating,     // the program cannot seat it at all
};

struct RederivedRound {
    Rederived how = Rederived::NoSeating;
    std::vector<int> tableOf;         // the program's table of each player; empty unless seated
    std::vector<int> differingTables; // tables (from 0) whose players differ from the played ones
    bool matches() const {
        return (how == Rederived::Exhaustive || how == Rederived::FewestRepeats) &&
               differingTables.empty();
    }
};

// `round` (from 0) of a normalized record, seated anew from the standings and meetings before it.
// Among equal totals the engine goes by the record's slot order, which a file does not keep: the
// round matches when the slots in start-number order, in standings order before the round or in
// the file's order give it; otherwise the first of these is reported.
RederivedRound rederiveRound(const Tournament& t, int round, const RederiveSettings& settings);

// Tables (from 0) whose four players differ between two seatings of a round.
std::vector<int> differingTables(const Tournament& t, int round, const std::vector<int>& tableOf);

} // namespace quelna
