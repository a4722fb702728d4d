#include "audit/fairness.h"

#include <algorithm>
#include <map>
#include <vector>

namespace quelna {

namespace {

// The fewest pairs of one team at a table when its players are spread as evenly as can be.
int fewestTeamPairs(int size, int tables) {
    const int q = size / tables, r = size % tables;
    return r * (q + 1) * q / 2 + (tables - r) * q * (q - 1) / 2;
}

} // namespace

FairnessFigures fairnessOf(const Tournament& t) {
    FairnessFigures f;
    const int n = t.playerCount, tables = t.tableCount();
    f.rounds = t.currentRound;
    std::vector<int> met(static_cast<std::size_t>(n) * n, 0);
    std::vector<int> atTable(static_cast<std::size_t>(n) * tables, 0);
    for (int r = 0; r < f.rounds; ++r)
        for (int a = 0; a < n; ++a) {
            const int table = t.tableAt(r, a);
            if (table < 0)
                continue;
            f.mostAtOneTable = std::max(f.mostAtOneTable, ++atTable[a * tables + table]);
            for (int b = a + 1; b < n; ++b)
                if (t.tableAt(r, b) == table) {
                    ++met[a * n + b];
                    ++met[b * n + a];
                    if (t.team[a] > 0 && t.team[a] == t.team[b])
                        ++f.teamMateMeetings;
                }
        }
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            f.repeatMeetings += std::max(0, met[a * n + b] - 1);

    // Each player meets three others a round; beyond the n - 1 there are, meetings must repeat.
    const long long excess = std::max(0LL, 3LL * f.rounds - (n - 1));
    f.repeatFloor = static_cast<int>(n * excess / 2);
    std::map<int, int> teamSize;
    for (int p = 0; p < n; ++p)
        if (t.team[p] > 0)
            ++teamSize[t.team[p]];
    for (const auto& [team, size] : teamSize)
        f.teamMateFloor += f.rounds * fewestTeamPairs(size, tables);
    f.mostAtOneTableFloor = f.rounds == 0 ? 0 : (f.rounds + tables - 1) / tables;

    if (f.rounds > 4) {
        long long pairs = 0, sum = 0;
        f.fewestCommon = n;
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b) {
                if (met[a * n + b] > 0 || (t.team[a] > 0 && t.team[a] == t.team[b]))
                    continue;
                int common = 0;
                for (int c = 0; c < n; ++c)
                    common += met[a * n + c] > 0 && met[b * n + c] > 0 ? 1 : 0;
                f.fewestCommon = std::min(f.fewestCommon, common);
                sum += common;
                ++pairs;
            }
        if (pairs > 0) {
            f.commonMeasured = true;
            f.averageCommon = static_cast<double>(sum) / static_cast<double>(pairs);
            // Each of the n - 2 others is an opponent of a player with chance 3R / (n - 1).
            const double chance = std::min(1.0, 3.0 * f.rounds / (n - 1));
            f.randomSeatingCommon = (n - 2) * chance * chance;
        }
    }
    return f;
}

} // namespace quelna
