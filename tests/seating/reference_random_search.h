#pragma once
// The random search written as plainly as possible: every move is judged by recounting the whole
// seating, with the report's seating factor. It draws exactly as the engine does, so given the
// same generator both must make the same moves and reach the same seating.
#include <algorithm>
#include <vector>

#include "core/random.h"
#include "core/tournament.h"
#include "seating/random_search.h"
#include "seating/seating_factor.h"
#include "seating/seating_job.h"

namespace quelna::test {

class ReferenceRandomSearch {
  public:
    ReferenceRandomSearch(Tournament& t, int round, Random& random, SeatingJob& job,
                          RandomSearchStats& stats)
        : t_(t), round_(round), n_(t.playerCount), random_(random), stats_(stats), job_(job) {}

    bool run(const std::vector<int>& totals) {
        std::vector<int> count(t_.tableCount(), 0);
        for (int p = 0; p < n_; ++p) {
            const int x = table(p);
            if (x == -1)
                continue;
            if (x < 0 || x >= t_.tableCount() || ++count[x] > 4)
                return false;
        }
        const int baseline = meetingSum();
        for (int p = 0; p < n_; ++p)
            if (table(p) == -1) {
                table(p) = static_cast<int>(
                    std::find_if(count.begin(), count.end(), [](int c) { return c < 4; }) -
                    count.begin());
                ++count[table(p)];
                unfixed_.push_back(p);
            }

        // Repair: judged on the meeting sum.
        int current = meetingSum();
        if (current > baseline && !anyMove([] { return true; }))
            return false;
        long long rejectRun = 0, stall = 0;
        while (current > baseline && !stopped() && !unfixed_.empty()) {
            int p1, p2;
            if (!move(p1, p2))
                continue;
            ++stats_.repairMoves;
            const int e = meetingSum();
            const int clean = cleanTables();
            judge(e, current, rejectRun, stall, [&] { std::swap(table(p1), table(p2)); });
            notify(job_.onVariant);
            if (clean > job_.maxTables && job_.onTablesFilled)
                job_.onTablesFilled(job_, clean);
        }
        if (current != baseline)
            return false;

        // Improvement: judged on the factor, among seatings without new meetings.
        notify(job_.onImproveStart);
        notify(job_.onTimerReset);
        notify(job_.onVariantsReset);
        const std::vector<int> rank = rankByTotals(t_, totals);
        std::vector<int> best = row();
        int bestFactor = seatingFactor(t_, round_, rank);
        current = bestFactor;
        rejectRun = stall = 0;
        long long uphills = 0, meetingRun = 0;
        factor(bestFactor);
        const long long n = n_;
        while (!stopped() && anyMove([] { return true; })) {
            int p1, p2;
            if (!move(p1, p2))
                continue;
            ++stats_.improveMoves;
            if (meetingSum() != baseline) {
                std::swap(table(p1), table(p2));
                if (++meetingRun > n * n) {
                    meetingRun = 0;
                    if (!anyMove([&] { return meetingSum() == baseline; }))
                        break;
                }
                continue;
            }
            meetingRun = 0;
            const int r = seatingFactor(t_, round_, rank);
            const Kept kept =
                judge(r, current, rejectRun, stall, [&] { std::swap(table(p1), table(p2)); });
            if (kept == Kept::Better && r < bestFactor) {
                bestFactor = r;
                uphills = 0;
                factor(r);
                best = row();
            } else if (kept == Kept::Uphill) {
                ++uphills;
            }
            notify(job_.onVariant);
            if (uphills > n)
                break;
        }

        // The best seating, its tables numbered by the best rank at each.
        std::vector<int> minRank(t_.tableCount(), n_);
        for (int p = 0; p < n_; ++p)
            minRank[best[p]] = std::min(minRank[best[p]], rank[p]);
        std::vector<int> order(t_.tableCount());
        for (int x = 0; x < t_.tableCount(); ++x)
            order[x] = x;
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return minRank[a] < minRank[b]; });
        std::vector<int> number(t_.tableCount());
        for (int j = 0; j < t_.tableCount(); ++j)
            number[order[j]] = j;
        for (int p = 0; p < n_; ++p)
            table(p) = number[best[p]];
        return true;
    }

  private:
    int& table(int p) { return t_.tableAt(round_, p); }
    std::vector<int> row() const {
        return {t_.tableOf.begin() + t_.index(round_, 0),
                t_.tableOf.begin() + t_.index(round_ + 1, 0)};
    }
    bool stopped() const { return job_.stopRequested(); }
    void notify(const SeatingJob::Notify& slot) {
        if (slot)
            slot(job_);
    }
    void factor(int f) {
        if (job_.onFactor)
            job_.onFactor(job_, (f - 10 * t_.tableCount()) / t_.tableCount());
    }

    int meetingSum() const {
        int sum = 0;
        for (int a = 0; a < n_; ++a)
            for (int b = a + 1; b < n_; ++b)
                if (t_.tableAt(round_, a) != -1 && t_.tableAt(round_, a) == t_.tableAt(round_, b))
                    sum += t_.meetings.at(a, b);
        return sum;
    }
    int cleanTables() const {
        std::vector<char> clean(t_.tableCount(), 1);
        for (int a = 0; a < n_; ++a)
            for (int b = a + 1; b < n_; ++b)
                if (t_.tableAt(round_, a) == t_.tableAt(round_, b) && t_.meetings.at(a, b) != 0)
                    clean[t_.tableAt(round_, a)] = 0;
        return static_cast<int>(std::count(clean.begin(), clean.end(), 1));
    }

    // Some exchange of two movable players at different tables after which `keeps` holds.
    template <typename Keeps> bool anyMove(Keeps keeps) {
        for (int p : unfixed_)
            for (int q : unfixed_)
                if (p < q && table(p) != table(q)) {
                    std::swap(table(p), table(q));
                    const bool kept = keeps();
                    std::swap(table(p), table(q));
                    if (kept)
                        return true;
                }
        return false;
    }

    bool move(int& p1, int& p2) {
        p1 = unfixed_[random_.index(static_cast<int>(unfixed_.size()))];
        std::vector<int> others;
        for (int q : unfixed_)
            if (table(q) != table(p1))
                others.push_back(q);
        if (others.empty())
            return false;
        p2 = others[random_.index(static_cast<int>(others.size()))];
        std::swap(table(p1), table(p2));
        return true;
    }

    // The acceptance rule, written out: improvement, sideways after more than N rejections in a
    // row, uphill after more than N^2 rejections without improvement, else undo.
    enum class Kept { Better, Sideways, Uphill, No };
    template <typename Undo>
    Kept judge(int e, int& current, long long& rejectRun, long long& stall, Undo undo) {
        const long long n = n_;
        if (e < current) {
            current = e;
            stall = rejectRun = 0;
            return Kept::Better;
        }
        if (e == current && rejectRun > n) {
            rejectRun = 0;
            return Kept::Sideways;
        }
        if (stall > n * n) {
            current = e;
            stall = 0;
            return Kept::Uphill;
        }
        undo();
        ++rejectRun;
        ++stall;
        return Kept::No;
    }

    Tournament& t_;
    int round_;
    int n_;
    Random& random_;
    RandomSearchStats& stats_;
    SeatingJob& job_;
    std::vector<int> unfixed_; // movable players in ascending index
};

} // namespace quelna::test
