#include "seating/random_search.h"

#include <algorithm>
#include <cassert>

#include "core/exchange_sort.h"
#include "seating/acceptance_rule.h"
#include "seating/seating_factor.h"
#include "seating/seating_job.h"

namespace quelna {

namespace {

// Debug builds recount the incrementally kept sums from the round's tables this often (in
// moves), and at the end of each phase.
constexpr long long kCheckEvery = 1024;

class RandomSearch {
  public:
    RandomSearch(Tournament& t, int round, const std::vector<int>& totals, Random& random,
                 SeatingJob& job, RandomSearchStats* stats)
        : t_(t), round_(round), totals_(totals), random_(random), job_(&job), stats_(stats),
          n_(t.playerCount), tables_(t.tableCount()),
          tab_(&t.tableOf[static_cast<std::size_t>(round) * t.playerCount]), fixed_(n_, 0),
          position_(n_, -1), slot_(n_, 0), members_(static_cast<std::size_t>(tables_) * 4, -1),
          count_(tables_, 0), tableSum_(tables_, 0), tableClean_(tables_, 1),
          tableFactor_(tables_, 0), best_(n_), rank_(n_, 0), order_(tables_), minRank_(tables_) {
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

    // Pair sum of the meetings among `count` players at one table; clean when no pair has met.
    int meetingsAmong(const int* players, int count, char& clean) const {
        const int* cells = t_.meetings.cells().data();
        int sum = 0;
        clean = 1;
        for (int i = 0; i < count; ++i)
            for (int j = i + 1; j < count; ++j) {
                const int v = cells[players[i] * n_ + players[j]];
                sum += v;
                if (v != 0)
                    clean = 0;
            }
        return sum;
    }
    void tableMeetings(int x, int& sum, char& clean) const {
        sum = meetingsAmong(&members_[x * 4], 4, clean);
    }
    int tableFactorOf(int x) const { return tableFactor(&members_[x * 4], 4, rank_); }

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
            members_[x * 4 + count_[x]++] = p;
        }
        baseline_ = 0;
        for (int x = 0; x < tables_; ++x) {
            char clean;
            baseline_ += meetingsAmong(&members_[x * 4], count_[x], clean);
        }

        // Fill in ascending index, not by totals.
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
        m.p1 = unfixed_[random_.index(k)];
        m.t1 = tab_[m.p1];
        // The second player is drawn from the movable players at other tables in ascending
        // index: skip the list positions of the movable ones at t1 (at most four).
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
        int j = random_.index(l);
        for (int i = 0; i < s; ++i)
            if (skip[i] <= j)
                ++j;
        m.p2 = unfixed_[j];
        m.t2 = tab_[m.p2];
        exchange(m.p1, m.p2);

        m.sum1 = tableSum_[m.t1];
        m.sum2 = tableSum_[m.t2];
        m.clean1 = tableClean_[m.t1];
        m.clean2 = tableClean_[m.t2];
        tableMeetings(m.t1, tableSum_[m.t1], tableClean_[m.t1]);
        tableMeetings(m.t2, tableSum_[m.t2], tableClean_[m.t2]);
        m.meetingSum = meetingSum_ - m.sum1 - m.sum2 + tableSum_[m.t1] + tableSum_[m.t2];
        m.cleanTables = cleanTables_ - m.clean1 - m.clean2 + tableClean_[m.t1] + tableClean_[m.t2];
        meetingSum_ = m.meetingSum;
        cleanTables_ = m.cleanTables;
        m.factor = 0;
        factorValid_ = withFactor && m.meetingSum == baseline_;
        if (factorValid_) {
            m.factor1 = tableFactor_[m.t1];
            m.factor2 = tableFactor_[m.t2];
            tableFactor_[m.t1] = tableFactorOf(m.t1);
            tableFactor_[m.t2] = tableFactorOf(m.t2);
            m.factor = factor_ - m.factor1 - m.factor2 + tableFactor_[m.t1] + tableFactor_[m.t2];
            factor_ = m.factor;
        }
        ++moves_;
        return true;
    }

    void undo(const Move& m, int meetingSum, int cleanTables, int factor) {
        exchange(m.p1, m.p2);
        tableSum_[m.t1] = m.sum1;
        tableSum_[m.t2] = m.sum2;
        tableClean_[m.t1] = m.clean1;
        tableClean_[m.t2] = m.clean2;
        if (factorValid_) {
            tableFactor_[m.t1] = m.factor1;
            tableFactor_[m.t2] = m.factor2;
        }
        meetingSum_ = meetingSum;
        cleanTables_ = cleanTables;
        factor_ = factor;
    }

    // The incremental sums against a recount from the round's tables; debug builds only.
    void checkSums(bool withFactor, bool now = false) const {
#ifndef NDEBUG
        if (!now && moves_ % kCheckEvery != 0)
            return;
        int sum = 0;
        std::vector<char> clean(tables_, 1);
        for (int a = 0; a < n_; ++a)
            for (int b = a + 1; b < n_; ++b)
                if (tab_[a] == tab_[b] && t_.meetings.at(a, b) != 0) {
                    sum += t_.meetings.at(a, b);
                    clean[tab_[a]] = 0;
                }
        assert(sum == meetingSum_);
        assert(std::count(clean.begin(), clean.end(), 1) == cleanTables_);
        assert(!withFactor || factor_ == seatingFactor(t_, round_, rank_));
#else
        (void)withFactor;
        (void)now;
#endif
    }

    // Phase 1: remove every new meeting. True when the meetings are down to the baseline.
    bool repair() {
        if (meetingSum_ > baseline_ && !movable_)
            return false;
        AcceptanceRule rule(n_);
        rule.start(meetingSum_);
        while (rule.current() > baseline_ && !stopRequested()) {
            if (unfixed_.empty())
                break;
            Move m{};
            const int beforeSum = meetingSum_;
            const int beforeClean = cleanTables_;
            if (!makeMove(m, false))
                continue;
            if (stats_)
                ++stats_->repairMoves;
            if (rule.judge(m.meetingSum) == Verdict::Rejected)
                undo(m, beforeSum, beforeClean, factor_);
            notifyVariant();
            if (job_ && m.cleanTables > job_->maxTables && job_->onTablesFilled)
                job_->onTablesFilled(*job_, m.cleanTables);
            checkSums(false);
        }
        checkSums(false, true);
        return rule.current() == baseline_;
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
        factor_ = 0;
        for (int x = 0; x < tables_; ++x) {
            tableFactor_[x] = tableFactorOf(x);
            factor_ += tableFactor_[x];
        }
        AcceptanceRule rule(n_);
        rule.start(factor_);
        int best = factor_;
        long long uphills = 0;    // uphill moves since the last new best
        long long meetingRun = 0; // moves in a row undone for a new meeting
        const long long n = n_;
        // A seating where every exchange adds a meeting never changes again; after this many
        // such moves in a row the phase checks for one, or it would spin until stopped.
        const long long stuckCheckAfter = n * n;
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
                if (++meetingRun > stuckCheckAfter) {
                    meetingRun = 0;
                    if (!anyMoveKeepsMeetings())
                        break;
                }
            } else {
                meetingRun = 0;
                switch (rule.judge(m.factor)) {
                case Verdict::Improvement:
                    if (m.factor < best) {
                        best = m.factor;
                        uphills = 0;
                        notifyFactor(best);
                        std::copy(tab_, tab_ + n_, best_.begin());
                    }
                    break;
                case Verdict::Uphill:
                    ++uphills;
                    break;
                case Verdict::Sideways:
                    break;
                case Verdict::Rejected:
                    undo(m, beforeSum, beforeClean, beforeFactor);
                    break;
                }
                notifyVariant();
            }
            checkSums(true);
            if (uphills > n)
                break;
        }
        checkSums(true, true);
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
        exchangeSort(order_, [&](int a, int b) { return minRank_[b] < minRank_[a]; });
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
    int round_;
    const std::vector<int>& totals_;
    Random& random_;
    SeatingJob* job_;
    RandomSearchStats* stats_;
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
    std::vector<int> order_;
    std::vector<int> minRank_;
    int baseline_ = 0;
    int meetingSum_ = 0;
    int cleanTables_ = 0;
    int factor_ = 0;
    bool factorValid_ = false;
    bool movable_ = false;
    long long moves_ = 0;
};

} // namespace

bool seatByRandomSearch(Tournament& t, int round, const std::vector<int>& totals, Random& random,
                        SeatingJob& job, RandomSearchStats* stats) {
    if (round < 0 || round >= t.roundCount)
        return false;
    RandomSearch search(t, round, totals, random, job, stats);
    return search.run();
}

} // namespace quelna
