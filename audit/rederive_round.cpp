#include "audit/rederive_round.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/random.h"
#include "core/standings.h"
#include "seating/seat_next_round.h"

namespace quelna {

namespace {

// Gives up where the program would have moved on to the random search, and when the caller does.
class ExhaustiveOnly : public SeatingObserver {
  public:
    ExhaustiveOnly(SeatingControl& control, const std::atomic<bool>* cancel)
        : control_(control), cancel_(cancel) {}
    void phaseStarted(SeatingPhase phase) override {
        if (phase != SeatingPhase::Exhaustive)
            control_.requestCancel();
    }
    void variantCounted(long long) override {
        if (cancel_ && cancel_->load(std::memory_order_relaxed))
            control_.requestCancel();
    }

  private:
    SeatingControl& control_;
    const std::atomic<bool>* cancel_;
};

// The record as it stood before the round was seated.
Tournament recordBefore(const Tournament& t, int round) {
    Tournament before = t;
    for (int r = round; r < t.roundCount; ++r)
        for (int p = 0; p < t.playerCount; ++p) {
            before.tableAt(r, p) = -1;
            before.seatAt(r, p) = -1;
            before.pointsAt(r, p) = 0;
        }
    before.adjustments.dropFrom(round);
    before.normalizeRounds();
    return before;
}

// The record with its player slots in `order` (slot i holds the player order[i] was). The engine
// breaks ties among equal totals by slot, and the slots are whatever order the record had when the
// round was seated: start numbers for a tournament typed in and played on, the rows of the file
// last loaded otherwise.
Tournament reordered(const Tournament& t, const std::vector<int>& order) {
    Tournament out(t.playerCount, t.roundCount);
    std::vector<int> slotOf(t.playerCount);
    for (int i = 0; i < t.playerCount; ++i)
        slotOf[order[i]] = i;
    out.teams = t.teams;
    for (int i = 0; i < t.playerCount; ++i) {
        const int p = order[i];
        out.names[i] = t.names[p];
        out.playerNumber[i] = t.playerNumber[p];
        out.team[i] = t.team[p];
        for (int r = 0; r < t.roundCount; ++r) {
            out.tableAt(r, i) = t.tableAt(r, p);
            out.seatAt(r, i) = t.seatAt(r, p);
            out.pointsAt(r, i) = t.pointsAt(r, p);
        }
    }
    for (const auto& [key, s] : t.adjustments.allSubstitutes())
        out.adjustments.setSubstitute(key.first, slotOf[key.second], s);
    for (const auto& [key, list] : t.adjustments.allPenalties())
        out.adjustments.setPenalties(key.first, slotOf[key.second], list);
    for (const auto& [player, from] : t.adjustments.allLeft())
        out.adjustments.setLeftFrom(slotOf[player], from);
    out.normalizeRounds();
    return out;
}

// The orders the record may have had: by start number, as a file saved just before the round
// holds it (standings order), and as this file holds it.
std::vector<std::vector<int>> possibleOrders(const Tournament& t, int round) {
    std::vector<int> byNumber(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        byNumber[p] = p;
    std::stable_sort(byNumber.begin(), byNumber.end(), [&t](int a, int b) {
        const unsigned na = static_cast<unsigned>(t.playerNumber[a]);
        const unsigned nb = static_cast<unsigned>(t.playerNumber[b]); // -1 last
        return na < nb;
    });
    std::vector<int> standings;
    std::vector<std::string> places;
    rankPlayers(t, round, standings, places);
    std::vector<int> asFiled(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        asFiled[p] = p;
    std::vector<std::vector<int>> orders = {byNumber};
    for (auto& order : {standings, asFiled})
        if (std::find(orders.begin(), orders.end(), order) == orders.end())
            orders.push_back(order);
    return orders;
}

} // namespace

std::vector<int> differingTables(const Tournament& t, int round, const std::vector<int>& tableOf) {
    std::vector<int> tables;
    for (int table = 0; table < t.tableCount(); ++table) {
        bool same = true;
        for (int p = 0; p < t.playerCount && same; ++p)
            same = (t.tableAt(round, p) == table) == (tableOf[p] == table);
        if (!same)
            tables.push_back(table);
    }
    return tables;
}

namespace {

// The round seated anew from the record in one order of its slots.
RederivedRound rederiveInOrder(const Tournament& t, int round, const RederiveSettings& settings,
                               const std::vector<int>& order) {
    RederivedRound result;
    Tournament before = recordBefore(reordered(t, order), round);
    if (before.currentRound != round)
        return result;
    NextRoundOptions options;
    options.seating = settings.seating;
    // A round proven to have no seating without repeats is seated with the fewest, which the
    // window offers and quelna-cli --fewest-repeats does.
    options.fewestRepeats = true;
    const PhaseLimits limits{.exhaustiveSeconds = settings.exhaustiveSeconds,
                             .randomSeconds = 0,
                             .exhaustiveVariants = settings.exhaustiveVariants,
                             .randomVariants = 0};
    SeatingControl control(limits);
    ExhaustiveOnly observer(control, settings.cancel);
    Random unused(1); // the random search is never let run
    const SeatingOutcome outcome =
        seatNextRoundUnattended(before, options, limits, unused, observer, control);
    if (outcome.result == SeatingResult::Cancelled) {
        result.how = Rederived::NotReached;
        return result;
    }
    if (!outcome.seated())
        return result;
    result.how = outcome.fewestRepeats ? Rederived::FewestRepeats : Rederived::Exhaustive;
    result.tableOf.assign(t.playerCount, -1);
    for (int i = 0; i < t.playerCount; ++i)
        result.tableOf[order[i]] = before.tableAt(round, i);
    result.differingTables = differingTables(t, round, result.tableOf);
    return result;
}

} // namespace

RederivedRound rederiveRound(const Tournament& t, int round, const RederiveSettings& settings) {
    std::optional<RederivedRound> first;
    for (const std::vector<int>& order : possibleOrders(t, round)) {
        RederivedRound result = rederiveInOrder(t, round, settings, order);
        if (result.matches() || result.how == Rederived::NotReached)
            return result;
        if (!first)
            first = std::move(result);
    }
    return first.value_or(RederivedRound{});
}

} // namespace quelna
