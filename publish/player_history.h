#pragma once
// One player's tournament as the personal page shows it: the table of the latest seated round with
// its table-mates, and a row per published round with the points that count, the marks that
// explain them, the running total and the place after that round.
#include <string>
#include <vector>

#include "core/adjustments.h"
#include "core/tournament.h"

namespace quelna {

struct HistoryRow {
    int round = 0;                          // from 0
    int table = 0;                          // from 0
    std::vector<int> opponents;             // the other three, in seat order
    int counted = 0;                        // what counts for the player in the round
    const Substitute* substitute = nullptr; // into the record's adjustments
    std::vector<Penalty> penalties;
    int total = 0;     // running total after the round
    std::string place; // place after the round, as the standings show it ("0" when all equal)
};

struct PlayerHistory {
    int player = 0;
    int latestRound = -1;         // the latest seated round, -1 before the first
    int latestTable = -1;         // the player's table in it
    std::vector<int> tableMates;  // the others at that table, in seat order
    std::vector<HistoryRow> rows; // one per published round, first to last
};

// Every player's history over the first `rounds` rounds, indexed by player slot. The record must
// be normalised; it must outlive the result (substitutes point into it).
std::vector<PlayerHistory> playerHistories(const Tournament& t, int rounds);

} // namespace quelna
