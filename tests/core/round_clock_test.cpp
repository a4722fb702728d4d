// The round clock driven by a fake clock through one round, with every state written to a real
// settings file and read back as a restarted program would.
#include <gtest/gtest.h>

#include <functional>

#include "core/ini_file.h"
#include "core/round_clock.h"
#include "core/round_clock_file.h"
#include "support/files.h"

namespace {

using namespace quelna;

constexpr ClockTime kT0 = 1'765'300'000'000; // a December 2025 afternoon
constexpr ClockTime kSecond = 1000;

struct Step {
    ClockTime at; // seconds after kT0
    std::function<void(RoundClock&, ClockTime)> action;
    ClockPhase phase;
    const char* digits;
    int gonePermille;
    std::vector<std::pair<int, const char*>> tables; // table, digits ("0:00" when up)
};

TEST(RoundClock, OneRoundWithPausesMinutesExtraTimeAndRestarts) {
    test_support::ScratchDir dir("quelna_clock");
    const std::string path = (dir.path() / "quelna.ini").string();
    test_support::writeFile(path, "[QUELNA]\r\nTOURNAMENT=Cup\r\n");
    auto none = [](RoundClock&, ClockTime) {};
    auto start = [](RoundClock& c, ClockTime now) { startClock(c, now); };
    auto pause = [](RoundClock& c, ClockTime now) { pauseClock(c, now); };
    auto plus = [](RoundClock& c, ClockTime) { addMinutes(c, 1); };
    auto minus = [](RoundClock& c, ClockTime) { addMinutes(c, -1); };
    using P = ClockPhase;
    const Step steps[] = {
        {0, [](RoundClock& c, ClockTime) { followRound(c, 3); }, P::Idle, "90:00", 0, {}},
        {0, plus, P::Idle, "91:00", 0, {}},
        {0, minus, P::Idle, "90:00", 0, {}},
        {10, start, P::Running, "90:00", 0, {}},
        {610, none, P::Running, "80:00", 111, {}},
        {610, pause, P::Paused, "80:00", 111, {}},
        {1210, none, P::Paused, "80:00", 111, {}}, // ten minutes of pause cost nothing
        {1210, start, P::Running, "80:00", 111, {}},
        {1270, none, P::Running, "79:00", 122, {}},
        {1270, plus, P::Running, "80:00", 120, {}}, // 91 minutes now, 11 gone
        {1270, minus, P::Running, "79:00", 122, {}},
        {1270,
         [](RoundClock& c, ClockTime) { setTableExtra(c, 5, 10); },
         P::Running,
         "79:00",
         122,
         {{5, "89:00"}}},
        {1271,
         [](RoundClock& c, ClockTime) { setTableExtra(c, 2, 3); },
         P::Running,
         "78:59",
         122,
         {{2, "81:59"}, {5, "88:59"}}},
        {1271,
         [](RoundClock& c, ClockTime) { setTableExtra(c, 2, 0); },
         P::Running,
         "78:59",
         122,
         {{5, "88:59"}}},
        {6009, none, P::Running, "0:01", 999, {{5, "10:01"}}},
        {6010, none, P::TimeUp, "0:00", 1000, {{5, "10:00"}}},
        {6010, minus, P::TimeUp, "0:00", 1000, {{5, "9:00"}}},
        {6610, pause, P::TimeUp, "0:00", 1000, {{5, "0:00"}}}, // paused after the end: still up
        {6610,
         [](RoundClock& c, ClockTime) { followRound(c, 0); },
         P::TimeUp,
         "0:00",
         1000,
         {{5, "0:00"}}}, // no seated round (a tournament loading): the clock stays
        {6700, [](RoundClock& c, ClockTime) { followRound(c, 4); }, P::Idle, "90:00", 0, {}},
        {6700,
         [](RoundClock& c, ClockTime now) { c.startsAt = now + 1800 * kSecond; },
         P::BeforeStart,
         "30:00",
         0,
         {}},
        {8500, none, P::Idle, "90:00", 0, {}}, // the planned start passed without a start
        {8500, start, P::Running, "90:00", 0, {}},
    };
    RoundClock clock = loadRoundClock(path);
    ASSERT_EQ(clock.round, 0);
    for (const Step& step : steps) {
        const ClockTime now = kT0 + step.at * kSecond;
        SCOPED_TRACE(testing::Message() << "at " << step.at << " s, expecting " << step.digits);
        step.action(clock, now);
        ASSERT_TRUE(saveRoundClock(clock, path));
        // Every step is what a program restarted at that moment finds.
        const RoundClock reloaded = loadRoundClock(path);
        for (const RoundClock* c : {static_cast<const RoundClock*>(&clock), &reloaded}) {
            const ClockReading r = readClock(*c, now);
            EXPECT_EQ(r.phase, step.phase);
            EXPECT_EQ(clockDigits(r.left), step.digits);
            EXPECT_EQ(r.gonePermille, step.gonePermille);
            ASSERT_EQ(r.tables.size(), step.tables.size());
            for (std::size_t i = 0; i < r.tables.size(); ++i) {
                EXPECT_EQ(r.tables[i].table, step.tables[i].first);
                EXPECT_EQ(clockDigits(r.tables[i].left), step.tables[i].second);
            }
        }
    }
    // Continuing on the reloaded clock after a restart in the middle of the next round.
    RoundClock restarted = loadRoundClock(path);
    EXPECT_EQ(restarted.round, 4);
    EXPECT_EQ(clockDigits(readClock(restarted, kT0 + 9100 * kSecond).left), "80:00");
    pauseClock(restarted, kT0 + 9100 * kSecond);
    EXPECT_EQ(readClock(restarted, kT0 + 99999 * kSecond).phase, ClockPhase::Paused);
    // The other section is kept byte for byte.
    EXPECT_EQ(IniFile::load(path).get("QUELNA", "TOURNAMENT"), "Cup");
}

TEST(RoundClock, DigitsAndDamagedFiles) {
    const std::pair<ClockTime, const char*> digits[] = {
        {-5000, "0:00"},         {0, "0:00"},          {1, "0:01"},          {59'999, "1:00"},
        {60'001, "1:01"},        {5'400'000, "90:00"}, {5'999'000, "99:59"}, {5'999'001, "1:40:00"},
        {36'000'000, "10:00:00"}};
    for (const auto& [ms, text] : digits)
        EXPECT_EQ(clockDigits(ms), text) << ms;

    test_support::ScratchDir dir("quelna_clock");
    const std::string path = (dir.path() / "quelna.ini").string();
    // A file that says nothing sensible gives a stopped clock of 90 minutes.
    test_support::writeFile(path, "[CLOCK]\r\nLENGTH=0\r\nROUND=2\r\nSTATE=7\r\nDURATION=x\r\n"
                                  "ENDS=12abc\r\nEXTRA=3:5,bad,4:0\r\nNOTE=a\r\n");
    RoundClock c = loadRoundClock(path, kT0);
    EXPECT_EQ(c.lengthMinutes, 90);
    EXPECT_EQ(c.round, 2);
    EXPECT_EQ(c.state, ClockState::Idle);
    EXPECT_EQ(c.duration, 90 * kMinute);
    EXPECT_TRUE(c.extra.empty());
    EXPECT_EQ(c.timeUpNote, "a");
    EXPECT_FALSE(c.corner);
    EXPECT_FALSE(c.sound);
}

// Hostile values of every key: none is used, each is named, the clock reads sanely and what is
// written back holds none of them. A sanitizer build aborts on any overflow on the way.
TEST(RoundClock, ExtremeStoredValuesAreDroppedNotUsed) {
    test_support::ScratchDir dir("quelna_clock");
    const std::string path = (dir.path() / "quelna.ini").string();
    const std::string running = "ROUND=2\r\nSTATE=1\r\nDURATION=5400000\r\n";
    const std::string paused = "ROUND=2\r\nSTATE=2\r\nDURATION=5400000\r\n";
    const struct {
        std::string section;
        std::vector<std::string> named;
    } cases[] = {
        {running + "ENDS=-9223372036854775808", {"ENDS=-9223372036854775808"}},
        {running + "ENDS=9223372036854775807", {"ENDS=9223372036854775807"}},
        {running + "ENDS=" + std::to_string(kT0 + 2 * kMaxClockSpan),
         {"ENDS=" + std::to_string(kT0 + 2 * kMaxClockSpan)}},
        {paused + "LEFT=-9223372036854775808", {"LEFT=-9223372036854775808"}},
        {paused + "LEFT=9223372036854775807", {"LEFT=9223372036854775807"}},
        {"ROUND=2\r\nSTATE=1\r\nENDS=1765300000000\r\nDURATION=9223372036854775807",
         {"DURATION=9223372036854775807"}},
        {"ROUND=2\r\nSTATE=0\r\nDURATION=-9223372036854775808", {"DURATION=-9223372036854775808"}},
        {"STARTS=9223372036854775807\r\nROUND=99999\r\nLENGTH=2147483648",
         {"LENGTH=2147483648", "ROUND=99999", "STARTS=9223372036854775807"}},
        // Tables 1..12 only, and every pair or none.
        {running + "ENDS=1765300000000\r\nEXTRA=2:5,5000:10", {"EXTRA=2:5,5000:10"}},
        {running + "ENDS=1765300000000\r\nEXTRA=2:5,3:99999999999", {"EXTRA=2:5,3:99999999999"}},
        {"CORNER=99999999999999999999\r\nSTATE=-1", {"CORNER=99999999999999999999", "STATE=-1"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.section);
        test_support::writeFile(path, "[QUELNA]\r\nLINES=9\r\n[CLOCK]\r\n" + k.section + "\r\n");
        std::vector<std::string> dropped;
        RoundClock c = loadRoundClock(path, kT0, 12, &dropped);
        EXPECT_EQ(dropped, k.named);
        EXPECT_EQ(c.state, ClockState::Idle);
        EXPECT_EQ(c.lengthMinutes, 90);
        EXPECT_TRUE(c.extra.empty());
        EXPECT_EQ(clockDigits(readClock(c, kT0).left), "90:00");
        // Driven on, the clock stays within its bounds however the organiser presses.
        followRound(c, 2);
        startClock(c, kT0);
        addMinutes(c, 2'000'000'000);
        EXPECT_EQ(c.duration, kMaxClockSpan);
        EXPECT_EQ(clockDigits(readClock(c, kT0).left), "24:00:00");
        pauseClock(c, kT0 + 100 * kMaxClockSpan);
        ASSERT_TRUE(saveRoundClock(c, path));
        std::vector<std::string> again;
        const RoundClock reloaded = loadRoundClock(path, kT0 + 100 * kMaxClockSpan, 12, &again);
        EXPECT_TRUE(again.empty()) << again.front();
        EXPECT_EQ(reloaded.state, ClockState::Paused);
        EXPECT_EQ(readClock(reloaded, kT0).phase, ClockPhase::TimeUp);
        EXPECT_EQ(IniFile::load(path).get("QUELNA", "LINES"), "9");
    }
}

} // namespace
