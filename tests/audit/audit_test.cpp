// The check's pieces on tournaments built by hand, where every figure can be counted on paper.
#include <gtest/gtest.h>

#include <algorithm>

#include "audit/fairness.h"
#include "audit/round_rules.h"
#include "audit/tournament_check.h"
#include "core/text.h"
#include "core/tournament.h"
#include "files/rating_rules.h"

namespace quelna {
namespace {

// 12 players, numbered 1..12; round r seats players at the tables `tables[r]` gives.
Tournament byHand(const std::vector<std::vector<int>>& tables, int rounds = 3) {
    Tournament t(12, rounds);
    for (int p = 0; p < 12; ++p) {
        t.setName(p, "Player " + std::to_string(p + 1));
        t.playerNumber[p] = p;
    }
    for (std::size_t r = 0; r < tables.size(); ++r)
        for (int p = 0; p < 12; ++p)
            t.tableAt(static_cast<int>(r), p) = tables[r][p];
    t.normalizeRounds();
    return t;
}

const std::vector<int> kSame = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2};

int count(const std::vector<Finding>& found, FindingKind kind, bool breaks) {
    return static_cast<int>(std::count_if(found.begin(), found.end(), [&](const Finding& f) {
        return f.kind == kind && f.breaksRule == breaks;
    }));
}

TEST(Audit, MeetingsAndFairnessOfTheSameTablesTwice) {
    Tournament t = byHand({kSame, kSame});
    t.team[0] = t.team[1] = t.teams.findOrAdd("A");
    t.normalizeRounds();
    const FairnessFigures f = fairnessOf(t);
    EXPECT_EQ(f.rounds, 2);
    EXPECT_EQ(f.repeatMeetings, 18); // six pairs at each of three tables
    EXPECT_EQ(f.repeatFloor, 0);     // 2 x 3 opponents fit among 11
    EXPECT_EQ(f.teamMateMeetings, 2);
    EXPECT_EQ(f.teamMateFloor, 0); // two team-mates fit at three tables
    EXPECT_EQ(f.mostAtOneTable, 2);
    EXPECT_EQ(f.mostAtOneTableFloor, 1);
    EXPECT_FALSE(f.commonMeasured);

    std::vector<Finding> found;
    addMeetingFindings(t, 1, 0, false, found);
    EXPECT_EQ(count(found, FindingKind::RepeatPair, true), 18);
    EXPECT_EQ(count(found, FindingKind::TeamMates, true), 1);
    // On an overlap table (the bottom one) the six repeats there break no rule.
    found.clear();
    addMeetingFindings(t, 1, 1, false, found);
    EXPECT_EQ(count(found, FindingKind::RepeatPair, true), 12);
    EXPECT_EQ(count(found, FindingKind::RepeatPair, false), 6);
}

TEST(Audit, TablesWithoutResultsAndWrongSums) {
    Tournament t = byHand({kSame, {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2}});
    // Round 1 has results at table 1 only, and they do not sum to zero; round 2 (the latest) none.
    for (int p = 0; p < 4; ++p)
        t.pointsAt(0, p) = p == 0 ? 1000 : 0;
    std::vector<Finding> found;
    addTableFindings(t, 0, found);
    addTableFindings(t, 1, found);
    EXPECT_EQ(count(found, FindingKind::TableSum, true), 1);
    EXPECT_EQ(count(found, FindingKind::TableNotTyped, true), 2); // tables 2 and 3 of round 1
    EXPECT_EQ(found.size(), 3u);                                  // round 2 waits for results

    // The whole check: round 1 is the program's seating of players in start-number order; round
    // 2, typed by hand, is not.
    const CheckReport report = checkTournament(t, RederiveSettings{});
    ASSERT_EQ(report.roundsSeated, 2);
    EXPECT_EQ(report.roundsMatching, 1);
    EXPECT_EQ(count(report.findings, FindingKind::SeatingDiffers, true), 1);
    EXPECT_EQ(count(report.findings, FindingKind::Standing, false), 12);
}

TEST(Audit, RatingPortalRules) {
    Tournament t = byHand({kSame, kSame, kSame, kSame}, 4);
    for (int r = 0; r < 3; ++r) // three rounds with results, the fourth without
        t.pointsAt(r, 0) = 100, t.pointsAt(r, 1) = -100;
    t.setName(5, utf8ToCp1251("  Иванов   Иван "));
    t.setName(6, utf8ToCp1251("Иван"));
    t.setName(7, utf8ToCp1251("Иванов Иван Иванович"));
    EXPECT_EQ(roundsPlayed(t), 3);
    const std::vector<std::string> problems = ratingRuleProblems(t);
    ASSERT_EQ(problems.size(), 4u) << problems.front();
    EXPECT_EQ(problems[0], "Игроков 12, нужно не меньше 16.");
    EXPECT_EQ(problems[1], "Сыграно туров 3, нужно не меньше 4.");
    EXPECT_NE(problems[2].find("«Иван»"), std::string::npos);
    EXPECT_NE(problems[3].find("«Иванов Иван Иванович»"), std::string::npos);
}

} // namespace
} // namespace quelna
