#include "seating/exhaustive_fast.h"

#include <algorithm>

#include "seating/candidate_order.h"
#include "seating/completion_oracle.h"
#include "seating/exhaustive_seating.h"
#include "seating/seating_job.h"

namespace quelna {

namespace {

// The sets hold at most 256 players, and the meeting test of the plain search is a sum, which
// equals "met nobody" only while no count is negative; anything else is left to the plain search.
bool fastSearchApplies(const Tournament& t, int round) {
    if (t.playerCount > PlayerSet::kCapacity)
        return false;
    std::vector<int> count(t.tableCount(), 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int x = t.tableAt(round, p);
        if (x != -1 && (x < 0 || x >= t.tableCount() || ++count[x] > 4))
            return false;
    }
    const auto& cells = t.meetings.cells();
    return std::none_of(cells.begin(), cells.end(), [](int c) { return c < 0; });
}

RoundShape shapeOf(const Tournament& t, int round, const std::vector<char>& seated, int limit,
                   int overlapTables) {
    RoundShape shape;
    shape.tables = t.tableCount();
    shape.limit = limit;
    const int overlap = std::clamp(overlapTables, 0, shape.tables);
    shape.strictEnd = std::min(limit, shape.tables - overlap);
    shape.onEntry.resize(shape.tables);
    for (int p = 0; p < t.playerCount; ++p) {
        const int x = t.tableAt(round, p);
        if (x < 0 || !seated[p])
            continue;
        shape.onEntry[x].add(p);
        if (x < shape.strictEnd)
            shape.lastHandStrict = std::max(shape.lastHandStrict, x);
    }
    shape.mates.resize(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        for (int q = 0; q < t.playerCount; ++q)
            if (q != p && t.meetings.at(p, q) == 0)
                shape.mates[p].add(q);
    return shape;
}

class FastTopTables {
  public:
    FastTopTables(Tournament& t, int round, const std::vector<int>& totals,
                  std::vector<char>& seated, int limit, SeatingJob& job)
        : t_(t), totals_(totals), seated_(seated), job_(&job),
          tab_(&t.tableOf[static_cast<std::size_t>(round) * t.playerCount]),
          shape_(shapeOf(t, round, seated, limit, job.options.overlapTables)), oracle_(t, totals, shape_, job_),
          members_(shape_.tables) {
        for (int p = 0; p < t.playerCount; ++p) {
            if (!seated_[p])
                unseated_.add(p);
            else if (tab_[p] >= 0 && tab_[p] < limit)
                ++seatedBelowLimit_;
            if (tab_[p] >= 0)
                members_[tab_[p]].push_back(p);
        }
        candidates_.reserve(t.playerCount);
    }

    bool search() {
        if (stopRequested())
            return false;
        if (!entryCanBeCompleted())
            return false;
        while (!complete()) {
            if (stopRequested() || !placeNext()) {
                undoAll();
                return false;
            }
        }
        notifyVariant();
        return true;
    }

  private:
    bool stopRequested() const { return job_ && job_->stopRequested(); }
    void notifyVariant() {
        if (job_ && job_->onVariant)
            job_->onVariant(*job_);
    }
    bool complete() const { return seatedBelowLimit_ == 4 * shape_.limit; }

    int firstOpenTable() const {
        int table = 0;
        while (table < shape_.tables && members_[table].size() >= 4)
            ++table;
        return table;
    }

    PlayerSet atTable(int table) const {
        PlayerSet s;
        for (int p : members_[table])
            s.add(p);
        return s;
    }

    // From here on every placement keeps a completion possible, so the search never backtracks.
    bool entryCanBeCompleted() {
        if (complete())
            return true;
        const int table = firstOpenTable();
        if (table >= shape_.tables)
            return false;
        const PlayerSet s = atTable(table);
        const Verdict verdict = s.empty()
                                    ? oracle_.canFillFrom(unseated_, table)
                                    : oracle_.canCompleteTable(unseated_, table, s, 4 - s.size());
        return verdict == Verdict::Possible;
    }

    // One placement: the head of an empty table, or the first candidate in the plain search's
    // order after which the round can still be completed.
    bool placeNext() {
        const int table = firstOpenTable();
        if (table >= shape_.tables)
            return false;
        if (members_[table].empty()) {
            place(headOf(), table);
            return true;
        }
        collectCandidates(table);
        for (int c : candidates_) {
            const Verdict verdict = completionAfter(c, table);
            if (verdict == Verdict::Stopped)
                return false;
            if (verdict == Verdict::Possible) {
                place(c, table);
                return true;
            }
            notifyVariant(); // a subtree cut without entering it
        }
        return false;
    }

    int headOf() const {
        int head = -1;
        unseated_.forEach([&](int p) {
            if (head < 0 || betterHead(t_, totals_, p, head))
                head = p;
        });
        return head;
    }

    void collectCandidates(int table) {
        candidates_.clear();
        const bool bottom = table >= shape_.strictEnd;
        unseated_.forEach([&](int c) {
            if (bottom || std::all_of(members_[table].begin(), members_[table].end(),
                                      [&](int s) { return t_.meetings.at(c, s) == 0; }))
                candidates_.push_back(c);
        });
        orderCandidates(candidates_.data(), static_cast<int>(candidates_.size()), totals_);
    }

    Verdict completionAfter(int c, int table) {
        if (table >= shape_.strictEnd)
            return Verdict::Possible;
        PlayerSet rest = unseated_;
        rest.remove(c);
        PlayerSet s = atTable(table);
        s.add(c);
        if (s.size() == 4)
            return oracle_.canFillFrom(rest, table + 1);
        return oracle_.canCompleteTable(rest, table, s, 4 - s.size());
    }

    void place(int p, int table) {
        for (int s : members_[table])
            t_.meetings.add(p, s);
        members_[table].push_back(p);
        seated_[p] = 1;
        tab_[p] = table;
        unseated_.remove(p);
        if (table < shape_.limit)
            ++seatedBelowLimit_;
        placed_.push_back(p);
    }

    void undoAll() {
        for (; !placed_.empty(); placed_.pop_back()) {
            const int p = placed_.back();
            const int table = tab_[p];
            members_[table].pop_back();
            for (int s : members_[table])
                t_.meetings.subtract(p, s);
            if (table < shape_.limit)
                --seatedBelowLimit_;
            unseated_.add(p);
            tab_[p] = -1;
            seated_[p] = 0;
        }
    }

    Tournament& t_;
    const std::vector<int>& totals_;
    std::vector<char>& seated_;
    SeatingJob* job_;
    int* tab_;
    RoundShape shape_;
    CompletionOracle oracle_;
    std::vector<std::vector<int>> members_;
    PlayerSet unseated_;
    int seatedBelowLimit_ = 0;
    std::vector<int> candidates_;
    std::vector<int> placed_;
};

} // namespace

bool seatTopTablesFast(Tournament& t, int round, const std::vector<int>& totals,
                       std::vector<char>& seated, int tables, SeatingJob& job) {
    if (round < 0 || round >= t.roundCount || tables < 1 || tables > t.tableCount())
        return false;
    if (!fastSearchApplies(t, round))
        return seatTopTables(t, round, totals, seated, tables, job);
    FastTopTables search(t, round, totals, seated, tables, job);
    return search.search();
}

} // namespace quelna
