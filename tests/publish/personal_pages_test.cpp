// The players' own pages and the rule that only finished rounds reach the phones, against the
// record: a tournament with a substitute and penalties, and a round typed table by table.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "core/random.h"
#include "core/standings.h"
#include "core/test_data.h"
#include "core/text.h"
#include "played_tournament.h"
#include "publish/player_pages.h"
#include "publish/published_rounds.h"
#include "publish/web_text.h"

namespace {

using namespace quelna;

struct Row {
    std::string round, table, points, opponents, marks, total, place;
};

// The history of a personal page, round by round.
std::vector<Row> historyRows(const std::string& page) {
    std::vector<Row> rows;
    const std::regex row("<section class=\"card h\"><h3>[^<]*?(\\d+) · [^<]*?(\\d+)<span "
                         "class=\"pts\">(.*?)</span></h3>\n<div class=\"opp\">(.*?)</div>(.*?)\n"
                         "<div class=\"sum\">[^<]*<b>(.*?)</b>[^<]*<b>(.*?)</b></div></section>");
    for (auto m = std::sregex_iterator(page.begin(), page.end(), row); m != std::sregex_iterator();
         ++m)
        rows.push_back({(*m)[1], (*m)[2], (*m)[3], (*m)[4], (*m)[5], (*m)[6], (*m)[7]});
    return rows;
}

// Place and total of every player on the standings page, by start number.
std::map<std::string, std::pair<std::string, std::string>>
standingsByNumber(const std::string& page) {
    std::map<std::string, std::pair<std::string, std::string>> result;
    const std::regex row("<tr><td class=\"place\">(.*?)</td><td class=\"r\">(\\d+)</td><td>.*?</td>"
                         "<td class=\"r\">(.*?)</td></tr>");
    for (auto m = std::sregex_iterator(page.begin(), page.end(), row); m != std::sregex_iterator();
         ++m)
        result[(*m)[2]] = {(*m)[1], (*m)[3]};
    return result;
}

std::string minus(int value) {
    return value < 0 ? "−" + std::to_string(-value) : std::to_string(value);
}

TEST(PersonalPages, AgreeWithTheRecordAndTheStandings) {
    // Rounds 1 and 2 played, round 3 seated and waiting for results.
    Tournament t = test::tournamentAwaitingResults(16, 4, 3, test::Seed{7}, test::Teams::With);
    ASSERT_EQ(t.currentRound, 3);
    const int sub = 3, fined = 5;
    t.adjustments.setSubstitute(0, sub, {utf8ToCp1251("Запасной <З>"), -30000});
    t.adjustments.addPenalty(1, fined, {-2000, utf8ToCp1251("Опоздание")});
    t.adjustments.addPenalty(1, fined, {-500, ""});
    ASSERT_EQ(publishedRounds(t), 2);

    const auto both = renderServedPages(t, "");
    for (const PlayerPages& pages : both) {
        const bool english = &pages == &both[1];
        const auto standings = standingsByNumber(pages.standingsHtml);
        ASSERT_EQ(standings.size(), 16u);
        ASSERT_EQ(pages.personalHtml.size(), 16u);
        for (int p = 0; p < t.playerCount; ++p) {
            const std::string number = std::to_string(t.playerNumber[p] + 1);
            const std::string& page = pages.personalHtml.at(t.playerNumber[p] + 1);
            const std::vector<Row> rows = historyRows(page);
            ASSERT_EQ(rows.size(), 2u) << number;
            int total = 0;
            for (int r = 0; r < 2; ++r) {
                SCOPED_TRACE("player " + number + " round " + std::to_string(r + 1));
                EXPECT_EQ(rows[r].round, std::to_string(r + 1));
                EXPECT_EQ(rows[r].table, std::to_string(t.tableAt(r, p) + 1));
                // Every other player at the table, by number, and nobody else.
                int opponents = 0;
                for (int q = 0; q < t.playerCount; ++q) {
                    const bool mate = q != p && t.tableAt(r, q) == t.tableAt(r, p);
                    const std::string shown = std::to_string(t.playerNumber[q] + 1) + " " +
                                              escapeHtml(cp1251ToUtf8(t.names[q]));
                    EXPECT_EQ(rows[r].opponents.find(shown) != std::string::npos, mate) << shown;
                    opponents += mate;
                }
                EXPECT_EQ(opponents, 3);
                const int counted = t.countedPointsAt(r, p);
                total += counted;
                EXPECT_EQ(rows[r].points.substr(0, minus(counted).size()), minus(counted));
                EXPECT_EQ(rows[r].total, minus(total));
            }
            // The last row's place and total are the standings page's.
            EXPECT_EQ(rows[1].place, standings.at(number).first) << number;
            EXPECT_EQ(std::to_string(total) + (p == fined ? "*" : ""), standings.at(number).second);
            // This round's table with all four players, the player marked.
            const std::string now = english ? "Now: Round 3, Table " : "Сейчас: ТУР № 3, СТОЛ № ";
            EXPECT_NE(page.find(now + std::to_string(t.tableAt(2, p) + 1) + "</h3>"),
                      std::string::npos);
            EXPECT_NE(page.find("<div class=\"p hit\"><span class=\"seat\">" +
                                std::to_string(t.seatAt(2, p) + 1) + "</span><span class=\"num\">" +
                                number + "</span>"),
                      std::string::npos);
        }
        const std::string& subPage = pages.personalHtml.at(t.playerNumber[sub] + 1);
        EXPECT_EQ(historyRows(subPage)[0].points, "−30000");
        EXPECT_EQ(historyRows(subPage)[0].marks,
                  "<span class=\"team\">→ " + std::string(english ? "substitute" : "замена") +
                      ": Запасной &lt;З&gt;</span>");
        const std::string& finedPage = pages.personalHtml.at(t.playerNumber[fined] + 1);
        const std::string penalty = english ? "penalty" : "штраф";
        const Row finedRow = historyRows(finedPage)[1];
        EXPECT_EQ(finedRow.points.back(), '*');
        EXPECT_EQ(finedRow.marks, "<span class=\"team mark\">* " + penalty +
                                      " −2000: Опоздание</span><span class=\"team mark\">* " +
                                      penalty + " −500</span>");
        // my.html leads to every page.
        for (const auto& [n, html] : pages.personalHtml)
            EXPECT_NE(pages.myHtml.find("href=\"p/" + std::to_string(n) + "\""), std::string::npos);
    }
    EXPECT_NE(both[1].indexHtml.find("<html lang=\"en\">"), std::string::npos);
    EXPECT_NE(both[1].indexHtml.find("<h2>Round 3</h2>"), std::string::npos);
    EXPECT_NE(both[0].indexHtml.find("<h2>ТУР № 3</h2>"), std::string::npos);
}

TEST(PublishedRounds, AHalfTypedRoundDoesNotReachTheStandings) {
    Tournament t = test::tournamentAwaitingResults(24, 4, 3, test::Seed{7}, test::Teams::With);
    ASSERT_EQ(t.currentRound, 3);
    Tournament typed = t;
    generateRandomResults(typed, 2, runRandom());
    const PlayerPages before = renderPlayerPages(t, "");
    auto typeTable = [&](int table, int delta) {
        for (int seat = 0; seat < 4; ++seat) {
            const int p = t.playerAt(2, table, seat);
            t.pointsAt(2, p) = typed.pointsAt(2, p) + (seat == 0 ? delta : 0);
        }
    };
    // Every table but the last typed: the phones still show two rounds, page for page.
    for (int tb = 0; tb + 1 < t.tableCount(); ++tb) {
        typeTable(tb, 0);
        EXPECT_EQ(publishedRounds(t), 2);
    }
    const PlayerPages partly = renderPlayerPages(t, "");
    for (const auto& [n, html] : before.personalHtml)
        EXPECT_EQ(partly.personalHtml.at(n), html);
    EXPECT_EQ(standingsByNumber(partly.standingsHtml), standingsByNumber(before.standingsHtml));
    EXPECT_EQ(partly.teamsHtml, before.teamsHtml);
    // The last table typed with a wrong sum: still not.
    typeTable(t.tableCount() - 1, 1000);
    EXPECT_EQ(publishedRounds(t), 2);
    EXPECT_EQ(standingsByNumber(renderPlayerPages(t, "").standingsHtml),
              standingsByNumber(before.standingsHtml));
    // Mended: the round counts, and the standings are those over three rounds.
    typeTable(t.tableCount() - 1, 0);
    EXPECT_EQ(publishedRounds(t), 3);
    const auto after = standingsByNumber(renderPlayerPages(t, "").standingsHtml);
    for (int p = 0; p < t.playerCount; ++p)
        EXPECT_EQ(after.at(std::to_string(t.playerNumber[p] + 1)).second,
                  std::to_string(t.runningTotal(p, 3)));
    // A table of zeros is a table not typed, and a correction of an earlier round that does not
    // add up hides it and what follows it.
    t.pointsAt(1, t.playerAt(1, 0, 0)) += 1;
    EXPECT_EQ(publishedRounds(t), 1);
    for (int seat = 0; seat < 4; ++seat)
        t.pointsAt(0, t.playerAt(0, 2, seat)) = 0;
    EXPECT_EQ(publishedRounds(t), 0);
}

} // namespace
