#include "seating/schedule_search.h"

#include <algorithm>
#include <climits>

#include "seating/exhaustive_fast.h"
#include "seating/seating_job.h"

namespace quelna {

namespace {

// Iterations without a better schedule before the search goes back to the best one, and either
// seats its conflicting rounds anew or shakes it.
constexpr long long kStallLimit = 2000;
// Exchanges forbidden for a while after they were made: between 4 and 15 iterations.
constexpr long long kTenureMin = 4;
constexpr long long kTenureSpan = 12;
// Percent of iterations that make a random exchange of a conflicting player instead.
constexpr int kRandomWalkPercent = 2;
// Exchanges a reseat of rounds counts as, for the budget; tries of a reseat of two rounds.
constexpr long long kReseatWeight = 20000;
constexpr int kPairTries = 10;

// Nearby seeds give unrelated sequences (splitmix64 of the seed), and never the all-zero state.
std::uint64_t mixSeed(std::uint64_t seed) {
    std::uint64_t z = seed + 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return z ? z : 1;
}

} // namespace

// Some following rounds seated anew, one after the other, by the exhaustive search against the
// meetings of all the rest: exact for each round, and with players numbered and ranked in a
// shuffled order each try, so that tries differ. A schedule one repeat away from done is often
// done after it.
bool ScheduleSearch::reseatRounds(const std::vector<int>& rounds, int tries) {
    for (int r : rounds)
        addRound(r, -1);
    bool done = false;
    for (int attempt = 0; attempt < tries && !done; ++attempt) {
        Tournament t(n_, static_cast<int>(rounds.size()));
        for (int p = 0; p < n_; ++p)
            for (int q = p + 1; q < n_; ++q)
                for (int k = 0; k < co_[p * n_ + q]; ++k)
                    t.meetings.add(p, q);
        done = true;
        for (int i = 0; i < static_cast<int>(rounds.size()) && done; ++i) {
            std::vector<int> order(n_);
            for (int p = 0; p < n_; ++p)
                order[p] = p;
            for (int k = n_; k > 1; --k)
                std::swap(order[k - 1], order[next() % k]);
            std::vector<int> totals(n_);
            for (int p = 0; p < n_; ++p) {
                t.playerNumber[order[p]] = p;
                totals[p] = static_cast<int>(next() % 4);
            }
            std::vector<char> seated(n_, 0);
            SeatingJob job;
            job.options.overlapTables = tables_ - strictTables_;
            done = seatTopTablesFast(t, i, totals, seated, tables_, job);
        }
        if (!done)
            continue;
        for (int i = 0; i < static_cast<int>(rounds.size()); ++i) {
            std::vector<int> count(tables_, 0);
            for (int p = 0; p < n_; ++p) {
                const int x = t.tableAt(i, p);
                const int slot = x * 4 + count[x]++;
                at_[static_cast<std::size_t>(rounds[i]) * 4 * tables_ + slot] = p;
                pos_[rounds[i] * n_ + p] = slot;
            }
        }
    }
    for (int r : rounds)
        addRound(r, +1);
    cost_ = recount();
    ++reseats_;
    return done;
}

// The following rounds with a repeat seated anew, alone or two at a time.
bool ScheduleSearch::reseatConflictingRounds() {
    std::vector<int> clashing;
    for (const auto& [round, p] : conflicting())
        if (round > 0 && std::find(clashing.begin(), clashing.end(), round) == clashing.end())
            clashing.push_back(round);
    const long long before = cost_;
    const std::vector<int> best = at_;
    for (int r : clashing)
        if (reseatRounds({r}, 1) && cost_ < before)
            return true;
    for (std::size_t i = 0; i < clashing.size(); ++i)
        for (std::size_t j = i + 1; j < clashing.size(); ++j)
            if (reseatRounds({clashing[i], clashing[j]}, kPairTries) && cost_ < before)
                return true;
    return false;
}

ScheduleSearch::ScheduleSearch(const MeetingMatrix& before, int freeTables,
                               const std::vector<int>& firstRound, const std::vector<char>& pinned,
                               int following, std::uint64_t seed)
    : ScheduleSearch(before, freeTables, firstRound, pinned,
                     std::vector<std::vector<int>>(std::max(following, 0)), seed) {}

ScheduleSearch::ScheduleSearch(const MeetingMatrix& before, int freeTables,
                               const std::vector<int>& firstRound, const std::vector<char>& pinned,
                               const std::vector<std::vector<int>>& following, std::uint64_t seed)
    : n_(before.size()), tables_(before.size() / 4),
      strictTables_(tables_ - std::clamp(freeTables, 0, before.size() / 4)),
      rounds_(1 + static_cast<int>(following.size())),
      at_(static_cast<std::size_t>(rounds_) * n_, -1),
      pos_(static_cast<std::size_t>(rounds_) * n_, -1), pinned_(pinned), before_(before.cells()),
      co_(before.cells()), sc_(static_cast<std::size_t>(n_) * n_, 0), state_(mixSeed(seed)) {
    pinned_.resize(n_, 0);
    placeRound(0, firstRound);
    for (int r = 1; r < rounds_; ++r)
        placeRound(r, following[r - 1]);
    cost_ = recount();
    keepBest();
}

// Players fixed in round 0 take their tables first, then everyone given a table takes it while it
// has room; the rest fill the open places. A fixed player whose table is full is fixed no more.
void ScheduleSearch::placeRound(int round, const std::vector<int>& tables) {
    std::vector<int> toPlace;
    int* slots = &at_[static_cast<std::size_t>(round) * 4 * tables_];
    for (const bool fixedPass : {true, false})
        for (int p = 0; p < n_; ++p) {
            const bool fixed = round == 0 && pinned_[p];
            if (fixed != fixedPass)
                continue;
            const int table = p < static_cast<int>(tables.size()) ? tables[p] : -1;
            int slot = -1;
            if (table >= 0 && table < tables_)
                for (int k = table * 4; k < table * 4 + 4 && slot < 0; ++k)
                    if (slots[k] < 0)
                        slot = k;
            if (slot < 0) {
                if (round == 0)
                    pinned_[p] = 0;
                toPlace.push_back(p);
                continue;
            }
            slots[slot] = p;
            pos_[round * n_ + p] = slot;
        }
    fillGreedily(round, toPlace);
    addRound(round, +1);
}

std::uint64_t ScheduleSearch::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
}

// Each open place takes the player who has met the table least so far; ties by a shuffle.
void ScheduleSearch::fillGreedily(int round, std::vector<int> toPlace) {
    for (std::size_t i = toPlace.size(); i > 1; --i)
        std::swap(toPlace[i - 1], toPlace[next() % i]);
    int* slots = &at_[static_cast<std::size_t>(round) * 4 * tables_];
    for (int s = 0; s < 4 * tables_ && !toPlace.empty(); ++s) {
        if (slots[s] >= 0)
            continue;
        const int first = s - s % 4;
        std::size_t best = 0;
        long long bestMet = LLONG_MAX;
        for (std::size_t i = 0; i < toPlace.size() && bestMet > 0; ++i) {
            long long met = 0;
            for (int k = first; k < first + 4; ++k)
                if (slots[k] >= 0)
                    met += co_[toPlace[i] * n_ + slots[k]];
            if (met < bestMet) {
                bestMet = met;
                best = i;
            }
        }
        const int p = toPlace[best];
        toPlace.erase(toPlace.begin() + static_cast<std::ptrdiff_t>(best));
        slots[s] = p;
        pos_[round * n_ + p] = s;
    }
}

void ScheduleSearch::shiftPair(int a, int b, int dco, int dsc) {
    co_[a * n_ + b] += dco;
    co_[b * n_ + a] += dco;
    sc_[a * n_ + b] += dsc;
    sc_[b * n_ + a] += dsc;
}

void ScheduleSearch::addRound(int round, int sign) {
    for (int x = 0; x < tables_; ++x) {
        const int dsc = x < strictTables_ ? sign : 0;
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                shiftPair(at(round, x * 4 + i), at(round, x * 4 + j), sign, dsc);
    }
}

long long ScheduleSearch::recount() const {
    long long cost = 0;
    for (int p = 0; p < n_; ++p)
        for (int q = p + 1; q < n_; ++q)
            cost += pairCost(co_[p * n_ + q], sc_[p * n_ + q]);
    return cost;
}

long long ScheduleSearch::swapDelta(int round, int p, int q) const {
    const int sp = pos_[round * n_ + p], sq = pos_[round * n_ + q];
    const int a = sp / 4, b = sq / 4;
    const int da = a < strictTables_ ? 1 : 0, db = b < strictTables_ ? 1 : 0;
    long long delta = 0;
    const auto change = [&](int x, int y, int dco, int dsc) {
        const int co = co_[x * n_ + y], sc = sc_[x * n_ + y];
        delta += pairCost(co + dco, sc + dsc) - pairCost(co, sc);
    };
    for (int k = a * 4; k < a * 4 + 4; ++k) {
        const int o = at(round, k);
        if (o == p)
            continue;
        change(p, o, -1, -da);
        change(q, o, +1, +da);
    }
    for (int k = b * 4; k < b * 4 + 4; ++k) {
        const int o = at(round, k);
        if (o == q)
            continue;
        change(q, o, -1, -db);
        change(p, o, +1, +db);
    }
    return delta;
}

void ScheduleSearch::swapPlayers(int round, int p, int q) {
    cost_ += swapDelta(round, p, q);
    int& sp = pos_[round * n_ + p];
    int& sq = pos_[round * n_ + q];
    const int a = sp / 4, b = sq / 4;
    const int da = a < strictTables_ ? 1 : 0, db = b < strictTables_ ? 1 : 0;
    for (int k = a * 4; k < a * 4 + 4; ++k) {
        const int o = at(round, k);
        if (o != p) {
            shiftPair(p, o, -1, -da);
            shiftPair(q, o, +1, +da);
        }
    }
    for (int k = b * 4; k < b * 4 + 4; ++k) {
        const int o = at(round, k);
        if (o != q) {
            shiftPair(q, o, -1, -db);
            shiftPair(p, o, +1, +db);
        }
    }
    at_[round * 4 * tables_ + sp] = q;
    at_[round * 4 * tables_ + sq] = p;
    std::swap(sp, sq);
}

// Movable players at a table where repeats count and someone has met someone else there twice.
std::vector<std::pair<int, int>> ScheduleSearch::conflicting() const {
    std::vector<std::pair<int, int>> found;
    for (int r = 0; r < rounds_; ++r)
        for (int x = 0; x < strictTables_; ++x)
            for (int i = 0; i < 4; ++i) {
                const int p = at(r, x * 4 + i);
                bool clash = false;
                for (int j = 0; j < 4 && !clash; ++j)
                    clash = j != i && co_[p * n_ + at(r, x * 4 + j)] > 1;
                if (clash && movable(r, p))
                    found.emplace_back(r, p);
            }
    return found;
}

// One exchange: the best one not forbidden by the recent ones (unless it beats the best schedule),
// among the exchanges of a conflicting player with anyone at another table of his round.
bool ScheduleSearch::step(long long iteration) {
    const std::vector<std::pair<int, int>> candidates = conflicting();
    if (candidates.empty())
        return false;
    if (static_cast<int>(next() % 100) < kRandomWalkPercent) {
        const auto [r, p] = candidates[next() % candidates.size()];
        for (int tries = 0; tries < 8; ++tries) {
            const int q = static_cast<int>(next() % n_);
            if (q != p && movable(r, q) && tableOf(r, p) != tableOf(r, q)) {
                swapPlayers(r, p, q);
                return true;
            }
        }
    }
    long long bestDelta = LLONG_MAX;
    int bestRound = -1, bestP = -1, bestQ = -1, ties = 0;
    for (const auto& [r, p] : candidates) {
        const int table = tableOf(r, p);
        for (int q = 0; q < n_; ++q) {
            if (q == p || !movable(r, q) || tableOf(r, q) == table)
                continue;
            const long long delta = swapDelta(r, p, q);
            ++weighed_;
            if (tabuUntil_[tabuKey(r, p, q)] > iteration && cost_ + delta >= bestCost_)
                continue;
            if (delta < bestDelta) {
                bestDelta = delta;
                ties = 1;
            } else if (delta > bestDelta || next() % ++ties != 0) {
                continue;
            }
            bestRound = r;
            bestP = p;
            bestQ = q;
        }
    }
    if (bestRound < 0)
        return true; // every exchange forbidden: the forbidden ones expire
    swapPlayers(bestRound, bestP, bestQ);
    tabuUntil_[tabuKey(bestRound, bestP, bestQ)] =
        iteration + kTenureMin + static_cast<long long>(next() % kTenureSpan);
    return true;
}

// A few random exchanges in random rounds, to leave a region the search keeps circling in.
void ScheduleSearch::perturb() {
    const int moves = std::max(2, n_ / 8);
    for (int i = 0; i < moves; ++i) {
        const int r = static_cast<int>(next() % rounds_);
        const int p = static_cast<int>(next() % n_), q = static_cast<int>(next() % n_);
        if (p != q && movable(r, p) && movable(r, q) && tableOf(r, p) != tableOf(r, q))
            swapPlayers(r, p, q);
    }
}

void ScheduleSearch::keepBest() {
    bestAt_ = at_;
    bestCost_ = cost_;
}

void ScheduleSearch::restoreBest() {
    at_ = bestAt_;
    for (int r = 0; r < rounds_; ++r)
        for (int s = 0; s < 4 * tables_; ++s)
            pos_[r * n_ + at(r, s)] = s;
    co_ = before_;
    std::fill(sc_.begin(), sc_.end(), 0);
    for (int r = 0; r < rounds_; ++r)
        addRound(r, +1);
    cost_ = bestCost_;
}

bool ScheduleSearch::search(long long budget, const std::function<bool()>& stop) {
    if (cost_ == 0)
        return true;
    tabuUntil_.assign(static_cast<std::size_t>(rounds_) * n_ * n_, 0);
    const long long limit = weighed_ + budget;
    long long lastBetter = 0;
    for (long long iteration = 1; cost_ > 0 && weighed_ < limit; ++iteration) {
        if ((iteration & 63) == 0 && stop && stop())
            break;
        if (!step(iteration))
            break;
        if (cost_ < bestCost_) {
            keepBest();
            lastBetter = iteration;
        } else if (iteration - lastBetter > kStallLimit) {
            restoreBest();
            if (reseatConflictingRounds()) {
                weighed_ += kReseatWeight;
                if (cost_ < bestCost_)
                    keepBest();
            } else {
                perturb();
            }
            lastBetter = iteration;
        }
    }
    if (cost_ > bestCost_)
        restoreBest();
    tabuUntil_.clear();
    tabuUntil_.shrink_to_fit();
    return cost_ == 0;
}

bool ScheduleSearch::dropWorstRound() {
    if (rounds_ <= 1)
        return false;
    int worst = 1;
    long long worstCost = -1;
    for (int r = 1; r < rounds_; ++r) {
        long long c = 0;
        for (int x = 0; x < strictTables_; ++x)
            for (int i = 0; i < 4; ++i)
                for (int j = i + 1; j < 4; ++j) {
                    const int p = at(r, x * 4 + i), q = at(r, x * 4 + j);
                    c += co_[p * n_ + q] - 1;
                }
        if (c > worstCost) {
            worstCost = c;
            worst = r;
        }
    }
    addRound(worst, -1);
    const int last = rounds_ - 1;
    if (worst != last) {
        std::copy_n(at_.begin() + static_cast<std::ptrdiff_t>(last) * 4 * tables_, 4 * tables_,
                    at_.begin() + static_cast<std::ptrdiff_t>(worst) * 4 * tables_);
        for (int s = 0; s < 4 * tables_; ++s)
            pos_[worst * n_ + at(worst, s)] = s;
    }
    --rounds_;
    at_.resize(static_cast<std::size_t>(rounds_) * 4 * tables_);
    pos_.resize(static_cast<std::size_t>(rounds_) * n_);
    cost_ = recount();
    keepBest();
    return true;
}

bool ScheduleSearch::pinToTable(int p, int table) {
    if (table < 0 || table >= tables_)
        return false;
    if (tableOf(0, p) != table) {
        int partner = -1;
        for (int s = table * 4; s < table * 4 + 4 && partner < 0; ++s)
            if (!pinned_[at(0, s)])
                partner = at(0, s);
        if (partner < 0 || pinned_[p])
            return false;
        swapPlayers(0, p, partner);
    }
    pinned_[p] = 1;
    keepBest();
    return true;
}

void ScheduleSearch::reorderFirstRound(const std::vector<int>& newTable) {
    addRound(0, -1);
    std::vector<int> moved(4 * tables_);
    for (int x = 0; x < tables_; ++x)
        for (int i = 0; i < 4; ++i)
            moved[newTable[x] * 4 + i] = at(0, x * 4 + i);
    std::copy(moved.begin(), moved.end(), at_.begin());
    for (int s = 0; s < 4 * tables_; ++s)
        pos_[at(0, s)] = s;
    addRound(0, +1);
    cost_ = recount();
    keepBest();
}

std::vector<int> ScheduleSearch::playersAt(int round, int table) const {
    return {at(round, table * 4), at(round, table * 4 + 1), at(round, table * 4 + 2),
            at(round, table * 4 + 3)};
}

} // namespace quelna
