#include "publish/player_history.h"

#include "core/standings.h"

namespace quelna {

namespace {

// The other players at the player's table of the round, in seat order.
std::vector<int> othersAt(const Tournament& t, int round, int player) {
    std::vector<int> others;
    const int table = t.tableAt(round, player);
    for (int seat = 0; seat < 4; ++seat) {
        const int p = t.playerAt(round, table, seat);
        if (p >= 0 && p != player)
            others.push_back(p);
    }
    return others;
}

} // namespace

std::vector<PlayerHistory> playerHistories(const Tournament& t, int rounds) {
    std::vector<PlayerHistory> all(static_cast<std::size_t>(t.playerCount));
    const int latest = t.currentRound - 1;
    for (int p = 0; p < t.playerCount; ++p) {
        PlayerHistory& h = all[p];
        h.player = p;
        h.latestRound = latest;
        if (latest >= 0 && t.tableAt(latest, p) >= 0) {
            h.latestTable = t.tableAt(latest, p);
            h.tableMates = othersAt(t, latest, p);
        }
    }
    std::vector<int> order;
    std::vector<std::string> places;
    for (int r = 0; r < rounds; ++r) {
        // The standings after this round, as the standings page shows them after it.
        const bool allEqual = rankPlayers(t, r + 1, order, places);
        std::vector<std::string> placeOf(static_cast<std::size_t>(t.playerCount), "0");
        for (std::size_t i = 0; i < order.size(); ++i)
            placeOf[order[i]] = allEqual ? std::string("0") : places[i];
        for (int p = 0; p < t.playerCount; ++p) {
            if (t.tableAt(r, p) < 0)
                continue;
            HistoryRow row;
            row.round = r;
            row.table = t.tableAt(r, p);
            row.opponents = othersAt(t, r, p);
            row.counted = t.countedPointsAt(r, p);
            row.substitute = t.adjustments.substitute(r, p);
            row.penalties = t.adjustments.penalties(r, p);
            row.total = t.runningTotal(p, r + 1);
            row.place = placeOf[p];
            all[p].rows.push_back(std::move(row));
        }
    }
    return all;
}

} // namespace quelna
