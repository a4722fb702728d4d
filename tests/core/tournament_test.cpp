#include <gtest/gtest.h>

#include "core/text.h"
#include "core/tournament.h"

using namespace quelna;

namespace {

// Seats the round with slot p at table p / 4.
void seatInOrder(Tournament& t, int round) {
    for (int p = 0; p < t.playerCount; ++p)
        t.tableAt(round, p) = p / 4;
}

} // namespace

TEST(TeamList, FindOrAddMatchesExactlyAndSkipsEmpty) {
    TeamList teams;
    EXPECT_EQ(teams.findOrAdd(""), 0);
    EXPECT_EQ(teams.count(), 0);
    EXPECT_EQ(teams.findOrAdd("Alpha"), 1);
    EXPECT_EQ(teams.findOrAdd("alpha"), 2); // letter case makes another team
    EXPECT_EQ(teams.findOrAdd("Alpha"), 1);
    EXPECT_EQ(teams.count(), 2);
    teams.remove(1);
    EXPECT_EQ(teams.count(), 1);
    EXPECT_EQ(teams.name(1), "alpha");
    EXPECT_EQ(teams.name(5), "");
}

TEST(Tournament, NewRecordIsUnseated) {
    Tournament t(12, 2);
    EXPECT_EQ(t.tableCount(), 3);
    EXPECT_EQ(t.currentRound, 0);
    for (int p = 0; p < 12; ++p) {
        EXPECT_EQ(t.tableAt(0, p), -1);
        EXPECT_EQ(t.seatAt(1, p), -1);
        EXPECT_EQ(t.playerNumber[p], -1);
    }
    t.normalizeRounds();
    EXPECT_EQ(t.currentRound, 0);
}

TEST(Tournament, PurgeRenumbersTeamsAfterTheGap) {
    Tournament t(12, 2);
    t.setRegistration(0, "a", "One", 1);
    t.setRegistration(1, "b", "Two", 2);
    t.setRegistration(2, "c", "Three", 3);
    t.setRegistration(3, "d", "Three", 4);
    t.setRegistration(1, "b", "", 2); // nobody left in team 2
    t.purgeUnusedTeams();
    EXPECT_EQ(t.teams.count(), 2);
    EXPECT_EQ(t.teams.name(2), "Three");
    EXPECT_EQ(t.team[2], 2);
    EXPECT_EQ(t.team[3], 2);
    EXPECT_EQ(t.team[0], 1);
    t.clear();
    t.teams.findOrAdd("Orphan");
    t.purgeUnusedTeams();
    EXPECT_EQ(t.teams.count(), 0);
}

TEST(Tournament, RegistrationNamesAreMadeSafe) {
    Tournament t(12, 2);
    t.setRegistration(0, std::string(300, 'x'), std::string(80, 'y') + ";", 0);
    EXPECT_EQ(t.names[0].size(), 49u);
    EXPECT_EQ(t.teams.name(1).size(), 49u);
    EXPECT_EQ(t.playerNumber[0], -1);
    t.setRegistration(1, "A;B\r\nC", "", 7);
    EXPECT_EQ(t.names[1], "A,B  C");
    EXPECT_EQ(t.playerNumber[1], 6);
    t.setRegistration(500, "out of range", "x", 1); // ignored, no write outside the arrays
}

TEST(Tournament, NormalizeCountsOnlyLeadingCompleteRounds) {
    Tournament t(12, 4);
    seatInOrder(t, 0);
    // Round 1: table 0 gets five players, table 2 three.
    seatInOrder(t, 1);
    t.tableAt(1, 8) = 0;
    t.pointsAt(1, 3) = 500;
    // Round 2 complete but after an incomplete one.
    seatInOrder(t, 2);
    t.normalizeRounds();
    EXPECT_EQ(t.currentRound, 1);
    for (int p = 0; p < 12; ++p) {
        EXPECT_EQ(t.tableAt(1, p), -1);
        EXPECT_EQ(t.tableAt(2, p), -1);
        EXPECT_EQ(t.pointsAt(1, p), 0);
    }
    EXPECT_EQ(t.meetings.at(0, 1), 1);
    EXPECT_EQ(t.meetings.at(0, 4), 0);
}

TEST(Tournament, TeamMatesAtOneTableMeetTwice) {
    Tournament t(12, 2);
    t.team[0] = t.team[1] = t.teams.findOrAdd("T");
    seatInOrder(t, 0);
    t.normalizeRounds();
    EXPECT_EQ(t.meetings.at(0, 1), 2);
    EXPECT_EQ(t.meetings.at(1, 0), 2);
    EXPECT_EQ(t.meetings.at(0, 2), 1);
    EXPECT_EQ(t.meetings.at(0, 0), 0);
}

TEST(Tournament, SeatsFollowTotalsThenStartNumbers) {
    Tournament t(12, 3);
    seatInOrder(t, 0);
    seatInOrder(t, 1);
    // Round 0 all totals 0: seats follow start numbers; -1 comes first.
    t.playerNumber = {5, 3, -1, 0, 11, 10, 9, 8, 7, 6, 4, 1};
    t.pointsAt(0, 0) = 100;
    t.pointsAt(0, 1) = -100;
    t.pointsAt(0, 2) = 0;
    t.pointsAt(0, 3) = 0;
    t.normalizeRounds();
    EXPECT_EQ(t.currentRound, 2);
    EXPECT_EQ(t.seatAt(0, 2), 0);
    EXPECT_EQ(t.seatAt(0, 3), 1);
    EXPECT_EQ(t.seatAt(0, 1), 2);
    EXPECT_EQ(t.seatAt(0, 0), 3);
    // Round 1 by totals before it: 100, then 0 (numbers -1 and 0), then -100.
    EXPECT_EQ(t.seatAt(1, 0), 0);
    EXPECT_EQ(t.seatAt(1, 2), 1);
    EXPECT_EQ(t.seatAt(1, 3), 2);
    EXPECT_EQ(t.seatAt(1, 1), 3);
    EXPECT_EQ(t.playerAt(1, 0, 1), 2);
}

TEST(Tournament, PlayerAtAndSetPointsStayInsideTheArrays) {
    Tournament t(12, 2);
    seatInOrder(t, 0);
    t.normalizeRounds();
    EXPECT_EQ(t.playerAt(-1, 0, 0), -1);
    EXPECT_EQ(t.playerAt(2, 0, 0), -1);
    EXPECT_EQ(t.playerAt(0, 3, 0), -1);
    EXPECT_EQ(t.playerAt(0, 0, 4), -1);
    t.setPoints(5, 0, 0, 10);
    t.setPoints(0, -1, 0, 10);
    t.setPoints(1, 0, 0, 10); // round not seated: nobody there
    t.setPoints(0, 2, 3, 42);
    EXPECT_EQ(t.pointsAt(0, t.playerAt(0, 2, 3)), 42);
    EXPECT_EQ(t.runningTotal(t.playerAt(0, 2, 3), 0), 0);
    EXPECT_EQ(t.runningTotal(t.playerAt(0, 2, 3), 99), 42);
}

TEST(Tournament, CompleteNumberingNeedsEveryValue) {
    Tournament t(12, 2);
    for (int p = 0; p < 12; ++p)
        t.playerNumber[p] = 11 - p;
    EXPECT_TRUE(t.hasCompleteNumbering());
    t.playerNumber[3] = t.playerNumber[4];
    EXPECT_FALSE(t.hasCompleteNumbering());
}

TEST(Text, Cp1251RoundTripAndReplacement) {
    const std::string utf8 = "Иванов Ёжик №5 «x»";
    const std::string cp = utf8ToCp1251(utf8);
    EXPECT_EQ(cp.size(), 18u);
    EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xC8);
    EXPECT_EQ(cp1251ToUtf8(cp), utf8);
    EXPECT_EQ(utf8ToCp1251("日本"), "??");
    EXPECT_EQ(utf8ToCp1251("\xff\xfe"), "??");
    EXPECT_FALSE(isCp1251Representable(U'日'));
    EXPECT_TRUE(isCp1251Representable(U'ё'));
}

TEST(Text, ParseLeadingInt) {
    EXPECT_EQ(parseLeadingInt(" -300x"), -300);
    EXPECT_EQ(parseLeadingInt("+12"), 12);
    EXPECT_EQ(parseLeadingInt("abc"), 0);
    EXPECT_EQ(parseLeadingInt(""), 0);
    EXPECT_EQ(parseLeadingInt("99999999999999"), 2147483647);
    EXPECT_EQ(parseLeadingInt("-99999999999999"), -2147483647 - 1);
}
