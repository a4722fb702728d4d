#include "seating/exhaustive_seating.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace quelna {
namespace {

using test::RecordingJob;
using test::roundTables;
using test::Tables;
using test::tablesOf;

class ExhaustiveSeating : public test::EngineTest {
  protected:
    // Seats tables 0..tables-1 of the round with the given totals and a recording job.
    bool seat(Tournament& t, int round, const std::vector<int>& totals, int tables,
              RecordingJob& job) {
        seated.assign(t.playerCount, 0);
        for (int p = 0; p < t.playerCount; ++p)
            seated[p] = t.tableAt(round, p) != -1;
        job.job.options.overlapTables = overlap;
        return seatTopTables(t, round, totals, seated, tables, job.job);
    }

    std::vector<char> seated;
    int overlap = 0; // bottom tables M
};

TEST_F(ExhaustiveSeating, FirstRoundHeadsByStartNumberAndCandidatesByIndex) {
    Tournament t(12, 2);
    t.playerNumber = {5, 3, 11, 0, 7, 1, 9, 2, 10, 4, 8, 6};
    RecordingJob job(0);
    ASSERT_TRUE(seat(t, 0, std::vector<int>(12, 0), 3, job));
    EXPECT_EQ(tablesOf(t, 0), (Tables{{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}}));
    // Heads are players 3, 5 and 9 (start numbers 0, 1, 4); a head chosen by index would
    // have put player 0 at the top of table 1 instead.
    EXPECT_EQ(t.tableAt(0, 3), 0);
    EXPECT_EQ(t.tableAt(0, 5), 1);
    EXPECT_EQ(t.tableAt(0, 9), 2);
    EXPECT_EQ(job.variants, 1); // success only
    for (char s : seated)
        EXPECT_TRUE(s);
    // The round's pairs stay in the matrix after success.
    EXPECT_EQ(t.meetings.at(3, 0), 1);
    EXPECT_EQ(t.meetings.at(3, 4), 0);
}

TEST_F(ExhaustiveSeating, CandidatesFollowTheExchangeSortAmongEqualTotals) {
    // Players 8, 9 and 10 sit at table 0 by hand; of the others only 1..4 have not met 8, so
    // they are the candidates for the last place there: totals 10, 20, 10, 30, which the
    // exchange sort orders 4, 2, 3, 1 (a stable sort: 4, 2, 1, 3).
    Tournament t(12, 2);
    numberPlayersInOrder(t);
    for (int p : {0, 5, 6, 7, 11})
        t.addMeeting(p, 8);
    // Without 4 or without 2 the rest of 1..4 cannot be split over tables 1 and 2.
    for (auto [a, b] : {std::pair{1, 2}, {2, 3}, {1, 3}, {3, 4}, {1, 4}})
        t.addMeeting(a, b);
    for (int p : {8, 9, 10})
        t.tableAt(0, p) = 0;
    std::vector<int> totals(12, 0);
    totals[1] = 10;
    totals[2] = 20;
    totals[3] = 10;
    totals[4] = 30;
    RecordingJob job(0);
    ASSERT_TRUE(seat(t, 0, totals, 3, job));
    EXPECT_EQ(tablesOf(t, 0), (Tables{{3, 8, 9, 10}, {0, 2, 4, 5}, {1, 6, 7, 11}}));
    EXPECT_GT(job.variants, 1); // 4 and 2 were tried and failed first
}

TEST_F(ExhaustiveSeating, TeamMatesShareOnlyBottomTables) {
    // Six team-mates among twelve players: only one of them fits at each of tables 0 and 1.
    auto make = [] {
        Tournament t(12, 2);
        numberPlayersInOrder(t);
        for (int p = 0; p < 6; ++p)
            t.team[p] = 1;
        t.rebuildMeetings();
        return t;
    };
    {
        overlap = 1;
        Tournament t = make();
        RecordingJob job(0);
        ASSERT_TRUE(seat(t, 0, std::vector<int>(12, 0), 3, job));
        EXPECT_EQ(tablesOf(t, 0), (Tables{{0, 6, 7, 8}, {1, 9, 10, 11}, {2, 3, 4, 5}}));
    }
    {
        overlap = 0;
        Tournament t = make();
        const std::vector<int> cellsBefore = t.meetings.cells();
        RecordingJob job(0);
        EXPECT_FALSE(seat(t, 0, std::vector<int>(12, 0), 3, job));
        // Everything the search placed was taken back.
        EXPECT_EQ(roundTables(t, 0), std::vector<int>(12, -1));
        EXPECT_EQ(t.meetings.cells(), cellsBefore);
        EXPECT_EQ(seated, std::vector<char>(12, 0));
        // The deepest dead end was at table 2, with tables 0 and 1 full.
        EXPECT_EQ(job.events.back(), "tables 2");
        EXPECT_GT(job.variants, 1);
    }
}

TEST_F(ExhaustiveSeating, AllTablesBottomIsGreedyByTotals) {
    overlap = 3;
    Tournament t(12, 3);
    numberPlayersInOrder(t);
    // Everyone at his table of round 0 has met.
    test::seatTables(t, 0, {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}});
    t.normalizeRounds();
    std::vector<int> totals(12, 0);
    for (int p = 0; p < 12; ++p)
        totals[p] = 12 - p;
    RecordingJob job(1);
    ASSERT_TRUE(seat(t, 1, totals, 3, job));
    EXPECT_EQ(tablesOf(t, 1), (Tables{{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}}));
    EXPECT_EQ(job.variants, 1); // never backtracked
}

TEST_F(ExhaustiveSeating, StopOnEntryChangesNothing) {
    Tournament t(16, 2);
    numberPlayersInOrder(t);
    RecordingJob job(0);
    job.stopFlag = true;
    EXPECT_FALSE(seat(t, 0, std::vector<int>(16, 0), 4, job));
    EXPECT_EQ(roundTables(t, 0), std::vector<int>(16, -1));
    EXPECT_EQ(t.meetings.cells(), std::vector<int>(256, 0));
    EXPECT_EQ(job.variants, 0);
    EXPECT_TRUE(job.events.empty());
}

TEST_F(ExhaustiveSeating, HandPlacedPlayerBelongsToHisTable) {
    Tournament t(12, 2);
    numberPlayersInOrder(t);
    t.team[1] = t.team[5] = 1;
    t.rebuildMeetings();
    t.tableAt(0, 5) = 0; // placed by hand at the top table
    RecordingJob job(0);
    ASSERT_TRUE(seat(t, 0, std::vector<int>(12, 0), 3, job));
    // Table 0 already holds player 5, so it gets no head; his team-mate 1 is no candidate there.
    EXPECT_EQ(tablesOf(t, 0), (Tables{{0, 2, 3, 5}, {1, 4, 6, 7}, {8, 9, 10, 11}}));
}

TEST_F(ExhaustiveSeating, FewerTablesStopsWhenTheyAreFull) {
    Tournament t(16, 2);
    for (int p = 0; p < 16; ++p)
        t.playerNumber[p] = 15 - p;
    t.tableAt(0, 0) = 3; // hand-placed below the limit: not counted, not moved
    RecordingJob job(0);
    ASSERT_TRUE(seat(t, 0, std::vector<int>(16, 0), 2, job));
    const Tables tables = tablesOf(t, 0);
    EXPECT_EQ(tables[0], (std::vector<int>{1, 2, 3, 15}));
    EXPECT_EQ(tables[1], (std::vector<int>{4, 5, 6, 14}));
    EXPECT_EQ(tables[2], std::vector<int>{});
    EXPECT_EQ(tables[3], std::vector<int>{0});
    EXPECT_EQ(t.meetings.at(15, 1), 1);
    EXPECT_EQ(t.meetings.at(0, 7), 0);
}

} // namespace
} // namespace quelna
