#include "seating/seating_factor.h"

#include <cstdlib>

namespace quelna {

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
    for (int table = 0; table < tables; ++table) {
        const int* m = &members[table * 4];
        for (int i = 0; i < count[table]; ++i)
            for (int j = i + 1; j < count[table]; ++j)
                sum += std::abs(v[m[i]] - v[m[j]]);
    }
    return sum;
}

} // namespace quelna
