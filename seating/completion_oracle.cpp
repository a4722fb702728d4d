#include "seating/completion_oracle.h"

#include "seating/candidate_order.h"

namespace quelna {

namespace {

// About 64 bytes a remembered set in the hash map: this keeps the memory near 200 MB at most.
constexpr std::size_t kMaxRemembered = std::size_t{3} << 20;

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
bool CompletionOracle::headRuleIsIdle(const PlayerSet& unseated, int table) const {
    return table > shape_.lastHandStrict && unseated.size() == 4 * (shape_.strictEnd - table);
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

bool CompletionOracle::recall(const PlayerSet& unseated, Verdict* verdict) {
    const auto found = known_.find(unseated);
    if (found == known_.end())
        return false;
    *verdict = found->second ? Verdict::Possible : Verdict::Impossible;
    return true;
}

void CompletionOracle::remember(const PlayerSet& unseated, Verdict verdict) {
    if (verdict == Verdict::Stopped)
        return;
    if (known_.size() >= kMaxRemembered)
        known_.clear(); // forget rather than grow without bound
    known_.emplace(unseated, verdict == Verdict::Possible);
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
        return partitionFrom(unseated, table);
    return fillInTableOrder(unseated, table);
}

// The exhaustive seating's own order, needed while its heads or the players placed on entry
// decide who may still sit where.
Verdict CompletionOracle::fillInTableOrder(const PlayerSet& unseated, int table) {
    Verdict verdict;
    if (recall(unseated, &verdict)) {
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
    remember(unseated, verdict);
    return verdict;
}

// Returns the unseated player with the fewest unseated strangers, and their number.
int CompletionOracle::mostConstrained(const PlayerSet& unseated, int* choices) const {
    int best = -1;
    int fewest = 1 << 30;
    unseated.forEach([&](int p) {
        const int n = (shape_.mates[p] & unseated).size();
        if (n < fewest) {
            fewest = n;
            best = p;
        }
    });
    *choices = fewest;
    return best;
}

// Any order at all: the most constrained player first, then the triples of strangers with him.
Verdict CompletionOracle::partitionFrom(const PlayerSet& unseated, int table) {
    if (unseated.empty())
        return Verdict::Possible;
    if (stopRequested())
        return Verdict::Stopped;
    Verdict verdict;
    if (recall(unseated, &verdict)) {
        if (verdict == Verdict::Impossible)
            countCut();
        return verdict;
    }
    int choices = 0;
    const int p = mostConstrained(unseated, &choices);
    if (choices < 3) {
        // Forward check: someone can no longer get three strangers.
        countDeadEnd(table);
        remember(unseated, Verdict::Impossible);
        return Verdict::Impossible;
    }
    PlayerSet rest = unseated;
    rest.remove(p);
    verdict = chooseMates(shape_.mates[p] & rest, 3, rest,
                          [&](const PlayerSet& left) { return partitionFrom(left, table + 1); });
    if (verdict == Verdict::Impossible)
        countDeadEnd(table);
    remember(unseated, verdict);
    return verdict;
}

} // namespace quelna
