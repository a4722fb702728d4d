#include "audit/round_rules.h"

#include <algorithm>

#include "core/text.h"

namespace quelna {

namespace {

std::vector<int> playersAt(const Tournament& t, int round, int table) {
    std::vector<int> players;
    for (int p = 0; p < t.playerCount; ++p)
        if (t.tableAt(round, p) == table)
            players.push_back(p);
    return players;
}

// Earlier rounds in which a and b shared a table, 0-based.
std::vector<int> sharedRounds(const Tournament& t, int round, int a, int b) {
    std::vector<int> rounds;
    for (int k = 0; k < round; ++k)
        if (t.tableAt(k, a) != -1 && t.tableAt(k, a) == t.tableAt(k, b))
            rounds.push_back(k);
    return rounds;
}

std::string signedNumber(long long value) {
    return value < 0 ? "−" + std::to_string(-value) : std::to_string(value);
}

} // namespace

void addMeetingFindings(const Tournament& t, int round, int overlapTables, bool unavoidable,
                        std::vector<Finding>& out) {
    const int firstOverlap = t.tableCount() - std::clamp(overlapTables, 0, t.tableCount());
    for (int table = 0; table < t.tableCount(); ++table) {
        const std::vector<int> at = playersAt(t, round, table);
        const bool allowed = unavoidable || table >= firstOverlap;
        const std::string why = table >= firstOverlap ? " (стол с пересечениями)"
                                : unavoidable ? " (без повторов тур не рассадить)"
                                              : "";
        for (std::size_t i = 0; i < at.size(); ++i)
            for (std::size_t j = i + 1; j < at.size(); ++j) {
                const int a = at[i], b = at[j];
                const std::string where = "Тур " + std::to_string(round + 1) + ", стол " +
                                          std::to_string(table + 1) + ": ";
                const std::string pair = playerLabel(t, a) + " и " + playerLabel(t, b);
                if (t.team[a] > 0 && t.team[a] == t.team[b])
                    out.push_back({FindingKind::TeamMates,
                                   !allowed,
                                   round,
                                   {table},
                                   {a, b},
                                   where + "игроки одной команды " + pair + why + "."});
                const std::vector<int> before = sharedRounds(t, round, a, b);
                if (!before.empty())
                    out.push_back({FindingKind::RepeatPair,
                                   !allowed,
                                   round,
                                   {table},
                                   {a, b},
                                   where + "повторная встреча " + pair + " (уже встречались в " +
                                       (before.size() > 1 ? "турах " : "туре ") +
                                       numbersFromOne(before) + ")" + why + "."});
            }
    }
}

void addTableFindings(const Tournament& t, int round, std::vector<Finding>& out) {
    const int tables = t.tableCount();
    std::vector<long long> sums(tables, 0);
    std::vector<char> typed(tables, 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int table = t.tableAt(round, p);
        if (table < 0 || table >= tables)
            continue;
        sums[table] += t.pointsAt(round, p);
        typed[table] |= t.pointsAt(round, p) != 0 ? 1 : 0;
    }
    bool anyTyped = false;
    for (char v : typed)
        anyTyped = anyTyped || v;
    const bool latest = round == t.currentRound - 1;
    if (latest && !anyTyped)
        return;
    const std::string where = "Тур " + std::to_string(round + 1) + ", стол ";
    for (int table = 0; table < tables; ++table) {
        if (!typed[table])
            out.push_back({FindingKind::TableNotTyped,
                           !latest,
                           round,
                           {table},
                           playersAt(t, round, table),
                           where + std::to_string(table + 1) + ": результаты не введены."});
        else if (sums[table] != 0)
            out.push_back({FindingKind::TableSum,
                           true,
                           round,
                           {table},
                           playersAt(t, round, table),
                           where + std::to_string(table + 1) + ": сумма очков " +
                               signedNumber(sums[table]) + ", а не 0."});
    }
}

void addAdjustmentFindings(const Tournament& t, std::vector<Finding>& out) {
    for (const auto& [key, s] : t.adjustments.allSubstitutes()) {
        const auto [round, player] = key;
        if (round >= t.currentRound)
            continue;
        const std::string who = s.name.empty() ? "замена" : "замена " + cp1251ToUtf8(s.name);
        out.push_back({FindingKind::Substitute,
                       false,
                       round,
                       {t.tableAt(round, player)},
                       {player},
                       "Тур " + std::to_string(round + 1) + ": за " + playerLabel(t, player) +
                           " играла " + who + ", за столом " +
                           signedNumber(t.pointsAt(round, player)) + ", игроку засчитано " +
                           signedNumber(s.countedResult) + "."});
    }
    for (const auto& [key, list] : t.adjustments.allPenalties()) {
        const auto [round, player] = key;
        if (round >= t.currentRound)
            continue;
        for (const Penalty& p : list)
            out.push_back({FindingKind::Penalty,
                           false,
                           round,
                           {t.tableAt(round, player)},
                           {player},
                           "Тур " + std::to_string(round + 1) + ": штраф " +
                               playerLabel(t, player) + " " + signedNumber(p.amount) +
                               (p.reason.empty() ? "" : " (" + cp1251ToUtf8(p.reason) + ")") +
                               ", входит в итог игрока, не в сумму стола."});
    }
}

} // namespace quelna
