#include "seating/random_search.h"

#include <algorithm>
#include <cstdlib>

#include "core/random.h"
#include "seating/seating_factor.h"
#include "seating/seating_job.h"

namespace quelna {

std::vector<int> rankByTotals(const Tournament& t, const std::vector<int>& totals) {
    const int n = t.playerCount;
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    for (int i = 0; i < n - 1; ++i)
        for (int j = i + 1; j < n; ++j) {
            const int a = order[i];
            const int b = order[j];
            if (totals[a] < totals[b] ||
                (totals[a] == totals[b] && t.playerNumber[b] < t.playerNumber[a]))
                std::swap(order[i], order[j]);
        }
    std::vector<int> rank(n);
    for (int j = 0; j < n; ++j)
        rank[order[j]] = j;
    return rank;
}

namespace {

class RandomSearch {
  public:
    RandomSearch(Tournament& t, int round, const std::vector<int>& totals, Recompute mode,
                 RandomSearchStats* stats)
        : t_(t), totals_(totals), job_(t.seatingJob), stats_(stats),
          incremental_(mode == Recompute::Incremental), n_(t.playerCount), tables_(t.tableCount()),
          tab_(&t.tableOf[static_cast<std::size_t>(round) * t.playerCount]), fixed_(n_, 0),
          position_(n_, -1), slot_(n_, 0), members_(static_cast<std::size_t>(tables_) * 4, -1),
          count_(tables_, 0), tableSum_(tables_, 0), tableClean_(tables_, 1),
          tableFactor_(tables_, 0), best_(n_), rank_(n_, 0), others_(n_), order_(tables_),
          minRank_(tables_) {
        unfixed_.reserve(n_);
    }

    bool run() {
        if (!setUp())
            return false;
        if (!repair())
            return false;
        improve();
        renumber();
        return true;
    }

  private:
    struct Move {
        int p1, t1, p2, t2;
        int sum1, sum2;       // meeting sums of the two tables before the move
        char clean1, clean2;  // their clean flags before the move
        int factor1, factor2; // their factors before the move
        int meetingSum, cleanTables, factor;
    };

    bool stopRequested() const { return job_ && job_->stopRequested(); }
    void notify(const SeatingJob::Notify& slot) {
        if (job_ && slot)
            slot(*job_);
    }
    void notifyVariant() {
        if (job_)
            notify(job_->onVariant);
    }
    void notifyFactor(int factor) {
        if (job_ && job_->onFactor)
            job_->onFactor(*job_, displayFactor(factor, tables_));
    }

    // Pair sum and cleanliness of table x from its member slots.
    void tableMeetings(int x, int& sum, char& clean) const {
        const int* cells = t_.meetings.cells().data();
        const int* m = &members_[x * 4];
        sum = 0;
        clean = 1;
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j) {
                const int v = cells[m[i] * n_ + m[j]];
                sum += v;
                if (v != 0)
                    clean = 0;
            }
    }

    int tableFactor(int x) const {
        const int* m = &members_[x * 4];
        int f = 0;
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                f += std::abs(rank_[m[i]] - rank_[m[j]]);
        return f;
    }

    // The whole seating from the round's tables alone: every pair sharing a table.
    void fullMeetings(int& sum, int& cleanTables) {
        std::fill(count_.begin(), count_.end(), 0);
        for (int p = 0; p < n_; ++p) {
            const int x = tab_[p];
            if (x >= 0 && x < tables_ && count_[x] < 4)
                scratch_[x * 4 + count_[x]++] = p;
        }
        const int* cells = t_.meetings.cells().data();
        sum = 0;
        cleanTables = 0;
        for (int x = 0; x < tables_; ++x) {
            const int* m = &scratch_[x * 4];
            bool clean = true;
            for (int i = 0; i < count_[x]; ++i)
                for (int j = i + 1; j < count_[x]; ++j) {
                    const int v = cells[m[i] * n_ + m[j]];
                    sum += v;
                    if (v != 0)
                        clean = false;
                }
            if (clean)
                ++cleanTables;
        }
    }

    // The seating factor on ranks from the round's tables alone, without allocating.
    int fullFactor() {
        std::fill(count_.begin(), count_.end(), 0);
        for (int p = 0; p < n_; ++p) {
            const int x = tab_[p];
            if (x >= 0 && x < tables_ && count_[x] < 4)
                scratch_[x * 4 + count_[x]++] = p;
        }
        int f = 0;
        for (int x = 0; x < tables_; ++x) {
            const int* m = &scratch_[x * 4];
            for (int i = 0; i < count_[x]; ++i)
                for (int j = i + 1; j < count_[x]; ++j)
                    f += std::abs(rank_[m[i]] - rank_[m[j]]);
        }
        return f;
    }

    bool setUp() {
        for (int p = 0; p < n_; ++p) {
            const int x = tab_[p];
            if (x == -1)
                continue;
            // A hand-placed player outside the tables or a fifth player at a table cannot be
            // completed to a seating.
            if (x < 0 || x >= tables_ || count_[x] == 4)
                return false;
            fixed_[p] = 1;
            ++count_[x];
        }
        scratch_.assign(static_cast<std::size_t>(tables_) * 4, -1);
        int clean = 0;
        fullMeetings(baseline_, clean);

        // Fill in ascending index, not by totals; count_ was just recomputed from the fixed ones.
        for (int p = 0; p < n_; ++p) {
            if (fixed_[p])
                continue;
            int x = 0;
            while (count_[x] == 4)
                ++x;
            tab_[p] = x;
            ++count_[x];
            position_[p] = static_cast<int>(unfixed_.size());
            unfixed_.push_back(p);
        }

        std::fill(count_.begin(), count_.end(), 0);
        for (int p = 0; p < n_; ++p) {
            const int x = tab_[p];
            slot_[p] = count_[x];
            members_[x * 4 + count_[x]++] = p;
        }
        meetingSum_ = 0;
        cleanTables_ = 0;
        for (int x = 0; x < tables_; ++x) {
            tableMeetings(x, tableSum_[x], tableClean_[x]);
            meetingSum_ += tableSum_[x];
            cleanTables_ += tableClean_[x];
        }

        // No move can ever be made when every movable player sits at one table.
        movable_ = false;
        for (int p : unfixed_)
            if (tab_[p] != tab_[unfixed_.front()])
                movable_ = true;
        return true;
    }

    void exchange(int p1, int p2) {
        const int t1 = tab_[p1];
        const int t2 = tab_[p2];
        tab_[p1] = t2;
        tab_[p2] = t1;
        std::swap(members_[t1 * 4 + slot_[p1]], members_[t2 * 4 + slot_[p2]]);
        std::swap(slot_[p1], slot_[p2]);
    }

    // Draws the two players and exchanges their tables. False when the drawn player's table holds
    // every movable player (no second player to draw).
    bool makeMove(Move& m, bool withFactor) {
        const int k = static_cast<int>(unfixed_.size());
        m.p1 = unfixed_[runRandom().index(k)];
        m.t1 = tab_[m.p1];
        if (incremental_) {
            // The players to skip are the movable ones at t1: at most four list positions.
            int skip[4];
            int s = 0;
            for (int i = 0; i < 4; ++i) {
                const int q = members_[m.t1 * 4 + i];
                if (!fixed_[q]) {
                    int j = s++;
                    while (j > 0 && skip[j - 1] > position_[q]) {
                        skip[j] = skip[j - 1];
                        --j;
                    }
                    skip[j] = position_[q];
                }
            }
            const int l = k - s;
            if (l == 0)
                return false;
            int j = runRandom().index(l);
            for (int i = 0; i < s; ++i)
                if (skip[i] <= j)
                    ++j;
            m.p2 = unfixed_[j];
        } else {
            int l = 0;
            for (int q : unfixed_)
                if (tab_[q] != m.t1)
                    others_[l++] = q;
            if (l == 0)
                return false;
            m.p2 = others_[runRandom().index(l)];
        }
        m.t2 = tab_[m.p2];
        exchange(m.p1, m.p2);

        if (incremental_) {
            m.sum1 = tableSum_[m.t1];
            m.sum2 = tableSum_[m.t2];
            m.clean1 = tableClean_[m.t1];
            m.clean2 = tableClean_[m.t2];
            tableMeetings(m.t1, tableSum_[m.t1], tableClean_[m.t1]);
            tableMeetings(m.t2, tableSum_[m.t2], tableClean_[m.t2]);
            m.meetingSum = meetingSum_ - m.sum1 - m.sum2 + tableSum_[m.t1] + tableSum_[m.t2];
            m.cleanTables =
                cleanTables_ - m.clean1 - m.clean2 + tableClean_[m.t1] + tableClean_[m.t2];
        } else {
            fullMeetings(m.meetingSum, m.cleanTables);
        }
        meetingSum_ = m.meetingSum;
        cleanTables_ = m.cleanTables;
        m.factor = 0;
        if (withFactor && m.meetingSum == baseline_) {
            if (incremental_) {
                m.factor1 = tableFactor_[m.t1];
                m.factor2 = tableFactor_[m.t2];
                tableFactor_[m.t1] = tableFactor(m.t1);
                tableFactor_[m.t2] = tableFactor(m.t2);
                m.factor =
                    factor_ - m.factor1 - m.factor2 + tableFactor_[m.t1] + tableFactor_[m.t2];
            } else {
                m.factor = fullFactor();
            }
            factorValid_ = true;
            factor_ = m.factor;
        } else {
            factorValid_ = false;
        }
        return true;
    }

    void undo(const Move& m, int meetingSum, int cleanTables, int factor) {
        exchange(m.p1, m.p2);
        if (incremental_) {
            tableSum_[m.t1] = m.sum1;
            tableSum_[m.t2] = m.sum2;
            tableClean_[m.t1] = m.clean1;
            tableClean_[m.t2] = m.clean2;
            if (factorValid_) {
                tableFactor_[m.t1] = m.factor1;
                tableFactor_[m.t2] = m.factor2;
            }
        }
        meetingSum_ = meetingSum;
        cleanTables_ = cleanTables;
        factor_ = factor;
    }

    // Phase 1: remove every new meeting. True when the meetings are down to the baseline.
    bool repair() {
        int current = meetingSum_;
        if (current > baseline_ && !movable_)
            return false;
        int rejectRun = 0;
        int stall = 0;
        const long long n = n_;
        while (current > baseline_ && !stopRequested()) {
            if (unfixed_.empty())
                break;
            Move m{};
            const int beforeSum = meetingSum_;
            const int beforeClean = cleanTables_;
            if (!makeMove(m, false))
                continue;
            if (stats_)
                ++stats_->repairMoves;
            const int e = m.meetingSum;
            if (e < current) {
                current = e;
                stall = 0;
                rejectRun = 0;
            } else if (e == current && rejectRun > n) {
                rejectRun = 0;
            } else if (stall > n * n) {
                current = e;
                stall = 0;
            } else {
                undo(m, beforeSum, beforeClean, factor_);
                ++rejectRun;
                ++stall;
            }
            notifyVariant();
            if (job_ && m.cleanTables > job_->maxTables && job_->onTablesFilled)
                job_->onTablesFilled(*job_, m.cleanTables);
        }
        return current == baseline_;
    }

    // True when some exchange of two movable players keeps the meetings at the baseline. Draws
    // nothing and leaves the seating as it was.
    bool anyMoveKeepsMeetings() {
        const int k = static_cast<int>(unfixed_.size());
        for (int i = 0; i < k; ++i)
            for (int j = i + 1; j < k; ++j) {
                const int p1 = unfixed_[i];
                const int p2 = unfixed_[j];
                const int t1 = tab_[p1];
                const int t2 = tab_[p2];
                if (t1 == t2)
                    continue;
                int old1, old2, new1, new2;
                char clean;
                tableMeetings(t1, old1, clean);
                tableMeetings(t2, old2, clean);
                exchange(p1, p2);
                tableMeetings(t1, new1, clean);
                tableMeetings(t2, new2, clean);
                exchange(p1, p2);
                if (new1 + new2 == old1 + old2)
                    return true;
            }
        return false;
    }

    // Phase 2: lower the seating factor without new meetings; keeps the best seating found.
    void improve() {
        if (job_) {
            notify(job_->onImproveStart);
            notify(job_->onTimerReset);
            notify(job_->onVariantsReset);
        }
        std::copy(tab_, tab_ + n_, best_.begin());
        rank_ = rankByTotals(t_, totals_);
        if (incremental_) {
            factor_ = 0;
            for (int x = 0; x < tables_; ++x) {
                tableFactor_[x] = tableFactor(x);
                factor_ += tableFactor_[x];
            }
        } else {
            factor_ = fullFactor();
        }
        int current = factor_;
        int best = factor_;
        int rejectRun = 0;
        int stall = 0;
        int uphills = 0;
        long long meetingRun = 0; // moves in a row undone for a new meeting
        const long long n = n_;
        notifyFactor(best);
        while (!stopRequested()) {
            if (unfixed_.empty() || !movable_)
                break;
            Move m{};
            const int beforeSum = meetingSum_;
            const int beforeClean = cleanTables_;
            const int beforeFactor = factor_;
            if (!makeMove(m, true))
                continue;
            if (stats_)
                ++stats_->improveMoves;
            if (m.meetingSum != baseline_) {
                undo(m, beforeSum, beforeClean, beforeFactor);
                // A seating where every exchange adds a meeting never changes again; without
                // this check the phase would spin until stopped from outside.
                if (++meetingRun > n * n) {
                    meetingRun = 0;
                    if (!anyMoveKeepsMeetings())
                        break;
                }
            } else {
                meetingRun = 0;
                const int r = m.factor;
                if (r < current) {
                    current = r;
                    stall = 0;
                    rejectRun = 0;
                    if (r < best) {
                        best = r;
                        uphills = 0;
                        notifyFactor(r);
                        std::copy(tab_, tab_ + n_, best_.begin());
                    }
                } else if (r == current && rejectRun > n) {
                    rejectRun = 0;
                } else if (stall > n * n) {
                    current = r;
                    stall = 0;
                    ++uphills;
                } else {
                    undo(m, beforeSum, beforeClean, beforeFactor);
                    ++rejectRun;
                    ++stall;
                }
                notifyVariant();
            }
            if (uphills > n)
                break;
        }
        std::copy(best_.begin(), best_.end(), tab_);
    }

    // Tables ordered by the best rank at each, so the strongest table is table 0 again.
    void renumber() {
        std::fill(minRank_.begin(), minRank_.end(), n_);
        for (int p = 0; p < n_; ++p) {
            const int x = tab_[p];
            if (x >= 0 && x < tables_ && rank_[p] < minRank_[x])
                minRank_[x] = rank_[p];
        }
        for (int x = 0; x < tables_; ++x)
            order_[x] = x;
        for (int i = 0; i < tables_ - 1; ++i)
            for (int j = i + 1; j < tables_; ++j)
                if (minRank_[order_[j]] < minRank_[order_[i]])
                    std::swap(order_[i], order_[j]);
        // minRank_ is free now: reuse it for the new number of each table.
        for (int j = 0; j < tables_; ++j)
            minRank_[order_[j]] = j;
        for (int p = 0; p < n_; ++p) {
            const int x = tab_[p];
            if (x >= 0 && x < tables_)
                tab_[p] = minRank_[x];
        }
    }

    Tournament& t_;
    const std::vector<int>& totals_;
    SeatingJob* job_;
    RandomSearchStats* stats_;
    bool incremental_;
    int n_;
    int tables_;
    int* tab_;
    std::vector<char> fixed_;
    std::vector<int> unfixed_;  // movable players in ascending index
    std::vector<int> position_; // index of a movable player in unfixed_
    std::vector<int> slot_;     // a player's place among his table's members
    std::vector<int> members_;  // four per table
    std::vector<int> count_;
    std::vector<int> tableSum_;
    std::vector<char> tableClean_;
    std::vector<int> tableFactor_;
    std::vector<int> best_;
    std::vector<int> rank_;
    std::vector<int> others_;
    std::vector<int> scratch_;
    std::vector<int> order_;
    std::vector<int> minRank_;
    int baseline_ = 0;
    int meetingSum_ = 0;
    int cleanTables_ = 0;
    int factor_ = 0;
    bool factorValid_ = false;
    bool movable_ = false;
};

} // namespace

bool seatByRandomSearch(Tournament& t, int round, const std::vector<int>& totals, Recompute mode,
                        RandomSearchStats* stats) {
    if (round < 0 || round >= t.roundCount)
        return false;
    RandomSearch search(t, round, totals, mode, stats);
    return search.run();
}

} // namespace quelna
