#include "files/zero_sum_check.h"

#include <map>
#include <utility>

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

// The lines of one kind of trouble, each ended by a line break.
std::string warningFor(const std::vector<UnbalancedTable>& tables, TableState state) {
    std::map<int, std::vector<int>> byRound; // 1-based round -> 1-based tables
    for (const UnbalancedTable& u : tables)
        if (u.state == state)
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
    const char* what = state == TableState::NotZero ? " — сумма не равна нулю."
                       : state == TableState::NotNumber ? " — не число в ячейке."
                                                        : " — результаты не введены.";
    std::string text;
    for (const auto& [tableList, rounds] : lines) {
        text += (rounds.size() > 1 ? "Туры " : "Тур ") + listed(rounds) + ": " +
                (tableList.size() > 1 ? "столы " : "стол ") + tablesListed(tableList) + what;
        text += '\n';
    }
    return text;
}

} // namespace

std::vector<UnbalancedTable> findUnbalancedTables(const Tournament& raw) {
    // Seats decide who is at which position; the file has none, so they are derived on a copy.
    Tournament t = raw;
    t.normalizeRounds();
    std::vector<UnbalancedTable> found;
    for (int r = 0; r < t.currentRound; ++r) {
        if (r == t.currentRound - 1 && isRoundUntyped(t, r))
            break;
        for (int tb = 0; tb < t.tableCount(); ++tb) {
            const TableState state = tableStateAt(t, r, tb);
            if (state != TableState::Fine)
                found.push_back({r, tb, state});
        }
    }
    return found;
}

std::string unbalancedTablesWarning(const std::vector<UnbalancedTable>& tables) {
    std::string text;
    for (const TableState state : {TableState::NotZero, TableState::NotNumber, TableState::Untyped})
        text += warningFor(tables, state);
    if (!text.empty())
        text.pop_back(); // the last line's break
    return text;
}

} // namespace quelna
