// The players' pages rendered from real records: escaping, places, teams, the empty tournament
// and the largest one.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>

#include "core/standings.h"
#include "core/text.h"
#include "played_tournament.h"
#include "publish/player_pages.h"
#include "publish/web_text.h"

namespace {

using namespace quelna;

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The text of every <td> of a column of the standings table, top to bottom.
std::vector<std::string> column(const std::string& page, int index) {
    std::vector<std::string> cells;
    const std::regex row("<tr>(.*?)</tr>");
    const std::regex cell("<td[^>]*>(.*?)</td>");
    for (auto r = std::sregex_iterator(page.begin(), page.end(), row); r != std::sregex_iterator();
         ++r) {
        const std::string inner = (*r)[1];
        std::vector<std::string> tds;
        for (auto c = std::sregex_iterator(inner.begin(), inner.end(), cell);
             c != std::sregex_iterator(); ++c)
            tds.push_back((*c)[1]);
        if (static_cast<int>(tds.size()) > index)
            cells.push_back(tds[index]);
    }
    return cells;
}

TEST(WebText, EscapesAndDigests) {
    EXPECT_EQ(escapeHtml("<a href=\"x\">Tom & 'Jo'</a>"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; &#39;Jo&#39;&lt;/a&gt;");
    EXPECT_EQ(jsonString("a\"b\\c\n</script>"), "\"a\\\"b\\\\c\\u000a\\u003c/script>\"");
    // FIPS 180-2 test vectors, one of them longer than one block.
    EXPECT_EQ(sha256Base64("abc"), "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
    EXPECT_EQ(sha256Base64("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "JI1qYdIGOLjlwCaTDD5gOaM85Flk/yFn9uzt1BnbBsE=");
    EXPECT_EQ(sha256Base64(""), "47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=");
}

TEST(PlayerPages, NamesAndTeamsAreEscapedEverywhere) {
    Tournament t = test::tournamentAwaitingResults(16, 2, 1, test::Seed{7}, test::Teams::With);
    ASSERT_EQ(t.currentRound, 1);
    const std::string evilName = utf8ToCp1251("<b>Ёж & \"Ко\"");
    const std::string evilTeam = utf8ToCp1251("A&B<i>\"");
    t.setName(5, evilName);
    t.team[5] = t.teams.findOrAdd(evilTeam);
    const PlayerPages pages = renderPlayerPages(t, utf8ToCp1251("Кубок <\"&\">"));
    for (const std::string* html : {&pages.indexHtml, &pages.standingsHtml, &pages.teamsHtml}) {
        EXPECT_EQ(html->find("<b>"), std::string::npos);
        EXPECT_EQ(html->find("<i>"), std::string::npos);
        EXPECT_NE(html->find("Кубок &lt;&quot;&amp;&quot;&gt;"), std::string::npos);
    }
    const std::string name = "&lt;b&gt;Ёж &amp; &quot;Ко&quot;";
    const std::string team = "A&amp;B&lt;i&gt;&quot;";
    EXPECT_EQ(count(pages.indexHtml, name), 2u); // shown, and the search key
    EXPECT_EQ(count(pages.indexHtml, team), 1u);
    EXPECT_EQ(count(pages.standingsHtml, name), 1u);
    EXPECT_EQ(count(pages.standingsHtml, team), 1u);
    EXPECT_EQ(count(pages.teamsHtml, team), 1u);
    EXPECT_NE(pages.seatingJson.find("\"name\": \"\\u003cb>Ёж & \\\"Ко\\\"\""), std::string::npos);
    EXPECT_NE(pages.seatingJson.find("\"team\": \"A&B\\u003ci>\\\"\""), std::string::npos);

    // The one script of the page is the one the policy allows, byte for byte.
    EXPECT_NE(pages.indexHtml.find("<script>" + std::string(searchScript()) + "</script>"),
              std::string::npos);
    EXPECT_EQ(count(pages.indexHtml, "<script"), 1u);
    EXPECT_NE(contentSecurityPolicy().find("'sha256-" + sha256Base64(searchScript()) + "'"),
              std::string::npos);
    EXPECT_EQ(pages.indexHtml.find("://"), std::string::npos) << "no external resources";
}

TEST(PlayerPages, TiedTotalsShareTheirPlacesAndEqualTotalsShowZero) {
    Tournament t = test::tournamentAwaitingResults(12, 2, 2, test::Seed{7}, test::Teams::Without);
    std::fill(t.points.begin(), t.points.end(), 0);
    // Before any points every total is equal: every place is "0", the list by start number.
    std::vector<std::string> places = column(renderStandingsHtml(t, ""), 0);
    ASSERT_EQ(places.size(), 12u);
    for (const std::string& p : places)
        EXPECT_EQ(p, "0");
    EXPECT_EQ(column(renderStandingsHtml(t, ""), 1).front(), "1");

    // The first round typed, every table adding up (the pages count only such rounds): totals
    // 30, 10, -20, -20 | 10, -10, 0, 0 | 5, -5, 0, 0 give places 1, 2|3, 2|3, 4, then 5..8 shared
    // by the four on 0, 9, 10 and 11|12.
    const int round0[3][4] = {{30, 10, -20, -20}, {10, -10, 0, 0}, {5, -5, 0, 0}};
    for (int tb = 0; tb < 3; ++tb)
        for (int seat = 0; seat < 4; ++seat)
            t.pointsAt(0, t.playerAt(0, tb, seat)) = round0[tb][seat];
    places = column(renderStandingsHtml(t, ""), 0);
    const std::vector<std::string> scores = column(renderStandingsHtml(t, ""), 3);
    ASSERT_EQ(places.size(), 12u);
    const std::vector<std::string> expected = {"1",       "2|3",     "2|3",     "4",
                                               "5|6|7|8", "5|6|7|8", "5|6|7|8", "5|6|7|8",
                                               "9",       "10",      "11|12",   "11|12"};
    EXPECT_EQ(places, expected);
    EXPECT_EQ(scores[0], "30");
    EXPECT_EQ(scores[3], "5");
    EXPECT_EQ(scores[11], "-20");
}

TEST(PlayerPages, WithoutTeamsAndBeforeTheFirstRound) {
    Tournament t = test::tournamentAwaitingResults(16, 4, 0, test::Seed{7}, test::Teams::Without);
    const PlayerPages pages = renderPlayerPages(t, utf8ToCp1251("Весна"));
    EXPECT_NE(pages.indexHtml.find("Рассадка ещё не объявлена"), std::string::npos);
    EXPECT_EQ(pages.indexHtml.find("class=\"card\""), std::string::npos);
    EXPECT_EQ(pages.seatingJson, "{\"round\": 0, \"title\": \"Весна\", \"tables\": []}\n");
    EXPECT_NE(pages.teamsHtml.find("В этом турнире нет команд."), std::string::npos);
    EXPECT_EQ(pages.teamsHtml.find("<table>"), std::string::npos);
    EXPECT_EQ(column(pages.standingsHtml, 0).size(), 16u);

    ASSERT_TRUE(test::seatBounded(t));
    const PlayerPages seated = renderPlayerPages(t, "");
    EXPECT_NE(seated.indexHtml.find("<h2>ТУР № 1</h2>"), std::string::npos);
    EXPECT_EQ(seated.indexHtml.find("class=\"team\""), std::string::npos);
    EXPECT_EQ(count(seated.seatingJson, "\"team\": \"\""), 16u);
    EXPECT_NE(seated.seatingJson.find("\"round\": 1, \"title\": \"\""), std::string::npos);
}

TEST(PlayerPages, TwoHundredPlayersEachOnceAtTheirTable) {
    Tournament t = test::tournamentAwaitingResults(200, 12, 3, test::Seed{7}, test::Teams::With);
    ASSERT_EQ(t.currentRound, 3);
    const PlayerPages pages = renderPlayerPages(t, "");
    EXPECT_NE(pages.indexHtml.find("<h2>ТУР № 3</h2>"), std::string::npos);
    EXPECT_EQ(count(pages.indexHtml, "class=\"card\""), 50u);
    EXPECT_EQ(count(pages.indexHtml, "class=\"p\""), 200u);
    // Each start number on exactly one card, under the table the record gives it.
    const std::regex card("<h3>СТОЛ № (\\d+)</h3>\\n((?:<div class=\"p\"[^\\n]*\\n){4})");
    const std::regex number("data-n=\"(\\d+)\"");
    std::set<int> seen;
    int cards = 0;
    for (auto c = std::sregex_iterator(pages.indexHtml.begin(), pages.indexHtml.end(), card);
         c != std::sregex_iterator(); ++c, ++cards) {
        const int table = std::stoi((*c)[1]) - 1;
        const std::string rows = (*c)[2];
        int seat = 0;
        for (auto n = std::sregex_iterator(rows.begin(), rows.end(), number);
             n != std::sregex_iterator(); ++n, ++seat) {
            const int player = t.playerAt(2, table, seat);
            ASSERT_GE(player, 0);
            EXPECT_EQ(std::stoi((*n)[1]), t.playerNumber[player] + 1);
            seen.insert(std::stoi((*n)[1]));
        }
        EXPECT_EQ(seat, 4);
    }
    EXPECT_EQ(cards, 50);
    EXPECT_EQ(seen.size(), 200u);
    EXPECT_EQ(count(pages.seatingJson, "{\"table\": "), 50u);
    EXPECT_EQ(count(pages.seatingJson, "{\"seat\": "), 200u);

    // The standings run from the highest total down, 200 rows.
    const std::vector<std::string> scores = column(pages.standingsHtml, 3);
    ASSERT_EQ(scores.size(), 200u);
    for (std::size_t i = 1; i < scores.size(); ++i)
        EXPECT_GE(std::stoi(scores[i - 1]), std::stoi(scores[i]));
    EXPECT_EQ(column(pages.teamsHtml, 0).size(), static_cast<std::size_t>(t.teams.count()));
}

} // namespace
