#pragma once
// Decides whether the remaining tables of a round can still be filled under the exhaustive
// seating's rules, in whatever order decides it fastest. Which seating comes first is not its
// concern; only whether one exists.
#include <unordered_map>
#include <vector>

#include "core/tournament.h"
#include "seating/player_set.h"
#include "seating/seating_job.h"

namespace quelna {

enum class Verdict { Possible, Impossible, Stopped };

// What stays fixed during one search: the tables, the players placed before it began, and who may
// sit with whom.
struct RoundShape {
    int tables = 0;          // T
    int limit = 0;           // L: tables 0..L-1 are to be filled
    int strictEnd = 0;       // tables below this one admit no repeat meeting: min(L, T - M)
    int lastHandStrict = -1; // highest table below strictEnd with players placed on entry, or -1
    std::vector<PlayerSet> onEntry; // per table, the players at it on entry
    std::vector<PlayerSet> mates;   // per player, everyone he has not met
};

class CompletionOracle {
  public:
    CompletionOracle(const Tournament& t, const std::vector<int>& totals, const RoundShape& shape,
                     SeatingJob* job);

    // Table `table` holds `atTable` and needs `open` more players from `unseated`; can it and
    // every table after it be filled?
    Verdict canCompleteTable(const PlayerSet& unseated, int table, const PlayerSet& atTable,
                             int open);
    // Tables before `table` are full: can the rest be filled?
    Verdict canFillFrom(const PlayerSet& unseated, int table);

  private:
    bool stopRequested() const { return job_ && job_->stopRequested(); }
    void countDeadEnd(int tablesFilled);
    void countCut();

    int firstOpenTable(int table) const;
    bool headRuleIsIdle(const PlayerSet& unseated, int table) const;
    int headOf(const PlayerSet& unseated) const;
    PlayerSet matesOfAll(const PlayerSet& players) const;

    Verdict fillInTableOrder(const PlayerSet& unseated, int table);
    Verdict partitionFrom(const PlayerSet& unseated, int table);
    int mostConstrained(const PlayerSet& unseated, int* choices) const;
    template <class Next>
    Verdict chooseMates(const PlayerSet& pool, int open, const PlayerSet& unseated, Next&& next);

    bool recall(const PlayerSet& unseated, Verdict* verdict);
    void remember(const PlayerSet& unseated, Verdict verdict);

    const Tournament& t_;
    const std::vector<int>& totals_;
    const RoundShape& shape_;
    SeatingJob* job_;
    std::unordered_map<PlayerSet, bool, PlayerSetHash> known_; // unseated set -> can be filled
};

} // namespace quelna
