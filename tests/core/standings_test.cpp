#include <gtest/gtest.h>

#include <climits>

#include "core/standings.h"

using namespace quelna;

namespace {

Tournament withTotals(const std::vector<int>& totals, int players = 12) {
    Tournament t(players, 2);
    for (std::size_t p = 0; p < totals.size(); ++p)
        t.pointsAt(0, static_cast<int>(p)) = totals[p];
    return t;
}

// One ranking of the players after `rounds` rounds, with what rankPlayers returned.
struct PlayerRanking {
    PlayerRanking(const Tournament& t, int rounds) {
        allEqual = rankPlayers(t, rounds, order, texts);
    }
    std::vector<int> order;
    std::vector<std::string> texts;
    bool allEqual;
};

} // namespace

TEST(RankPlayers, ExchangeSortLeavesTheTextsTieOrder) {
    Tournament t = withTotals({10, 20, 10, 30}, 12);
    for (int p = 4; p < 12; ++p)
        t.pointsAt(0, p) = -1000 - p; // distinct and below
    const PlayerRanking r(t, 2);
    EXPECT_FALSE(r.allEqual);
    EXPECT_EQ(std::vector<int>(r.order.begin(), r.order.begin() + 4),
              (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(std::vector<std::string>(r.texts.begin(), r.texts.begin() + 5),
              (std::vector<std::string>{"1", "2", "3|4", "3|4", "5"}));
}

TEST(RankPlayers, TieGroupsGetOnlyTheirOwnPositions) {
    Tournament t = withTotals({50, 50, 50, 40, 30, 30, 20, 10, 5, 4, 3, 2});
    const PlayerRanking r(t, 1);
    EXPECT_EQ(std::vector<std::string>(r.texts.begin(), r.texts.begin() + 7),
              (std::vector<std::string>{"1|2|3", "1|2|3", "1|2|3", "4", "5|6", "5|6", "7"}));
}

TEST(RankPlayers, AllEqualOrdersByStartNumber) {
    Tournament t(12, 2);
    for (int p = 0; p < 12; ++p)
        t.playerNumber[p] = (p * 5) % 12;
    const PlayerRanking numbered(t, 2);
    EXPECT_TRUE(numbered.allEqual);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(t.playerNumber[numbered.order[i]], i);
    const PlayerRanking unnumbered(Tournament(12, 2), 2);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(unnumbered.order[i], i);
}

TEST(RankPlayers, LongTieTextIsShortenedButShowsBothEnds) {
    Tournament t(200, 2);
    for (int p = 0; p < 200; ++p)
        t.pointsAt(0, p) = p < 130 ? 1000 - p : 0; // positions 131..200 share a total of 0
    const PlayerRanking r(t, 1);
    const std::vector<std::string>& texts = r.texts;
    const std::string& text = texts[150];
    EXPECT_LE(text.size(), 255u);
    EXPECT_EQ(text.rfind("131|132|", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 4), "|200");
    EXPECT_NE(text.find("..."), std::string::npos);
    EXPECT_EQ(texts[130], text);
    EXPECT_EQ(texts[129], "130");
}

TEST(RankTeams, TotalsOrderAndEmptyCases) {
    Tournament t(12, 2);
    std::vector<int> order, totals;
    std::vector<std::string> texts;
    EXPECT_TRUE(rankTeams(t, 2, order, totals, texts));
    EXPECT_TRUE(order.empty());

    t.team[0] = t.teams.findOrAdd("A");
    t.team[1] = t.teams.findOrAdd("B");
    t.team[2] = t.teams.findOrAdd("C");
    t.team[3] = 0;
    t.pointsAt(0, 0) = 10;
    t.pointsAt(0, 1) = 30;
    t.pointsAt(0, 2) = 10;
    t.pointsAt(0, 3) = 999; // no team: counts for nobody
    EXPECT_FALSE(rankTeams(t, 2, order, totals, texts));
    EXPECT_EQ(order,
              (std::vector<int>{1, 0, 2})); // exchange sort: the tie stays in slot order here
    EXPECT_EQ(totals, (std::vector<int>{10, 30, 10}));
    EXPECT_EQ(texts, (std::vector<std::string>{"1", "2|3", "2|3"}));
    EXPECT_TRUE(rankTeams(t, 0, order, totals, texts)); // no rounds counted: all equal
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

TEST(Standings, ExtremePointsSaturateInsteadOfOverflowing) {
    // Found by fuzzing the file reader: points at the ends of the 32-bit range in several rounds.
    Tournament t(12, 3);
    t.team[0] = t.team[1] = t.teams.findOrAdd("A");
    t.team[2] = t.teams.findOrAdd("B");
    for (int r = 0; r < 3; ++r) {
        t.pointsAt(r, 0) = INT_MAX;
        t.pointsAt(r, 1) = INT_MAX;
        t.pointsAt(r, 2) = INT_MIN;
    }
    t.pointsAt(0, 3) = INT_MAX;
    t.pointsAt(1, 3) = INT_MAX;
    t.pointsAt(2, 3) = INT_MIN;
    EXPECT_EQ(t.runningTotal(0, 3), INT_MAX);
    EXPECT_EQ(t.runningTotal(2, 3), INT_MIN);
    EXPECT_EQ(t.runningTotal(3, 3), INT_MAX - 1); // summed wide, not clamped step by step

    std::vector<int> order, totals;
    std::vector<std::string> texts;
    EXPECT_FALSE(rankTeams(t, 3, order, totals, texts));
    EXPECT_EQ(totals, (std::vector<int>{INT_MAX, INT_MIN}));
    const PlayerRanking players(t, 3);
    EXPECT_FALSE(players.allEqual);
    EXPECT_EQ(players.order.back(), 2);
}
