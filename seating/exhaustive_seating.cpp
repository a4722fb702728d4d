#include "seating/exhaustive_seating.h"

#include <algorithm>

#include "seating/candidate_order.h"
#include "seating/seating_job.h"

namespace quelna {

namespace {

class TopTableSearch {
  public:
    TopTableSearch(Tournament& t, int round, const std::vector<int>& totals,
                   std::vector<char>& seated, int tables, SeatingJob& job)
        : t_(t), totals_(totals), seated_(seated), job_(&job),
          tab_(&t.tableOf[static_cast<std::size_t>(round) * t.playerCount]), n_(t.playerCount),
          tables_(t.tableCount()), limit_(tables), count_(tables_, 0),
          members_(static_cast<std::size_t>(tables_) * 4, -1), next_(n_ + 1), prev_(n_ + 1),
          candidates_(static_cast<std::size_t>(n_) * (n_ + 1) / 2 + n_) {
        const int overlap = std::clamp(job.options.overlapTables, 0, tables_);
        firstBottom_ = tables_ - overlap;
        for (int p = 0; p < n_; ++p) {
            const int table = tab_[p];
            if (seated_[p] && table < limit_)
                ++seatedBelowLimit_;
            if (table < 0 || table >= tables_)
                continue;
            if (count_[table] < 4)
                members_[table * 4 + count_[table]] = p;
            ++count_[table];
        }
        // Unseated players as a list in ascending index; unlinking and relinking in LIFO order
        // keeps that order without ever scanning seated players.
        int last = n_;
        for (int p = 0; p < n_; ++p) {
            if (seated_[p])
                continue;
            next_[last] = p;
            prev_[p] = last;
            last = p;
        }
        next_[last] = n_;
        prev_[n_] = last;
    }

    bool search() { return step(0); }

  private:
    bool stopRequested() const { return job_ && job_->stopRequested(); }

    void notifyVariant() {
        if (job_ && job_->onVariant)
            job_->onVariant(*job_);
    }

    void place(int p, int table) {
        const int* s = &members_[table * 4];
        for (int i = 0; i < count_[table]; ++i)
            t_.meetings.add(p, s[i]);
        members_[table * 4 + count_[table]] = p;
        ++count_[table];
        seated_[p] = 1;
        tab_[p] = table;
        if (table < limit_)
            ++seatedBelowLimit_;
        next_[prev_[p]] = next_[p];
        prev_[next_[p]] = prev_[p];
    }

    void undo(int p, int table) {
        next_[prev_[p]] = p;
        prev_[next_[p]] = p;
        if (table < limit_)
            --seatedBelowLimit_;
        tab_[p] = -1;
        seated_[p] = 0;
        --count_[table];
        members_[table * 4 + count_[table]] = -1;
        const int* s = &members_[table * 4];
        for (int i = 0; i < count_[table]; ++i)
            t_.meetings.subtract(p, s[i]);
    }

    bool better(int a, int b) const { return betterHead(t_, totals_, a, b); }

    bool step(int top) {
        if (stopRequested())
            return false;
        if (seatedBelowLimit_ == 4 * limit_) {
            notifyVariant();
            return true;
        }
        int table = 0;
        while (table < tables_ && count_[table] >= 4)
            ++table;
        if (table == tables_)
            return false; // only possible with overfull hand-placed tables

        if (count_[table] == 0) {
            // The head is the only choice for an empty table: never a backtracking point.
            int head = -1;
            for (int p = next_[n_]; p != n_; p = next_[p])
                if (head < 0 || better(p, head))
                    head = p;
            if (head < 0)
                return false;
            place(head, table);
            if (step(top))
                return true;
            undo(head, table);
            return false;
        }

        const bool bottom = table >= firstBottom_;
        const int* s = &members_[table * 4];
        const int sCount = count_[table];
        const int* cells = t_.meetings.cells().data();
        int* cand = &candidates_[top];
        int k = 0;
        for (int c = next_[n_]; c != n_; c = next_[c]) {
            if (!bottom) {
                int met = 0;
                for (int i = 0; i < sCount; ++i)
                    met += cells[c * n_ + s[i]];
                if (met != 0)
                    continue;
            }
            cand[k++] = c;
        }
        if (k == 0) {
            notifyVariant();
            if (job_ && table > job_->maxTables && job_->onTablesFilled)
                job_->onTablesFilled(*job_, table);
            return false;
        }

        orderCandidates(cand, k, totals_);

        for (int i = 0; i < k; ++i) {
            const int c = cand[i];
            place(c, table);
            if (step(top + k))
                return true;
            undo(c, table);
        }
        return false;
    }

    Tournament& t_;
    const std::vector<int>& totals_;
    std::vector<char>& seated_;
    SeatingJob* job_;
    int* tab_;
    int n_;
    int tables_;
    int limit_;
    int firstBottom_ = 0;
    int seatedBelowLimit_ = 0;
    std::vector<int> count_;
    std::vector<int> members_;
    std::vector<int> next_;
    std::vector<int> prev_;
    std::vector<int> candidates_;
};

} // namespace

bool seatTopTables(Tournament& t, int round, const std::vector<int>& totals,
                   std::vector<char>& seated, int tables, SeatingJob& job) {
    if (round < 0 || round >= t.roundCount || tables < 1 || tables > t.tableCount())
        return false;
    TopTableSearch search(t, round, totals, seated, tables, job);
    return search.search();
}

} // namespace quelna
