// The round clock on the players' seating page and in seating.json, for each state of the clock.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/round_clock.h"
#include "played_tournament.h"
#include "publish/player_pages.h"
#include "publish/web_text.h"

namespace {

using namespace quelna;

constexpr ClockTime kT0 = 1'765'300'000'000;

TEST(RoundClockPage, StatesInTheJsonAndOnTheSeatingPage) {
    const Tournament t =
        test::tournamentAwaitingResults(16, 4, 2, test::Seed{7}, test::Teams::Without);
    ASSERT_EQ(t.currentRound, 2);
    RoundClock c;
    followRound(c, 2);
    c.startsAt = kT0 + 5 * kMinute;
    const std::string common = "\"duration\": 5400000";
    const struct {
        std::function<void()> change;
        std::string json;    // the clock object, from its start to "duration"
        std::string element; // the data attributes of the clock element
    } states[] = {
        {[] {}, "{\"round\": 2, \"state\": \"idle\", \"endsAt\": null, \"left\": null, ",
         "data-s=\"idle\" data-e=\"0\" data-l=\"0\" data-b=\"1765300300000\""},
        {[&] { startClock(c, kT0); },
         "{\"round\": 2, \"state\": \"running\", \"endsAt\": 1765305400000, \"left\": null, ",
         "data-s=\"running\" data-e=\"1765305400000\" data-l=\"0\" data-b=\"0\""},
        {[&] { pauseClock(c, kT0 + 60'000); },
         "{\"round\": 2, \"state\": \"paused\", \"endsAt\": null, \"left\": 5340000, ",
         "data-s=\"paused\" data-e=\"0\" data-l=\"5340000\" data-b=\"0\""},
    };
    for (const auto& s : states) {
        s.change();
        SCOPED_TRACE(s.element);
        const PlayerPages pages = renderPlayerPages(t, "", &c);
        EXPECT_NE(pages.seatingJson.find("]}\n], \"clock\": " + s.json + common), std::string::npos)
            << pages.seatingJson.substr(pages.seatingJson.size() - 200);
        const std::size_t clock =
            pages.indexHtml.find("<div id=\"clock\" class=\"clock\" " + s.element +
                                 " data-tb=\"До начала тура\" data-tl=\"До конца тура\" "
                                 "data-tp=\"Пауза\" data-tu=\"Время вышло\" hidden>");
        EXPECT_NE(clock, std::string::npos);
        EXPECT_LT(pages.indexHtml.find("<h2>ТУР № 2</h2>"), clock);
        EXPECT_LT(clock, pages.indexHtml.find("class=\"cards\"")) << "above the seating";
    }

    // Extra time: in the JSON, and beside the table's number on its card.
    setTableExtra(c, 3, 10);
    const PlayerPages extra = renderPlayerPages(t, "", &c);
    EXPECT_NE(extra.seatingJson.find("\"extra\": [{\"table\": 3, \"minutes\": 10}]}"),
              std::string::npos);
    EXPECT_NE(extra.indexHtml.find("<h3>СТОЛ № 3 <span class=\"extra\">+10 мин</span></h3>"),
              std::string::npos);
    EXPECT_NE(extra.indexHtml.find("<h3>СТОЛ № 2</h3>"), std::string::npos);

    // The page still runs exactly the one script the policy names, which may now read the JSON
    // from its own server and from nowhere else.
    EXPECT_NE(extra.indexHtml.find("<script>" + std::string(searchScript()) + "</script>"),
              std::string::npos);
    EXPECT_NE(contentSecurityPolicy().find("'sha256-" + sha256Base64(searchScript()) + "'"),
              std::string::npos);
    EXPECT_NE(contentSecurityPolicy().find("connect-src 'self';"), std::string::npos);

    // A clock of another round (the next one not seated yet, or a stale one) is not shown.
    c.round = 1;
    const PlayerPages stale = renderPlayerPages(t, "", &c);
    const PlayerPages none = renderPlayerPages(t, "");
    EXPECT_EQ(stale.indexHtml, none.indexHtml);
    EXPECT_EQ(stale.seatingJson, none.seatingJson);
    EXPECT_EQ(none.seatingJson.find("clock"), std::string::npos);
}

} // namespace
