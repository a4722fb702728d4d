#pragma once
// The order in which the exhaustive seating tries players; both searches share it, so the fast one
// reaches exactly the seating the plain one reaches.
#include <vector>

#include "core/exchange_sort.h"
#include "core/tournament.h"

namespace quelna {

// The head of an empty table: highest total, then smaller start number; the caller keeps the
// lowest index among equals by asking in ascending index.
inline bool betterHead(const Tournament& t, const std::vector<int>& totals, int a, int b) {
    if (totals[a] != totals[b])
        return totals[a] > totals[b];
    return t.playerNumber[a] < t.playerNumber[b];
}

// Candidates in ascending index, put in order of totals, highest first. The exchange sort leaves
// equal totals in the order it happens to produce; that order is part of the result, so no other
// sort will do. A list already in order needs no swap.
inline void orderCandidates(int* cand, int k, const std::vector<int>& totals) {
    bool ordered = true;
    for (int i = 1; i < k && ordered; ++i)
        ordered = totals[cand[i - 1]] >= totals[cand[i]];
    if (ordered)
        return;
    exchangeSort(cand, cand + k, [&totals](int a, int b) { return totals[a] < totals[b]; });
}

} // namespace quelna
