#include "seating/seating_driver.h"

#include <gtest/gtest.h>

#include "core/random.h"
#include "engine_fixture.h"
#include "seating/round_quality.h"

namespace quelna {
namespace {

using test::RecordingJob;
using test::roundTables;
using test::Tables;
using test::tablesOf;

using SeatingDriver = test::EngineTest;

// Switches to the fallback after `limit` dead ends, like the dialog's "Далее".
void switchAfter(RecordingJob& job, long long limit) {
    job.job.onVariant = [&job, limit](SeatingJob& j) {
        ++j.variants;
        if (++job.variants == limit)
            job.requestSwitch();
    };
}

// Switches after `limit` dead ends and lets the random search run without limit.
void switchToRandomAfter(RecordingJob& job, long long limit) {
    switchAfter(job, limit);
    job.job.onRandomStart = [&job](SeatingJob&) { job.job.onVariant = nullptr; };
}

// The round as the exhaustive search alone seats it.
Tournament exhaustiveReference(const Tournament& t, int round) {
    Tournament reference = t;
    SeatingJob plain;
    plain.round = round;
    EXPECT_TRUE(seatRound(reference, plain));
    return reference;
}

TEST_F(SeatingDriver, EmptySlotsSeatExactlyAsARecordingRunner) {
    const Tournament start = test::playedTournament(48, 6, 4, test::Seed{3}, test::Teams::With);
    ASSERT_EQ(start.currentRound, 4);
    const Tournament bare = exhaustiveReference(start, 4);
    Tournament watched = start;
    RecordingJob job(4);
    ASSERT_TRUE(seatRound(watched, job.job));
    EXPECT_EQ(roundTables(bare, 4), roundTables(watched, 4));
    EXPECT_EQ(countRepeatPairs(bare, 4), 0);
}

TEST_F(SeatingDriver, ExhaustedSearchFailsWithoutFallback) {
    // Twelve players cannot play a second round without a repeat: three tables of round 1
    // cannot give four strangers to a table.
    Tournament t = test::playedTournament(12, 3, 1, test::Seed{2}, test::Teams::Without);
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
    Tournament t = test::playedTournament(16, 3, 1, test::Seed{4}, test::Teams::Without);
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
    Tournament t = test::playedTournament(40, 6, 4, test::Seed{8}, test::Teams::With);
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

TEST_F(SeatingDriver, FixedTablesKeepTheirExhaustiveSeating) {
    const struct {
        int players, rounds, played;
        std::uint32_t seed;
        bool teams;
        int fixed;
    } cases[] = {{40, 6, 4, 8, true, 3}, {24, 4, 2, 6, false, 6}}; // top three; every table
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.players << " players, " << c.fixed << " fixed");
        Tournament t = test::playedTournament(c.players, c.rounds, c.played, test::Seed{c.seed},
                                              test::withTeams(c.teams));
        // The same round seated exhaustively first, to know its top tables.
        const Tournament reference = exhaustiveReference(t, c.played);
        RecordingJob job(c.played);
        job.job.options.fixedTables = c.fixed;
        switchToRandomAfter(job, 1);
        ASSERT_TRUE(seatRound(t, job.job));
        const Tables seated = tablesOf(t, c.played);
        const Tables expected = tablesOf(reference, c.played);
        for (int x = 0; x < c.fixed; ++x)
            EXPECT_EQ(seated[x], expected[x]) << "table " << x;
        EXPECT_EQ(countRepeatPairs(t, c.played), 0);
    }
}

TEST_F(SeatingDriver, HandPlacedPlayersKeepTheirTables) {
    Tournament t = test::playedTournament(24, 4, 2, test::Seed{12}, test::Teams::With);
    ASSERT_EQ(t.currentRound, 2);
    t.tableAt(2, 20) = 3;
    t.tableAt(2, 7) = 5;
    for (bool fallback : {false, true}) {
        Tournament copy = t;
        RecordingJob job(2);
        switchToRandomAfter(job, fallback ? 1 : 1000000);
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
