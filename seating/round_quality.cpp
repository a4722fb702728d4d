#include "seating/round_quality.h"

#include <array>
#include <vector>

#include "seating/random_search.h"
#include "seating/seating_factor.h"

namespace quelna {

namespace {

bool metBefore(const Tournament& t, int round, int a, int b) {
    if (t.team[a] > 0 && t.team[a] == t.team[b])
        return true;
    for (int k = 0; k < round; ++k)
        if (t.tableAt(k, a) != -1 && t.tableAt(k, a) == t.tableAt(k, b))
            return true;
    return false;
}

} // namespace

int countRepeatPairs(const Tournament& t, int round) {
    if (round < 0 || round >= t.roundCount || !t.isRoundComplete(round))
        return -1;
    std::vector<std::array<int, 4>> members(t.tableCount());
    std::vector<int> count(t.tableCount(), 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int x = t.tableAt(round, p);
        members[x][count[x]++] = p;
    }
    int repeats = 0;
    for (const auto& m : members)
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                if (metBefore(t, round, m[i], m[j]))
                    ++repeats;
    return repeats;
}

int roundDisplayFactor(const Tournament& t, int round) {
    if (round < 0 || round >= t.roundCount || !t.isRoundComplete(round))
        return -1;
    std::vector<int> totals(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        totals[p] = t.runningTotal(p, round);
    return displayFactor(seatingFactor(t, round, rankByTotals(t, totals)), t.tableCount());
}

} // namespace quelna
