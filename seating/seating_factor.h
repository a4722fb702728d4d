#pragma once
// The seating factor: how far apart in the standings the players of each table are. The random
// search and the reports both measure with these functions.
#include <cstdlib>
#include <vector>

#include "core/tournament.h"

namespace quelna {

// Position of every player when all are ordered by totals, highest first, equal totals by smaller
// start number, in the order the exchange sort leaves; position 0 is the highest total.
std::vector<int> rankByTotals(const Tournament& t, const std::vector<int>& totals);

// One table's share: |v(a) - v(b)| over every pair of its `count` players.
inline int tableFactor(const int* players, int count, const std::vector<int>& v) {
    int sum = 0;
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            sum += std::abs(v[players[i]] - v[players[j]]);
    return sum;
}

// Sum of tableFactor over the tables of the round, each with its first four players in ascending
// index.
int seatingFactor(const Tournament& t, int round, const std::vector<int>& v);

// Display form: (F - 10*T) / T, truncating toward zero.
inline int displayFactor(int factor, int tableCount) {
    return (factor - 10 * tableCount) / tableCount;
}

} // namespace quelna
