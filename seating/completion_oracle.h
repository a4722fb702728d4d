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

// A table begun but not full: who sits at it, who may still join (strangers to all of them), and
// how many places are open.
struct OpenTable {
    PlayerSet members;
    PlayerSet pool;
    int open = 0;
};

// A state of the search: the unseated players and those at the open table. Exact as a key.
struct SearchState {
    PlayerSet unseated;
    PlayerSet atTable;
    bool operator==(const SearchState&) const = default;
};

struct SearchStateHash {
    std::size_t operator()(const SearchState& s) const {
        const PlayerSetHash hash;
        return hash(s.unseated) * 31 + hash(s.atTable);
    }
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
    bool headRuleIsIdle(const PlayerSet& unseated, int table, int open = 0) const;
    int headOf(const PlayerSet& unseated) const;
    PlayerSet matesOfAll(const PlayerSet& players) const;

    Verdict fillInTableOrder(const PlayerSet& unseated, int table);
    Verdict partitionFrom(const PlayerSet& unseated, int table, const OpenTable& begun);
    bool tooManyAcquainted(const PlayerSet& players) const;
    std::vector<PlayerSet> tableLinks(const PlayerSet& players) const;
    std::vector<PlayerSet> strangerGroups(const PlayerSet& players) const;
    Verdict partitionEach(std::vector<PlayerSet> parts, int table);
    int groupsAmong(const PlayerSet& players, int size, int cap) const;
    int placesFor(int p, const PlayerSet& unseated, const OpenTable& begun, int cap) const;
    int mostConstrained(const PlayerSet& unseated, const OpenTable& begun, int* places) const;
    Verdict seatPlayer(int p, const PlayerSet& unseated, int table, const OpenTable& begun);
    Verdict tryTablesWith(int p, const PlayerSet& rest, int table, const OpenTable& begun);
    template <class Next>
    Verdict chooseMates(const PlayerSet& pool, int open, const PlayerSet& unseated, Next&& next);

    bool witnessCompletes(const PlayerSet& unseated, const PlayerSet& atTable) const;
    template <class Search> Verdict withTable(const PlayerSet& group, Search&& search);

    bool recall(const SearchState& state, Verdict* verdict);
    void remember(const SearchState& state, Verdict verdict);

    const Tournament& t_;
    const std::vector<int>& totals_;
    const RoundShape& shape_;
    SeatingJob* job_;
    std::unordered_map<SearchState, bool, SearchStateHash> known_; // state -> can be completed
    // The tables of the partition being built, and of the last one completed: the next question
    // is often answered by it without a search.
    std::vector<PlayerSet> path_;
    std::vector<PlayerSet> witness_;
};

} // namespace quelna
