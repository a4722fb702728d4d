#include "seating/seating_factor.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "seating/round_quality.h"

namespace quelna {
namespace {

using test::seatTables;

TEST(SeatingFactor, TwelvePlayersExample) {
    Tournament t(12, 2);
    // Player p has rank p, so ranks can be written as player indices.
    std::vector<int> rank(12);
    for (int p = 0; p < 12; ++p)
        rank[p] = p;
    seatTables(t, 0, {{0, 1, 2, 4}, {3, 5, 6, 7}, {8, 9, 10, 11}});
    EXPECT_EQ(seatingFactor(t, 0, rank), 36);
    EXPECT_EQ(displayFactor(36, 3), 2);

    seatTables(t, 1, {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}});
    EXPECT_EQ(seatingFactor(t, 1, rank), 30);
    EXPECT_EQ(displayFactor(30, 3), 0);
}

TEST(SeatingFactor, OnlyFirstFourPlayersOfATableCountAndUnseatedAreSkipped) {
    Tournament t(12, 2);
    std::vector<int> v(12, 0);
    v[5] = 100; // fifth player at table 0: ignored
    v[11] = 50; // unseated: ignored
    for (int p = 0; p < 5; ++p)
        t.tableAt(0, p) = 0;
    v[0] = 1;
    v[3] = 4; // pairs of {0,1,2,3} with values 1,0,0,4: 1+1+3+0+4+4
    EXPECT_EQ(seatingFactor(t, 0, v), 13);
}

TEST(SeatingFactor, DisplayFormTruncatesTowardZero) {
    EXPECT_EQ(displayFactor(30 + 5, 3), 1);
    EXPECT_EQ(displayFactor(28, 3), 0); // -2/3 truncates to 0, not -1
}

TEST(RankByTotals, HighestFirstEqualTotalsBySmallerStartNumber) {
    Tournament t(12, 2);
    for (int p = 0; p < 12; ++p)
        t.playerNumber[p] = 11 - p;
    std::vector<int> totals(12, 0);
    totals[7] = 500;
    totals[2] = -100;
    const std::vector<int> rank = rankByTotals(t, totals);
    EXPECT_EQ(rank[7], 0);
    EXPECT_EQ(rank[11], 1); // start number 0 among the zero totals
    EXPECT_EQ(rank[0], 10); // start number 11, last of the zeros
    EXPECT_EQ(rank[2], 11);
}

TEST(RoundQuality, RepeatsCountTeamMatesAndEarlierTablesOnce) {
    Tournament t(12, 3);
    t.team[0] = t.team[1] = 1;
    const test::Tables inOrder = {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}};
    seatTables(t, 0, inOrder);
    seatTables(t, 1, inOrder);            // same tables again: 18 pairs met in round 0
    EXPECT_EQ(countRepeatPairs(t, 0), 1); // only the team-mates
    EXPECT_EQ(countRepeatPairs(t, 1), 18);
    EXPECT_EQ(countRepeatPairs(t, 2), -1);
    EXPECT_EQ(roundDisplayFactor(t, 2), -1);
}

} // namespace
} // namespace quelna
