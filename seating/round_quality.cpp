#include "seating/round_quality.h"

#include <array>
#include <vector>

#include "seating/seating_factor.h"

namespace quelna {

int countRepeatPairs(const Tournament& t, int round) {
    if (round < 0 || round >= t.roundCount || !t.isRoundComplete(round))
        return -1;
    std::vector<std::array<int, 4>> members(t.tableCount());
    std::vector<int> count(t.tableCount(), 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int x = t.tableAt(round, p);
        members[x][count[x]++] = p;
    }
    const MeetingMatrix before = t.meetingsBefore(round);
    int repeats = 0;
    for (const auto& m : members)
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                if (before.at(m[i], m[j]) != 0)
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
