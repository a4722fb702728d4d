#include "seating/plan_ahead.h"

#include <algorithm>
#include <optional>

#include "seating/candidate_order.h"
#include "seating/schedule_search.h"

namespace quelna {

namespace {

// Budgets in exchanges weighed, not seconds, so that a round is planned alike on any machine and
// a seating can be re-derived from its file. About 5 million are weighed per second here.
constexpr long long kTryBudget = 3'000'000;       // one try at a witness of the most rounds
constexpr int kTries = 5;                         // tries from fresh schedules before one round fewer
constexpr long long kShorterBudget = 1'500'000;   // each round fewer
constexpr long long kCandidateBudget = 600'000;   // one candidate of the search in order
constexpr long long kRoundBudget = 40'000'000;    // everything for one round

class Planner {
  public:
    Planner(Tournament& t, const PlanInput& input, SeatingJob& job)
        : t_(t), in_(input), job_(job), n_(t.playerCount), tables_(t.tableCount()),
          strictTables_(tables_ - std::clamp(job.options.overlapTables, 0, tables_)),
          following_(t.roundCount - input.round - 1) {}

    int run() {
        if (following_ <= 0)
            return 0;
        if (job_.onPlanStart)
            job_.onPlanStart(job_);
        std::vector<int> plain(n_);
        for (int p = 0; p < n_; ++p)
            plain[p] = t_.tableAt(in_.round, p);
        std::optional<ScheduleSearch> plainWitness;
        const int plainAhead =
            longestWitness(plain, std::vector<char>(n_, 1), 0x5eed0001, -1, &plainWitness);
        if (plainAhead >= following_ || stopped())
            return report(plainWitness, plainAhead);

        std::vector<char> hands(n_, 0);
        for (int p = 0; p < n_; ++p)
            hands[p] = in_.handTables[p] >= 0;
        std::optional<ScheduleSearch> open;
        const int openAhead = longestWitness(in_.handTables, hands, 0x5eed0002, plainAhead, &open);
        if (openAhead <= plainAhead || !open || stopped())
            return report(plainWitness, plainAhead);
        std::optional<ScheduleSearch> witness;
        const std::vector<int> seating = seatInOrder(std::move(*open), &witness);
        if (!witness)
            return report(plainWitness, plainAhead);
        commit(seating);
        return report(witness, openAhead);
    }

  private:
    bool stopped() const { return job_.stopRequested(); }

    int report(const std::optional<ScheduleSearch>& witness, int ahead) const {
        if (in_.witness) {
            in_.witness->clear();
            for (int r = 1; witness && r <= ahead; ++r) {
                std::vector<int> tables(n_);
                for (int p = 0; p < n_; ++p)
                    tables[p] = witness->tableOf(r, p);
                in_.witness->push_back(std::move(tables));
            }
        }
        return ahead;
    }
    bool budgetLeft() const { return spent_ < kRoundBudget && !stopped(); }

    // Rounds ahead a player can still sit among strangers only: three new ones each round.
    int roundsAheadBound(const std::vector<int>& firstRound, bool firstRoundOpen) const {
        if (strictTables_ < tables_)
            return following_;
        int bound = following_;
        for (int p = 0; p < n_; ++p) {
            int strangers = 0;
            for (int q = 0; q < n_; ++q) {
                bool met = q == p || in_.before.at(p, q) > 0;
                if (!firstRoundOpen && firstRound[p] >= 0 && firstRound[p] == firstRound[q])
                    met = true;
                strangers += met ? 0 : 1;
            }
            bound = std::min(bound, strangers / 3 - (firstRoundOpen ? 1 : 0));
        }
        return std::max(bound, 0);
    }

    // The most following rounds, above `atLeast`, a witness is found for with this round 0: a
    // few tries from fresh schedules for as many rounds as the players can still have, then one
    // round fewer at a time, from the best schedule found without its worst round.
    int longestWitness(const std::vector<int>& firstRound, const std::vector<char>& pinned,
                       std::uint64_t seed, int atLeast = -1,
                       std::optional<ScheduleSearch>* kept = nullptr) {
        const bool open = std::any_of(pinned.begin(), pinned.end(), [](char c) { return !c; });
        const int rounds = roundsAheadBound(firstRound, open);
        const int floor = std::max(atLeast, 0);
        std::optional<ScheduleSearch> best;
        seed ^= static_cast<std::uint64_t>(in_.round) << 32;
        for (int tries = 0; tries < kTries && rounds > floor && budgetLeft(); ++tries) {
            ScheduleSearch search(in_.before, tables_ - strictTables_, firstRound, pinned, rounds,
                                  seed + static_cast<std::uint64_t>(tries));
            if (found(search, kTryBudget, open)) {
                if (kept)
                    kept->emplace(std::move(search));
                return rounds;
            }
            if (!best || search.conflicts() < best->conflicts())
                best.emplace(std::move(search));
        }
        while (best && best->followingRounds() > floor + 1 && budgetLeft()) {
            best->dropWorstRound();
            if (found(*best, kShorterBudget, open)) {
                const int ahead = best->followingRounds();
                if (kept)
                    kept->emplace(std::move(*best));
                return ahead;
            }
        }
        return floor;
    }

    bool found(ScheduleSearch& search, long long budget, bool open) {
        const long long before = search.exchangesWeighed();
        const bool free = search.search(budget, [this] { return stopped(); });
        spent_ += search.exchangesWeighed() - before;
        return free && (!open || realize(search, 0));
    }

    // The exhaustive search's order, each placement taken from the witness's round 0 unless an
    // earlier candidate has a witness of its own.
    std::vector<int> seatInOrder(ScheduleSearch witness, std::optional<ScheduleSearch>* kept) {
        std::vector<std::vector<int>> members(tables_);
        std::vector<char> unseated(n_, 1);
        for (int p = 0; p < n_; ++p)
            if (in_.handTables[p] >= 0) {
                members[in_.handTables[p]].push_back(p);
                unseated[p] = 0;
            }
        for (;;) {
            int table = 0;
            while (table < tables_ && members[table].size() >= 4)
                ++table;
            if (table >= tables_)
                break;
            int chosen = -1;
            if (members[table].empty()) {
                chosen = headOf(unseated);
            } else {
                const std::vector<int> group = witness.playersAt(0, table);
                for (int c : candidatesAt(table, members[table], unseated)) {
                    if (std::find(group.begin(), group.end(), c) != group.end()) {
                        chosen = c;
                        break;
                    }
                    if (!budgetLeft())
                        continue;
                    ScheduleSearch trial = witness;
                    if (!trial.pinToTable(c, table))
                        continue;
                    const long long before = trial.exchangesWeighed();
                    const bool free = trial.search(kCandidateBudget, [this] { return stopped(); });
                    spent_ += trial.exchangesWeighed() - before;
                    if (free && realize(trial, table)) {
                        witness = std::move(trial);
                        chosen = c;
                        break;
                    }
                }
            }
            // The witness always holds a candidate: its group at this table.
            if (chosen < 0 || !witness.pinToTable(chosen, table)) {
                kept->reset();
                return currentSeating();
            }
            members[table].push_back(chosen);
            unseated[chosen] = 0;
        }
        std::vector<int> seating(n_, -1);
        for (int x = 0; x < tables_; ++x)
            for (int p : members[x])
                seating[p] = x;
        kept->emplace(std::move(witness));
        return seating;
    }

    std::vector<int> currentSeating() const {
        std::vector<int> seating(n_);
        for (int p = 0; p < n_; ++p)
            seating[p] = t_.tableAt(in_.round, p);
        return seating;
    }

    int headOf(const std::vector<char>& unseated) const {
        int head = -1;
        for (int p = 0; p < n_; ++p)
            if (unseated[p] && (head < 0 || betterHead(t_, *in_.totals, p, head)))
                head = p;
        return head;
    }

    std::vector<int> candidatesAt(int table, const std::vector<int>& atTable,
                                  const std::vector<char>& unseated) const {
        std::vector<int> list;
        for (int c = 0; c < n_; ++c)
            if (unseated[c] && (table >= strictTables_ ||
                                std::all_of(atTable.begin(), atTable.end(),
                                            [&](int s) { return in_.before.at(c, s) == 0; })))
                list.push_back(c);
        orderCandidates(list.data(), static_cast<int>(list.size()), *in_.totals);
        return list;
    }

    // Round 0 of the witness as the exhaustive search would lay it out from `from` on: a table
    // with players fixed at it keeps its group, an empty one takes the group of the best player
    // left, and a group that lands on a table where repeats count must have none. False when the
    // search could not reach this round 0; otherwise its tables are put in that order.
    bool realize(ScheduleSearch& w, int from) const {
        std::vector<int> newTable(tables_, -1);
        std::vector<char> taken(tables_, 0);
        for (int x = 0; x < from; ++x) {
            newTable[x] = x;
            taken[x] = 1;
        }
        for (int x = from; x < tables_; ++x) {
            int group = -1;
            const std::vector<int> here = w.playersAt(0, x);
            if (std::any_of(here.begin(), here.end(), [&](int p) { return w.pinned(p); })) {
                group = x;
            } else {
                int head = -1;
                for (int p = 0; p < n_; ++p)
                    if (!w.pinned(p) && !taken[w.tableOf(0, p)] &&
                        (head < 0 || betterHead(t_, *in_.totals, p, head)))
                        head = p;
                if (head < 0)
                    return false;
                group = w.tableOf(0, head);
                const std::vector<int> members = w.playersAt(0, group);
                if (std::any_of(members.begin(), members.end(), [&](int p) { return w.pinned(p); }))
                    return false;
            }
            if (taken[group])
                return false;
            taken[group] = 1;
            newTable[group] = x;
            if (x < strictTables_) {
                const std::vector<int> g = w.playersAt(0, group);
                for (int i = 0; i < 4; ++i)
                    for (int j = i + 1; j < 4; ++j)
                        if (w.meetingsOf(g[i], g[j]) != 1)
                            return false;
            }
        }
        w.reorderFirstRound(newTable);
        return w.conflicts() == 0;
    }

    // The round as the exhaustive search leaves a seating: its tables, its pairs in the matrix.
    void commit(const std::vector<int>& seating) {
        t_.meetings = in_.before;
        for (int p = 0; p < n_; ++p)
            t_.tableAt(in_.round, p) = seating[p];
        for (int p = 0; p < n_; ++p)
            for (int q = p + 1; q < n_; ++q)
                if (seating[p] >= 0 && seating[p] == seating[q])
                    t_.meetings.add(p, q);
    }

    Tournament& t_;
    const PlanInput& in_;
    SeatingJob& job_;
    int n_;
    int tables_;
    int strictTables_;
    int following_;
    long long spent_ = 0;
};

} // namespace

int planAhead(Tournament& t, const PlanInput& input, SeatingJob& job) {
    return Planner(t, input, job).run();
}

} // namespace quelna
