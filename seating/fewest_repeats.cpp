#include "seating/fewest_repeats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>

#include "seating/seating_factor.h"
#include "seating/seating_job.h"

namespace quelna {

namespace {

// One team-mate pair outweighs any number of repeat pairs, one repeat pair any seating factor
// (at most 6 * 200 per table, 50 tables).
constexpr std::int64_t kTeamWeight = std::int64_t{1} << 40;
constexpr std::int64_t kRepeatWeight = std::int64_t{1} << 20;
constexpr int kRestarts = 4;
constexpr long long kMovesPerPlayer = 10000;

// Simulated annealing over exchanges of two movable players' tables, from the seating by
// standing; the best seating over a few restarts is kept. Seeded, so a round always gets the same
// result.
class FewestRepeats {
  public:
    FewestRepeats(Tournament& t, int round, const std::vector<int>& totals, const SeatingJob* job)
        : t_(t), job_(job), round_(round), n_(t.playerCount), tables_(t.tableCount()),
          rank_(rankByTotals(t, totals)), members_(tables_), handTable_(tables_, 0), cost_(tables_), random_(20261209) {}

    bool run() {
        if (!seatByStanding())
            return false;
        for (int x = 0; x < tables_; ++x)
            cost_[x] = tableCost(x);
        std::vector<std::vector<int>> best = members_;
        std::int64_t bestCost = totalCost();
        for (int restart = 0; restart < kRestarts && !stopRequested(); ++restart) {
            anneal();
            if (totalCost() < bestCost) {
                bestCost = totalCost();
                best = members_;
            }
        }
        if (stopRequested())
            return false;
        // Tables numbered by the best standing at each, so the leader's table is table 1 as in
        // every other seating; tables with players placed by hand keep their numbers.
        std::vector<int> bestRank(tables_, n_), others, numbers;
        for (int x = 0; x < tables_; ++x) {
            for (int p : best[x])
                bestRank[x] = std::min(bestRank[x], rank_[p]);
            if (!handTable_[x]) {
                others.push_back(x);
                numbers.push_back(x);
            }
        }
        std::sort(others.begin(), others.end(),
                  [&](int a, int b) { return bestRank[a] < bestRank[b]; });
        std::vector<int> number(tables_);
        for (int x = 0; x < tables_; ++x)
            number[x] = x;
        for (std::size_t i = 0; i < others.size(); ++i)
            number[others[i]] = numbers[i];
        for (int x = 0; x < tables_; ++x)
            for (int p : best[x])
                t_.tableAt(round_, p) = number[x];
        return true;
    }

  private:
    bool stopRequested() const { return job_ && job_->stopRequested(); }

    // Players placed by hand stay; the others fill the open places by standing, best first.
    bool seatByStanding() {
        std::vector<int> order(n_);
        for (int p = 0; p < n_; ++p)
            order[rank_[p]] = p;
        for (int p = 0; p < n_; ++p) {
            const int x = t_.tableAt(round_, p);
            if (x == -1)
                continue;
            if (x < 0 || x >= tables_ || members_[x].size() == 4)
                return false;
            members_[x].push_back(p);
            handTable_[x] = 1;
        }
        int x = 0;
        for (int p : order) {
            if (t_.tableAt(round_, p) != -1)
                continue;
            while (members_[x].size() == 4)
                ++x;
            members_[x].push_back(p);
            movable_.push_back({x, static_cast<int>(members_[x].size()) - 1});
        }
        return true;
    }

    std::int64_t repeatCost(int a, int b) const {
        std::int64_t cost = 0;
        if (t_.meetings.at(a, b) > 0)
            cost += kRepeatWeight;
        if (t_.team[a] > 0 && t_.team[a] == t_.team[b])
            cost += kTeamWeight;
        return cost;
    }

    // The seating factor of the table over the standing ranks, under the weight of its repeats.
    std::int64_t tableCost(int x) const {
        const std::vector<int>& m = members_[x];
        std::int64_t cost = tableFactor(m.data(), static_cast<int>(m.size()), rank_);
        for (std::size_t i = 0; i < m.size(); ++i)
            for (std::size_t j = i + 1; j < m.size(); ++j)
                cost += repeatCost(m[i], m[j]);
        return cost;
    }

    std::int64_t totalCost() const {
        std::int64_t sum = 0;
        for (std::int64_t c : cost_)
            sum += c;
        return sum;
    }

    double uniform() { return static_cast<double>(random_()) / 4294967296.0; }

    // Cools from a temperature at which a repeat pair is often accepted to one at which only
    // the seating factor still moves.
    void anneal() {
        const long long moves = kMovesPerPlayer * static_cast<long long>(movable_.size());
        const double hot = 2.0 * kRepeatWeight, cold = 0.5;
        const int count = static_cast<int>(movable_.size());
        if (count < 2)
            return;
        for (long long i = 0; i < moves; ++i) {
            if ((i & 4095) == 0 && stopRequested())
                return;
            const double temperature = hot * std::pow(cold / hot, static_cast<double>(i) / moves);
            Slot& s1 = movable_[random_() % count];
            Slot& s2 = movable_[random_() % count];
            if (s1.table == s2.table)
                continue;
            exchange(s1, s2);
            const std::int64_t before = cost_[s1.table] + cost_[s2.table];
            const std::int64_t after = tableCost(s1.table) + tableCost(s2.table);
            const std::int64_t delta = after - before;
            if (delta <= 0 || uniform() < std::exp(-static_cast<double>(delta) / temperature)) {
                cost_[s1.table] = tableCost(s1.table);
                cost_[s2.table] = tableCost(s2.table);
            } else {
                exchange(s1, s2);
            }
        }
    }

    struct Slot {
        int table, place;
    };
    void exchange(const Slot& a, const Slot& b) {
        std::swap(members_[a.table][a.place], members_[b.table][b.place]);
    }

    Tournament& t_;
    const SeatingJob* job_;
    int round_;
    int n_;
    int tables_;
    std::vector<int> rank_;
    std::vector<std::vector<int>> members_;
    std::vector<char> handTable_; // a table with players placed by hand keeps its number
    std::vector<std::int64_t> cost_;
    std::vector<Slot> movable_;
    std::mt19937 random_;
};

} // namespace

bool seatWithFewestRepeats(Tournament& t, int round, const std::vector<int>& totals,
                           const SeatingJob* job) {
    if (round < 0 || round >= t.roundCount)
        return false;
    FewestRepeats search(t, round, totals, job);
    return search.run();
}

std::vector<RepeatPair> repeatPairsOf(const Tournament& t, int round) {
    std::vector<RepeatPair> pairs;
    for (int a = 0; a < t.playerCount; ++a)
        for (int b = a + 1; b < t.playerCount; ++b)
            if (t.tableAt(round, a) != -1 && t.tableAt(round, a) == t.tableAt(round, b) &&
                t.meetings.at(a, b) > 0)
                pairs.push_back({a, b, t.team[a] > 0 && t.team[a] == t.team[b]});
    return pairs;
}

} // namespace quelna
