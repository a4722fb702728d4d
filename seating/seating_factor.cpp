#include "seating/seating_factor.h"

#include "core/exchange_sort.h"

namespace quelna {

std::vector<int> rankByTotals(const Tournament& t, const std::vector<int>& totals) {
    const int n = t.playerCount;
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    exchangeSort(order, [&](int a, int b) {
        return totals[a] < totals[b] ||
               (totals[a] == totals[b] && t.playerNumber[b] < t.playerNumber[a]);
    });
    std::vector<int> rank(n);
    for (int j = 0; j < n; ++j)
        rank[order[j]] = j;
    return rank;
}

int seatingFactor(const Tournament& t, int round, const std::vector<int>& v) {
    const int tables = t.tableCount();
    // First four players of each table in ascending index: up to four slots per table.
    std::vector<int> members(static_cast<std::size_t>(tables) * 4);
    std::vector<int> count(tables, 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int table = t.tableAt(round, p);
        if (table < 0 || table >= tables || count[table] == 4)
            continue;
        members[table * 4 + count[table]++] = p;
    }
    int sum = 0;
    for (int table = 0; table < tables; ++table)
        sum += tableFactor(&members[table * 4], count[table], v);
    return sum;
}

} // namespace quelna
