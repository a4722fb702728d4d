#pragma once
// A schedule of rounds in which nobody meets anyone twice, found by local search over exchanges of
// two players' tables within a round (the method known from the social golfer problem). It shows
// that the rounds after a seating can still be seated without repeat meetings; it never seats a
// round itself.
//
// Round 0 of a schedule is the round being seated: some of its players are fixed at their tables,
// the others may move. The rounds after it are wholly free. On the last `freeTables` tables of
// every round meetings may repeat, as on the bottom tables of a seating.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/tournament.h"

namespace quelna {

class ScheduleSearch {
  public:
    // `before`: who has met whom before round 0 (team-mates count as met). `firstRound`: the
    // table of each player in round 0, -1 for a player still to be placed; `pinned` marks the
    // players that keep their table. `following`: how many rounds after round 0.
    ScheduleSearch(const MeetingMatrix& before, int freeTables, const std::vector<int>& firstRound,
                   const std::vector<char>& pinned, int following, std::uint64_t seed);
    // The same, with the following rounds begun from the tables given (table per player).
    ScheduleSearch(const MeetingMatrix& before, int freeTables, const std::vector<int>& firstRound,
                   const std::vector<char>& pinned, const std::vector<std::vector<int>>& following,
                   std::uint64_t seed);

    // Searches until the schedule has no repeat meeting, `budget` exchanges have been weighed, or
    // `stop` says so. True when the schedule is free of repeats.
    bool search(long long budget, const std::function<bool()>& stop = {});

    // Gives up the following round with the most repeat meetings (the schedule stays the best one
    // found); false when only round 0 is left.
    bool dropWorstRound();

    // Moves player p to `table` of round 0, in exchange for a player there who is not fixed, and
    // fixes him there. False when every place at the table is taken by fixed players.
    bool pinToTable(int p, int table);
    // Puts the tables of round 0 in another order: newTable[x] is where table x goes.
    void reorderFirstRound(const std::vector<int>& newTable);

    int followingRounds() const { return rounds_ - 1; }
    long long conflicts() const { return cost_; }
    long long exchangesWeighed() const { return weighed_; }
    long long reseats() const { return reseats_; }
    int tableOf(int round, int p) const { return pos_[round * n_ + p] / 4; }
    // The players at a table, in the order of its places.
    std::vector<int> playersAt(int round, int table) const;
    bool pinned(int p) const { return pinned_[p] != 0; }
    // Whether p and q sit at one table in some round of the schedule, or met before it.
    int meetingsOf(int p, int q) const { return co_[p * n_ + q]; }

  private:
    bool strict(int slot) const { return slot / 4 < strictTables_; }
    bool movable(int round, int p) const { return round > 0 || !pinned_[p]; }
    int at(int round, int slot) const { return at_[round * 4 * tables_ + slot]; }
    // What a pair adds to the conflicts: its other meetings, once for each round of the schedule in
    // which it shares a table where repeats count.
    static long long pairCost(int co, int sc) {
        return sc > 0 ? static_cast<long long>(sc) * (co - 1) : 0;
    }
    std::size_t tabuKey(int round, int p, int q) const {
        return (static_cast<std::size_t>(round) * n_ + std::min(p, q)) * n_ + std::max(p, q);
    }

    void placeRound(int round, const std::vector<int>& tables);
    void fillGreedily(int round, std::vector<int> toPlace);
    void addRound(int round, int sign);
    long long recount() const;
    long long swapDelta(int round, int p, int q) const;
    void swapPlayers(int round, int p, int q);
    void shiftPair(int a, int b, int dco, int dsc);
    std::vector<std::pair<int, int>> conflicting() const;
    bool step(long long iteration);
    void perturb();
    bool reseatRounds(const std::vector<int>& rounds, int tries);
    bool reseatConflictingRounds();
    void keepBest();
    void restoreBest();
    std::uint64_t next();

    int n_;
    int tables_;
    int strictTables_;
    int rounds_;
    std::vector<int> at_;  // [round][slot] -> player
    std::vector<int> pos_; // [round][player] -> slot
    std::vector<char> pinned_;
    std::vector<int> before_;
    std::vector<int> co_; // meetings before, plus rounds of the schedule at one table
    std::vector<int> sc_; // rounds of the schedule at one table where repeats count
    long long cost_ = 0;
    std::vector<int> bestAt_;
    long long bestCost_ = 0;
    std::vector<long long> tabuUntil_; // [round][p][q]
    long long weighed_ = 0;
    long long reseats_ = 0;
    std::uint64_t state_;
};

} // namespace quelna
