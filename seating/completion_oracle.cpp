#include "seating/completion_oracle.h"

#include <algorithm>
#include <utility>

#include "seating/candidate_order.h"

namespace quelna {

namespace {

// About 64 bytes a remembered set in the hash map: this keeps the memory near 200 MB at most.
constexpr std::size_t kMaxRemembered = std::size_t{3} << 20;
// Splitting the players costs a pass over every pair of strangers: worth it only near the end of
// a round, where the strangers are few.
constexpr int kSplitUpTo = 64;

} // namespace

CompletionOracle::CompletionOracle(const Tournament& t, const std::vector<int>& totals,
                                   const RoundShape& shape, SeatingJob* job)
    : t_(t), totals_(totals), shape_(shape), job_(job) {}

void CompletionOracle::countDeadEnd(int tablesFilled) {
    if (!job_)
        return;
    if (job_->onVariant)
        job_->onVariant(*job_);
    if (tablesFilled > job_->maxTables && job_->onTablesFilled)
        job_->onTablesFilled(*job_, tablesFilled);
}

void CompletionOracle::countCut() {
    if (job_ && job_->onVariant)
        job_->onVariant(*job_);
}

int CompletionOracle::firstOpenTable(int table) const {
    while (table < shape_.tables && shape_.onEntry[table].size() >= 4)
        ++table;
    return table;
}

// Without players placed on entry and without players left over for the bottom tables, every
// partition into tables of strangers can be put in the order the heads demand.
bool CompletionOracle::headRuleIsIdle(const PlayerSet& unseated, int table, int open) const {
    return table > shape_.lastHandStrict &&
           unseated.size() - open == 4 * (shape_.strictEnd - table);
}

int CompletionOracle::headOf(const PlayerSet& unseated) const {
    int head = -1;
    unseated.forEach([&](int p) {
        if (head < 0 || betterHead(t_, totals_, p, head))
            head = p;
    });
    return head;
}

PlayerSet CompletionOracle::matesOfAll(const PlayerSet& players) const {
    PlayerSet all;
    all.words.fill(~std::uint64_t{0});
    players.forEach([&](int p) { all = all & shape_.mates[p]; });
    return all;
}

// True when the last completed partition still seats everyone left, with the open table's players
// at one of its tables: its tables are disjoint groups of four strangers, so this is a proof.
bool CompletionOracle::witnessCompletes(const PlayerSet& unseated, const PlayerSet& atTable) const {
    const PlayerSet everyone = unseated | atTable;
    PlayerSet covered;
    bool holdsTable = atTable.empty();
    for (const PlayerSet& group : witness_) {
        if (!group.without(everyone).empty())
            continue;
        covered = covered | group;
        holdsTable = holdsTable || atTable.without(group).empty();
    }
    return holdsTable && covered == everyone;
}

// Searches on with `group` as one more table of the partition being built.
template <class Search>
Verdict CompletionOracle::withTable(const PlayerSet& group, Search&& search) {
    path_.push_back(group);
    const Verdict verdict = search();
    path_.pop_back();
    return verdict;
}

bool CompletionOracle::recall(const SearchState& state, Verdict* verdict) {
    const auto found = known_.find(state);
    if (found == known_.end())
        return false;
    *verdict = found->second ? Verdict::Possible : Verdict::Impossible;
    return true;
}

void CompletionOracle::remember(const SearchState& state, Verdict verdict) {
    if (verdict == Verdict::Stopped)
        return;
    if (known_.size() >= kMaxRemembered)
        known_.clear(); // forget rather than grow without bound
    known_.emplace(state, verdict == Verdict::Possible);
}

// Picks `open` pairwise strangers from pool, each combination once, and asks `next` about the
// players left.
template <class Next>
Verdict CompletionOracle::chooseMates(const PlayerSet& pool, int open, const PlayerSet& unseated,
                                      Next&& next) {
    if (open == 0)
        return next(unseated);
    if (pool.size() < open)
        return Verdict::Impossible;
    Verdict verdict = Verdict::Impossible;
    pool.forEach([&](int p) {
        if (verdict != Verdict::Impossible)
            return;
        PlayerSet rest = unseated;
        rest.remove(p);
        verdict = chooseMates(pool.above(p) & shape_.mates[p], open - 1, rest, next);
    });
    return verdict;
}

Verdict CompletionOracle::canCompleteTable(const PlayerSet& unseated, int table,
                                           const PlayerSet& atTable, int open) {
    if (table >= shape_.strictEnd)
        return Verdict::Possible; // a bottom table takes anybody
    if (open == 0)
        return canFillFrom(unseated, table + 1);
    if (headRuleIsIdle(unseated, table + 1, open)) {
        if (witnessCompletes(unseated, atTable))
            return Verdict::Possible;
        return partitionFrom(unseated, table, {atTable, matesOfAll(atTable), open});
    }
    const PlayerSet pool = unseated & matesOfAll(atTable);
    const Verdict verdict = chooseMates(
        pool, open, unseated, [&](const PlayerSet& rest) { return canFillFrom(rest, table + 1); });
    if (verdict == Verdict::Impossible)
        countDeadEnd(table);
    return verdict;
}

Verdict CompletionOracle::canFillFrom(const PlayerSet& unseated, int table) {
    if (stopRequested())
        return Verdict::Stopped;
    table = firstOpenTable(table);
    if (table >= shape_.strictEnd)
        return Verdict::Possible;
    if (headRuleIsIdle(unseated, table))
        return witnessCompletes(unseated, {}) ? Verdict::Possible
                                              : partitionFrom(unseated, table, {});
    return fillInTableOrder(unseated, table);
}

// The exhaustive seating's own order, needed while its heads or the players placed on entry
// decide who may still sit where.
Verdict CompletionOracle::fillInTableOrder(const PlayerSet& unseated, int table) {
    Verdict verdict;
    if (recall({unseated, {}}, &verdict)) {
        if (verdict == Verdict::Impossible)
            countCut();
        return verdict;
    }
    PlayerSet atTable = shape_.onEntry[table];
    PlayerSet rest = unseated;
    if (atTable.empty()) {
        const int head = headOf(unseated);
        atTable.add(head);
        rest.remove(head);
    }
    verdict = canCompleteTable(rest, table, atTable, 4 - atTable.size());
    remember({unseated, {}}, verdict);
    return verdict;
}

// Groups of `size` pairwise strangers among the players, counted up to cap.
int CompletionOracle::groupsAmong(const PlayerSet& players, int size, int cap) const {
    if (size == 0)
        return 1;
    if (size == 1)
        return std::min(players.size(), cap);
    int count = 0;
    players.any([&](int a) {
        count += groupsAmong(players.above(a) & shape_.mates[a], size - 1, cap - count);
        return count >= cap;
    });
    return std::min(count, cap);
}

// The places p could still take: a new table of four strangers, or the open table.
int CompletionOracle::placesFor(int p, const PlayerSet& unseated, const OpenTable& begun,
                                int cap) const {
    const PlayerSet mates = shape_.mates[p] & unseated;
    int count = groupsAmong(mates, 3, cap);
    if (begun.open > 0 && begun.pool.has(p) && count < cap)
        count += groupsAmong(mates & begun.pool, begun.open - 1, cap - count);
    return count;
}

// The unseated player with the fewest places left, fewest strangers among equals (counts stop
// at a few dozen, where a crowded round would spend its time counting); *places is 0 when
// somebody can no longer be seated: the forward check.
int CompletionOracle::mostConstrained(const PlayerSet& unseated, const OpenTable& begun,
                                      int* places) const {
    constexpr int kCountUpTo = 32;
    int best = -1;
    int fewestPlaces = kCountUpTo + 1;
    int fewestMates = 0;
    unseated.any([&](int p) {
        const int n = placesFor(p, unseated, begun, std::min(fewestPlaces, kCountUpTo));
        const int mates = (shape_.mates[p] & unseated).size();
        if (n < fewestPlaces || (n == fewestPlaces && mates < fewestMates)) {
            fewestPlaces = n;
            fewestMates = mates;
            best = p;
        }
        return fewestPlaces == 0;
    });
    *places = fewestPlaces;
    return best;
}

// p at the open table, or at a new table of strangers.
Verdict CompletionOracle::seatPlayer(int p, const PlayerSet& unseated, int table,
                                     const OpenTable& begun) {
    PlayerSet rest = unseated;
    rest.remove(p);
    if (begun.open > 0 && begun.pool.has(p)) {
        PlayerSet joined = begun.members;
        joined.add(p);
        const Verdict verdict = chooseMates(
            begun.pool & rest & shape_.mates[p], begun.open - 1, rest, [&](const PlayerSet& left) {
                return withTable(joined | rest.without(left),
                                 [&] { return partitionFrom(left, table + 1, {}); });
            });
        if (verdict != Verdict::Impossible)
            return verdict;
    }
    return tryTablesWith(p, rest, table, begun);
}

// The tables p can head among the players left, his most constrained strangers first: they are
// the ones a wrong choice would strand.
Verdict CompletionOracle::tryTablesWith(int p, const PlayerSet& rest, int table,
                                        const OpenTable& begun) {
    std::vector<std::pair<int, int>> byChoices; // (strangers left, player)
    (shape_.mates[p] & rest).forEach([&](int a) {
        byChoices.emplace_back((shape_.mates[a] & rest).size(), a);
    });
    std::sort(byChoices.begin(), byChoices.end());
    const int k = static_cast<int>(byChoices.size());
    for (int i = 0; i < k; ++i) {
        const int a = byChoices[i].second;
        for (int j = i + 1; j < k; ++j) {
            const int b = byChoices[j].second;
            if (!shape_.mates[a].has(b))
                continue;
            for (int l = j + 1; l < k; ++l) {
                const int c = byChoices[l].second;
                if (!shape_.mates[a].has(c) || !shape_.mates[b].has(c))
                    continue;
                PlayerSet left = rest;
                left.remove(a);
                left.remove(b);
                left.remove(c);
                PlayerSet group;
                group.add(p);
                group.add(a);
                group.add(b);
                group.add(c);
                const Verdict verdict =
                    withTable(group, [&] { return partitionFrom(left, table + 1, begun); });
                if (verdict != Verdict::Impossible)
                    return verdict;
            }
        }
    }
    return Verdict::Impossible;
}

// Per player, those he could share a table with among the players: strangers with whom he
// shares two further mutual strangers. A pair outside every such four never sits together.
std::vector<PlayerSet> CompletionOracle::tableLinks(const PlayerSet& players) const {
    std::vector<PlayerSet> links(shape_.mates.size());
    players.forEach([&](int p) {
        const PlayerSet mine = shape_.mates[p] & players;
        (mine.above(p)).forEach([&](int q) {
            const PlayerSet common = mine & shape_.mates[q];
            const bool shared =
                common.any([&](int x) { return !(common & shape_.mates[x]).empty(); });
            if (shared) {
                links[p].add(q);
                links[q].add(p);
            }
        });
    });
    return links;
}

// The players split so that no table can span two groups.
std::vector<PlayerSet> CompletionOracle::strangerGroups(const PlayerSet& players) const {
    const std::vector<PlayerSet> links = tableLinks(players);
    std::vector<PlayerSet> groups;
    PlayerSet left = players;
    while (!left.empty()) {
        PlayerSet group;
        PlayerSet frontier;
        left.any([&](int p) {
            frontier.add(p);
            return true;
        });
        while (!frontier.empty()) {
            group = group | frontier;
            PlayerSet reached;
            frontier.forEach([&](int p) { reached = reached | links[p]; });
            frontier = (reached & left).without(group);
        }
        left = left.without(group);
        groups.push_back(group);
    }
    return groups;
}

// More players who have all met one another than tables left: no two of them can share one.
// The group is found greedily, the player with the fewest strangers among the candidates first.
bool CompletionOracle::tooManyAcquainted(const PlayerSet& players) const {
    const int tables = players.size() / 4;
    PlayerSet candidates = players;
    int found = 0;
    while (!candidates.empty()) {
        int best = -1;
        int fewest = PlayerSet::kCapacity + 1;
        candidates.forEach([&](int p) {
            const int n = (shape_.mates[p] & candidates).size();
            if (n < fewest) {
                fewest = n;
                best = p;
            }
        });
        if (++found > tables)
            return true;
        candidates = candidates.without(shape_.mates[best]);
        candidates.remove(best);
    }
    return false;
}

// Each group on its own, the smallest first: it is the quickest to refute.
Verdict CompletionOracle::partitionEach(std::vector<PlayerSet> parts, int table) {
    for (const PlayerSet& part : parts)
        if (part.size() % 4 != 0)
            return Verdict::Impossible;
    std::sort(parts.begin(), parts.end(),
              [](const PlayerSet& a, const PlayerSet& b) { return a.size() < b.size(); });
    const std::vector<PlayerSet> entry = path_;
    Verdict verdict = Verdict::Possible;
    for (const PlayerSet& part : parts) {
        verdict = partitionFrom(part, table, {});
        if (verdict != Verdict::Possible)
            break;
        path_ = witness_; // the tables found so far, so the last group's witness seats everyone
    }
    path_ = entry;
    return verdict;
}

// Any order at all: the most constrained player or the open table first, then the places it
// can take.
Verdict CompletionOracle::partitionFrom(const PlayerSet& unseated, int table,
                                        const OpenTable& begun) {
    if (unseated.empty() && begun.open == 0) {
        witness_ = path_;
        return Verdict::Possible;
    }
    if (stopRequested())
        return Verdict::Stopped;
    const SearchState state{unseated, begun.open > 0 ? begun.members : PlayerSet{}};
    Verdict verdict;
    if (recall(state, &verdict)) {
        if (verdict == Verdict::Impossible)
            countCut();
        return verdict;
    }
    if (begun.open == 0 && unseated.size() <= kSplitUpTo) {
        if (tooManyAcquainted(unseated)) {
            countDeadEnd(table);
            remember(state, Verdict::Impossible);
            return Verdict::Impossible;
        }
        std::vector<PlayerSet> parts = strangerGroups(unseated);
        if (parts.size() > 1 || unseated.size() % 4 != 0) {
            verdict = partitionEach(std::move(parts), table);
            if (verdict == Verdict::Impossible)
                countDeadEnd(table);
            remember(state, verdict);
            return verdict;
        }
    }
    int places = 0;
    const int p = mostConstrained(unseated, begun, &places);
    const PlayerSet pool = begun.pool & unseated;
    const int tableChoices = begun.open > 0 ? groupsAmong(pool, begun.open, places) : places + 1;
    if (places == 0 || tableChoices == 0)
        verdict = Verdict::Impossible;
    else if (tableChoices < places || (begun.open > 0 && unseated.size() <= kSplitUpTo))
        verdict = chooseMates(pool, begun.open, unseated, [&](const PlayerSet& left) {
            return withTable(begun.members | unseated.without(left),
                             [&] { return partitionFrom(left, table + 1, {}); });
        });
    else
        verdict = seatPlayer(p, unseated, table, begun);
    if (verdict == Verdict::Impossible)
        countDeadEnd(table);
    remember(state, verdict);
    return verdict;
}

} // namespace quelna
