#include "files/zero_sum_check.h"

#include <map>

namespace quelna {

namespace {

// "1", "1 и 3", "1, 2 и 3".
std::string listed(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += i + 1 == numbers.size() ? " и " : ", ";
        text += std::to_string(numbers[i]);
    }
    return text;
}

std::string tablesListed(const std::vector<int>& tables) {
    std::string text;
    for (std::size_t i = 0; i < tables.size(); ++i)
        text += (i > 0 ? ", " : "") + std::to_string(tables[i]);
    return text;
}

} // namespace

std::vector<UnbalancedTable> findUnbalancedTables(const Tournament& t) {
    std::vector<UnbalancedTable> found;
    for (int r = 0; r < t.roundCount && t.isRoundComplete(r); ++r) {
        std::vector<long long> sums(t.tableCount(), 0);
        for (int p = 0; p < t.playerCount; ++p)
            sums[t.tableAt(r, p)] += t.pointsAt(r, p);
        for (int tb = 0; tb < t.tableCount(); ++tb)
            if (sums[tb] != 0)
                found.push_back({r, tb});
    }
    return found;
}

std::string unbalancedTablesWarning(const std::vector<UnbalancedTable>& tables) {
    std::map<int, std::vector<int>> byRound; // 1-based round -> 1-based tables
    for (const UnbalancedTable& u : tables)
        byRound[u.round + 1].push_back(u.table + 1);
    // Rounds with the same tables share a line, in the order their first round comes.
    std::vector<std::pair<std::vector<int>, std::vector<int>>> lines; // tables, rounds
    for (const auto& [round, tableList] : byRound) {
        auto same = lines.begin();
        while (same != lines.end() && same->first != tableList)
            ++same;
        if (same == lines.end())
            lines.push_back({tableList, {round}});
        else
            same->second.push_back(round);
    }
    std::string text;
    for (const auto& [tableList, rounds] : lines) {
        if (!text.empty())
            text += '\n';
        text += (rounds.size() > 1 ? "Туры " : "Тур ") + listed(rounds) + ": " +
                (tableList.size() > 1 ? "столы " : "стол ") + tablesListed(tableList) +
                " — сумма не равна нулю.";
    }
    return text;
}

} // namespace quelna
