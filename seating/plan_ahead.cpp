#include "seating/plan_ahead.h"

#include <algorithm>
#include <mutex>
#include <optional>

#include "seating/candidate_order.h"
#include "seating/exhaustive_fast.h"
#include "seating/schedule_search.h"

namespace quelna {

namespace {

// Budgets in exchanges weighed, not seconds, so that a round is planned alike on any machine and
// a seating can be re-derived from its file. About 5 million are weighed per second here.
constexpr long long kQuickBudget = 200'000;      // the plain rule's seating, first look
constexpr long long kTryBudget = 3'000'000;       // one try at a witness of the most rounds
constexpr int kTries = 5;                         // tries from fresh schedules before one round fewer
constexpr long long kShorterBudget = 1'500'000;   // each round fewer
constexpr long long kCandidateBudget = 600'000;   // one candidate of the search in order
constexpr long long kRoundBudget = 40'000'000;    // everything for one round

// A round planned: its seating, how many following rounds were shown seatable, and the witness.
struct RoundPlan {
    std::vector<int> seating;
    int ahead = 0;
    std::vector<std::vector<int>> witness;
};

// The last rounds planned in this process, by everything their planning depended on. The next
// round's planning asks for the previous round's witness, which is then at hand instead of being
// searched for again; a file read afresh gets the same answer, only slower.
class KnownPlans {
  public:
    bool find(const std::vector<int>& key, RoundPlan* plan) {
        std::lock_guard lock(mutex_);
        for (const auto& [k, p] : plans_)
            if (k == key) {
                *plan = p;
                return true;
            }
        return false;
    }
    void store(const std::vector<int>& key, const RoundPlan& plan) {
        std::lock_guard lock(mutex_);
        if (plans_.size() >= kKept)
            plans_.erase(plans_.begin());
        plans_.emplace_back(key, plan);
    }

  private:
    static constexpr std::size_t kKept = 4;
    std::mutex mutex_;
    std::vector<std::pair<std::vector<int>, RoundPlan>> plans_;
};

KnownPlans& knownPlans() {
    static KnownPlans plans;
    return plans;
}

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
        const std::vector<int> key = keyOf();
        RoundPlan plan;
        if (!knownPlans().find(key, &plan)) {
            plan = planRound();
            if (stopped())
                return apply(plan);
            knownPlans().store(key, plan);
        }
        return apply(plan);
    }

  private:
    // Everything the plan of a round depends on, as the key under which it is kept: the same key
    // always gives the same plan, so a kept one is the one the planning would find again.
    std::vector<int> keyOf() const {
        std::vector<int> key = {n_, t_.roundCount, in_.round, tables_ - strictTables_};
        key.insert(key.end(), in_.totals->begin(), in_.totals->end());
        key.insert(key.end(), t_.playerNumber.begin(), t_.playerNumber.end());
        key.insert(key.end(), in_.handTables.begin(), in_.handTables.end());
        key.insert(key.end(), in_.before.cells().begin(), in_.before.cells().end());
        return key;
    }

    RoundPlan planRound() {
        RoundPlan plan;
        plan.seating.resize(n_);
        for (int p = 0; p < n_; ++p)
            plan.seating[p] = t_.tableAt(in_.round, p);
        // Mostly the plain rule's seating leaves room enough that a first schedule shows it.
        {
            ScheduleSearch quick(in_.before, tables_ - strictTables_, plan.seating,
                                 std::vector<char>(n_, 1), roundsAheadBound(plan.seating, false),
                                 0x5eed0000);
            if (quick.followingRounds() >= following_ && found(quick, kQuickBudget, false)) {
                plan.ahead = following_;
                plan.witness = roundsOf(&quick, plan.ahead);
                return plan;
            }
        }
        // The previous round's witness: this round and the ones after it, a start for both
        // searches below.
        std::vector<std::vector<int>> previous = previousRoundsWitness();
        std::vector<std::vector<int>> after;
        if (!previous.empty())
            after.assign(previous.begin() + 1, previous.end());

        std::optional<ScheduleSearch> plainWitness;
        plan.ahead = longestWitness(plan.seating, std::vector<char>(n_, 1), 0x5eed0001, -1,
                                    &plainWitness, after);
        plan.witness = roundsOf(plainWitness ? &*plainWitness : nullptr, plan.ahead);
        if (plan.ahead >= following_ || stopped())
            return plan;

        std::vector<char> hands(n_, 0);
        for (int p = 0; p < n_; ++p)
            hands[p] = in_.handTables[p] >= 0;
        std::vector<int> first = in_.handTables;
        if (!previous.empty() && in_.handTablesEmpty())
            first = previous.front();
        else
            after.clear();
        std::optional<ScheduleSearch> open;
        const int openAhead =
            longestWitness(first, hands, 0x5eed0002, plan.ahead, &open, after);
        if (!open || openAhead <= plan.ahead || stopped())
            return plan;
        std::optional<ScheduleSearch> witness;
        std::vector<int> seating = seatInOrder(std::move(*open), &witness);
        if (!witness)
            return plan;
        return {std::move(seating), openAhead, roundsOf(&*witness, openAhead)};
    }

    // The round as planned: its seating in t, the witness where asked for.
    int apply(const RoundPlan& plan) {
        bool same = true;
        for (int p = 0; p < n_ && same; ++p)
            same = t_.tableAt(in_.round, p) == plan.seating[p];
        if (!same)
            commit(plan.seating);
        if (in_.witness)
            *in_.witness = plan.witness;
        return plan.ahead;
    }

    // The witness's following rounds, each the table of every player; none without a witness.
    std::vector<std::vector<int>> roundsOf(const ScheduleSearch* witness, int ahead) const {
        std::vector<std::vector<int>> rounds;
        for (int r = 1; witness && r <= ahead; ++r) {
            std::vector<int> tables(n_);
            for (int p = 0; p < n_; ++p)
                tables[p] = witness->tableOf(r, p);
            rounds.push_back(std::move(tables));
        }
        return rounds;
    }

    // The witness the previous round was seated with, found again from the tournament before it:
    // when that round was seated as planned, its witness's rounds are a schedule of this round
    // and the ones after it, which the planning of this round might not find on its own.
    std::vector<std::vector<int>> previousRoundsWitness() {
        const int previous = in_.round - 1;
        if (previous < 0)
            return {};
        Tournament before = t_;
        for (int r = previous; r < before.roundCount; ++r)
            for (int p = 0; p < n_; ++p) {
                before.tableAt(r, p) = -1;
                before.seatAt(r, p) = -1;
            }
        before.currentRound = previous;
        before.meetings = before.meetingsBefore(previous);
        std::vector<int> totals(n_);
        for (int p = 0; p < n_; ++p)
            totals[p] = before.runningTotal(p, previous);
        std::vector<std::vector<int>> rounds;
        PlanInput input{.round = previous,
                        .totals = &totals,
                        .before = before.meetings,
                        .handTables = std::vector<int>(n_, -1),
                        .witness = &rounds};
        SeatingJob job;
        job.round = previous;
        job.options = job_.options;
        job.stopFlag = job_.stopFlag;
        std::vector<char> seated(n_, 0);
        if (!seatTopTablesFast(before, previous, totals, seated, tables_, job))
            return {};
        planAhead(before, input, job);
        if (stopped() || rounds.empty())
            return {};
        for (int p = 0; p < n_; ++p)
            if (before.tableAt(previous, p) != t_.tableAt(previous, p))
                return {};
        return rounds;
    }

  private:
    bool stopped() const { return job_.stopRequested(); }
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
                       std::optional<ScheduleSearch>* kept = nullptr,
                       const std::vector<std::vector<int>>& warm = {}) {
        const bool open = std::any_of(pinned.begin(), pinned.end(), [](char c) { return !c; });
        const int rounds = roundsAheadBound(firstRound, open);
        const int floor = std::max(atLeast, 0);
        std::optional<ScheduleSearch> best;
        seed ^= static_cast<std::uint64_t>(in_.round) << 32;
        for (int tries = 0; tries < kTries && rounds > floor && budgetLeft(); ++tries) {
            // The first try begins from the rounds given, as many as there are room for.
            std::vector<std::vector<int>> start(rounds);
            for (int r = 0; tries == 0 && r < rounds && r < static_cast<int>(warm.size()); ++r)
                start[r] = warm[r];
            ScheduleSearch search(in_.before, tables_ - strictTables_, firstRound, pinned, start,
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
