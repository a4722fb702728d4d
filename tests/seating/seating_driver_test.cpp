#include "seating/seating_driver.h"

#include <gtest/gtest.h>

#include "core/random.h"
#include "core/settings.h"
#include "engine_fixture.h"
#include "seating/round_quality.h"

namespace quelna {
namespace {

using test::RecordingJob;
using test::roundTables;
using test::tablesOf;
using Tables = std::vector<std::vector<int>>;

class SeatingDriver : public ::testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
    static void resetSettings() {
        settings().fixedTables = 0;
        settings().overlapTables = 0;
    }
};

// Switches to the fallback after `limit` dead ends, like the dialog's "Далее".
void switchAfter(RecordingJob& job, long long limit) {
    job.job.onVariant = [&job, limit](SeatingJob& j) {
        ++j.variants;
        if (++job.variants == limit)
            job.requestSwitch();
    };
}

TEST_F(SeatingDriver, EmptySlotsSeatExactlyAsARecordingRunner) {
    const Tournament start = test::playedTournament(48, 6, 4, 3, true);
    ASSERT_EQ(start.currentRound, 4);
    Tournament bare = start;
    SeatingJob silent;
    silent.round = 4;
    ASSERT_TRUE(seatRound(bare, silent));
    Tournament watched = start;
    RecordingJob job(4);
    ASSERT_TRUE(seatRound(watched, job.job));
    EXPECT_EQ(roundTables(bare, 4), roundTables(watched, 4));
    EXPECT_EQ(countRepeatPairs(bare, 4), 0);
    EXPECT_EQ(bare.seatingJob, nullptr);
}

TEST_F(SeatingDriver, ExhaustedSearchFailsWithoutFallback) {
    // Twelve players cannot play a second round without a repeat: three tables of round 1
    // cannot give four strangers to a table.
    Tournament t = test::playedTournament(12, 3, 1, 2, false);
    ASSERT_EQ(t.currentRound, 1);
    const std::vector<int> meetings = t.meetings.cells();
    RecordingJob job(1);
    EXPECT_FALSE(seatRound(t, job.job));
    EXPECT_EQ(roundTables(t, 1), std::vector<int>(12, -1));
    EXPECT_EQ(t.meetings.cells(), meetings);
    EXPECT_GT(job.variants, 0);
    for (const std::string& e : job.events)
        EXPECT_NE(e, "random");
}

TEST_F(SeatingDriver, StopOnEntryWithoutSwitchChangesNothing) {
    Tournament t = test::playedTournament(16, 3, 1, 4, false);
    const std::vector<int> meetings = t.meetings.cells();
    RecordingJob job(1);
    job.stopFlag = true;
    EXPECT_FALSE(seatRound(t, job.job));
    EXPECT_EQ(roundTables(t, 1), std::vector<int>(16, -1));
    EXPECT_EQ(t.meetings.cells(), meetings);
    EXPECT_TRUE(job.events.empty());
    EXPECT_EQ(job.variants, 0);
}

TEST_F(SeatingDriver, SwitchFallsBackToRandomSearchInOrder) {
    Tournament t = test::playedTournament(40, 6, 4, 8, true);
    ASSERT_EQ(t.currentRound, 4);
    const std::vector<int> meetings = t.meetings.cells();
    RecordingJob job(4);
    switchAfter(job, 1); // the first dead end or success switches
    job.job.onRandomStart = [&](SeatingJob&) {
        job.events.push_back("random");
        // The driver cleared both flags before the fallback began.
        EXPECT_FALSE(job.stopFlag);
        EXPECT_FALSE(job.switchFlag);
        job.job.onVariant = nullptr;
    };
    ASSERT_TRUE(seatRound(t, job.job));
    ASSERT_GE(job.events.size(), 5u);
    // The first dead end reported its depth and switched; then the fallback began.
    EXPECT_EQ(job.events[0].rfind("tables ", 0), 0u);
    EXPECT_NE(job.events[0], "tables 0");
    EXPECT_EQ(std::vector<std::string>(job.events.begin() + 1, job.events.begin() + 5),
              (std::vector<std::string>{"timer", "variants", "tables 0", "random"}));
    EXPECT_EQ(countRepeatPairs(t, 4), 0);
    EXPECT_EQ(t.meetings.cells(), meetings);
}

TEST_F(SeatingDriver, TopTablesKeepTheirExhaustiveSeating) {
    Tournament t = test::playedTournament(40, 6, 4, 8, true);
    // The same round seated exhaustively first, to know its top tables.
    Tournament reference = t;
    SeatingJob plain;
    plain.round = 4;
    ASSERT_TRUE(seatRound(reference, plain));

    settings().fixedTables = 3;
    RecordingJob job(4);
    switchAfter(job, 1);
    job.job.onRandomStart = [&](SeatingJob&) { job.job.onVariant = nullptr; };
    ASSERT_TRUE(seatRound(t, job.job));
    const Tables seated = tablesOf(t, 4);
    const Tables expected = tablesOf(reference, 4);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(seated[x], expected[x]) << "table " << x;
    EXPECT_EQ(countRepeatPairs(t, 4), 0);
}

TEST_F(SeatingDriver, AllTablesFixedRepeatsTheExhaustiveSeating) {
    Tournament t = test::playedTournament(24, 4, 2, 6, false);
    Tournament reference = t;
    SeatingJob plain;
    plain.round = 2;
    ASSERT_TRUE(seatRound(reference, plain));

    settings().fixedTables = 6;
    RecordingJob job(2);
    switchAfter(job, 1);
    job.job.onRandomStart = [&](SeatingJob&) { job.job.onVariant = nullptr; };
    ASSERT_TRUE(seatRound(t, job.job));
    EXPECT_EQ(roundTables(t, 2), roundTables(reference, 2));
}

TEST_F(SeatingDriver, HandPlacedPlayersKeepTheirTables) {
    Tournament t = test::playedTournament(24, 4, 2, 12, true);
    ASSERT_EQ(t.currentRound, 2);
    t.tableAt(2, 20) = 3;
    t.tableAt(2, 7) = 5;
    for (bool fallback : {false, true}) {
        Tournament copy = t;
        RecordingJob job(2);
        switchAfter(job, fallback ? 1 : 1000000);
        job.job.onRandomStart = [&](SeatingJob&) { job.job.onVariant = nullptr; };
        ASSERT_TRUE(seatRound(copy, job.job)) << fallback;
        EXPECT_TRUE(copy.isRoundComplete(2));
        if (!fallback) {
            EXPECT_EQ(copy.tableAt(2, 20), 3);
            EXPECT_EQ(copy.tableAt(2, 7), 5);
        } else {
            // The random search never moves them, but renumbers every table by standing.
            EXPECT_NE(copy.tableAt(2, 20), copy.tableAt(2, 7));
        }
    }
}

TEST_F(SeatingDriver, ImpossibleHandPlacementIsRefused) {
    Tournament t(12, 2);
    numberPlayersInOrder(t);
    for (int p = 0; p < 5; ++p)
        t.tableAt(0, p) = 2;
    RecordingJob job(0);
    EXPECT_FALSE(seatRound(t, job.job));
    EXPECT_EQ(t.tableAt(0, 4), 2);
    EXPECT_EQ(t.tableAt(0, 5), -1);
}

} // namespace
} // namespace quelna
