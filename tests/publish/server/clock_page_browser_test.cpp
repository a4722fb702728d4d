// The round clock on the players' page in a real browser (headless Chromium, skipped when it is
// not installed), served by the page server on 127.0.0.1 with its security policy; and an open
// page following a republish.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "../played_tournament.h"
#include "publish/player_pages.h"
#include "publish/server/page_server.h"
#include "support/run_program.h"

namespace {

using namespace quelna;

constexpr const char* kChromium = "/usr/bin/chromium";

// The page as the browser has it after `budget` milliseconds of virtual time.
std::string browse(int port, const test_support::ScratchDir& dir, int budgetMs,
                   const std::string& screenshot = {}) {
    const std::filesystem::path profile = dir.path() / "profile";
    std::filesystem::remove_all(profile);
    const std::string flags = "--headless --no-sandbox --disable-gpu --disable-quic "
                              "--no-first-run --disable-background-networking "
                              "--disable-component-update --disable-sync --user-data-dir=" +
                              profile.string() + " --window-size=390,844 " +
                              "--virtual-time-budget=" + std::to_string(budgetMs) + " ";
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    if (!screenshot.empty())
        (void)test_support::runProgram(kChromium, flags + "--screenshot=" + screenshot + " " + url,
                                       dir.path());
    return test_support::runProgram(kChromium, flags + "--dump-dom " + url, dir.path()).out;
}

std::string clockText(const std::string& dom) {
    std::smatch m;
    static const std::regex clock(
        "<div id=\"clock\" class=\"(clock[^\"]*)\"[^>]*>"
        "<span class=\"h\">([^<]*)</span><span class=\"t\">([^<]*)</span>");
    if (!std::regex_search(dom, m, clock))
        return "no clock";
    return m[1].str() + "|" + m[2].str() + "|" + m[3].str();
}

TEST(ClockPageInBrowser, CountsDownStopsAtZeroAndFollowsTheServer) {
    if (!QFile::exists(QString::fromUtf8(kChromium)))
        GTEST_SKIP() << "no " << kChromium;
    test_support::ScratchDir dir("quelna_clock_browser");
    const Tournament t =
        test::tournamentAwaitingResults(40, 4, 2, test::Seed{7}, test::Teams::With);
    SnapshotSlot slot;
    PageServer server(slot);
    ASSERT_EQ(server.start(0, "127.0.0.1"), ServerStart::Started);
    RoundClock c;
    followRound(c, 2);

    // Running with 45 minutes left: the browser counts from the end time by its own clock.
    startClock(c, wallClockNow() - 45 * kMinute);
    slot.publish(makePageSnapshot(renderPlayerPages(t, "", &c)));
    const QString shots = qEnvironmentVariable("QUELNA_PAGE_SHOTS");
    const std::string shot =
        shots.isEmpty() ? std::string() : QDir(shots).filePath(u"phone_clock.png"_qs).toStdString();
    const std::string running = clockText(browse(server.port(), dir, 3000, shot));
    EXPECT_TRUE(std::regex_match(running, std::regex("clock\\|До конца тура\\|4[45]:\\d\\d")))
        << running;

    // Over: "Время вышло".
    c.endsAt = wallClockNow() - 1000;
    slot.publish(makePageSnapshot(renderPlayerPages(t, "", &c)));
    EXPECT_EQ(clockText(browse(server.port(), dir, 1000)), "clock up||Время вышло");

    // The page says paused at 12:34; seating.json, read again after 30 seconds, says 5:00.
    PlayerPages pages;
    c.state = ClockState::Paused;
    c.left = 12 * kMinute + 34'000;
    pages.indexHtml = renderIndexHtml(t, "", &c);
    c.left = 5 * kMinute;
    pages.seatingJson = renderSeatingJson(t, "", &c);
    slot.publish(makePageSnapshot(pages));
    EXPECT_EQ(clockText(browse(server.port(), dir, 10000)), "clock|Пауза|12:34")
        << "not asked again before 30 seconds";
    EXPECT_EQ(clockText(browse(server.port(), dir, 40000)), "clock|Пауза|5:00");
}

TEST(FollowInBrowser, AnOpenPageTakesInTheNextRoundWithoutAReload) {
    if (!QFile::exists(QString::fromUtf8(kChromium)))
        GTEST_SKIP() << "no " << kChromium;
    test_support::ScratchDir dir("quelna_follow_browser");
    // The same tournament a round later; the titles differ so that the header, which the page
    // does not swap, tells which version the browser loaded first.
    const Tournament before =
        test::tournamentAwaitingResults(16, 4, 2, test::Seed{7}, test::Teams::Without);
    const Tournament after =
        test::tournamentAwaitingResults(16, 4, 3, test::Seed{7}, test::Teams::Without);
    SnapshotSlot slot;
    slot.publish(makePageSnapshot(renderServedPages(before, "Before")));
    PageServer server(slot);
    ASSERT_EQ(server.start(0, "127.0.0.1"), ServerStart::Started);
    std::thread republish([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        slot.publish(makePageSnapshot(renderServedPages(after, "After")));
    });
    // Virtual time runs ahead while the page waits, and stops while it asks the server: an hour
    // of it lasts a few real seconds, over the republish.
    const std::string dom = browse(server.port(), dir, 3'600'000);
    republish.join();
    EXPECT_NE(dom.find("<h1>Before</h1>"), std::string::npos) << "loaded before the republish";
    EXPECT_NE(dom.find("<h2>ТУР № 3</h2>"), std::string::npos) << "followed it";
    EXPECT_EQ(dom.find("<h2>ТУР № 2</h2>"), std::string::npos);
}

} // namespace
