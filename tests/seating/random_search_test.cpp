#include "seating/random_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/random.h"
#include "engine_fixture.h"
#include "reference_random_search.h"
#include "seating/seating_factor.h"

namespace quelna {
namespace {

using test::RecordingJob;
using test::roundMeetingSum;
using test::roundTables;
using test::seatTables;
using test::Tables;
using test::tablesOf;

// Tables as a set of player sets: the seating without its table numbers.
std::set<std::vector<int>> partition(const Tables& tables) {
    return {tables.begin(), tables.end()};
}

std::set<std::vector<int>> partitionOf(const std::vector<int>& row, int tableCount) {
    Tables tables(tableCount);
    for (int p = 0; p < static_cast<int>(row.size()); ++p)
        tables[row[p]].push_back(p);
    return partition(tables);
}

bool search(Tournament& t, int round, RecordingJob& job, Random& random,
            RandomSearchStats* stats = nullptr) {
    return seatByRandomSearch(t, round, test::totalsBefore(t, round), random, job.job, stats);
}

TEST(RandomSearch, SidewaysAfterMoreThanNRejectionsUphillAfterMoreThanNSquared) {
    Tournament t(12, 2);
    for (int a = 0; a < 12; ++a)
        for (int b = a + 1; b < 12; ++b)
            t.addMeeting(a, b); // every seating is equally bad: every move is of equal value
    Random random(5);
    RecordingJob job(0);
    std::vector<int> previous = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}; // the fill
    std::vector<long long> kept;
    job.job.onVariant = [&](SeatingJob&) {
        ++job.variants;
        const std::vector<int> now = roundTables(t, 0);
        if (now != previous)
            kept.push_back(job.variants);
        previous = now;
        if (job.variants == 320)
            job.stopFlag = true;
    };
    EXPECT_FALSE(search(t, 0, job, random));
    // 13 rejections, then a sideways move; the 145th rejection since the start makes the next
    // move an uphill one, which leaves the sideways count running.
    const std::vector<long long> expected = {14,  28,  42,  56,  70,  84,  98,  112,
                                             126, 140, 154, 157, 169, 183, 197, 211,
                                             225, 239, 253, 267, 281, 295, 309, 314};
    EXPECT_EQ(kept, expected);
    // Stopped in repair: the last complete seating tried stays, with its new meetings.
    EXPECT_TRUE(t.isRoundComplete(0));
    EXPECT_EQ(std::count(job.events.begin(), job.events.end(), "improve"), 0);
}

TEST(RandomSearch, CleanFillNeedsNoRepairMove) {
    Tournament t(16, 2);
    numberPlayersInOrder(t);
    Random random(1);
    RecordingJob job(0);
    ASSERT_TRUE(search(t, 0, job, random));
    EXPECT_EQ(job.variantsBeforeImprove, 0);
    ASSERT_GE(job.events.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(job.events.begin(), job.events.begin() + 4),
              (std::vector<std::string>{"improve", "timer", "variants", "factor"}));
    // Filled in index order with start numbers equal to indices: already the ideal factor.
    EXPECT_EQ(job.factors.front(), 0);
    EXPECT_EQ(tablesOf(t, 0),
              (Tables{{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}}));
}

TEST(RandomSearch, AllPlayersFixedOnlyRenumbersTables) {
    Tournament t(12, 2);
    numberPlayersInOrder(t);
    seatTables(t, 0, {{8, 9, 10, 11}, {0, 5, 6, 7}, {1, 2, 3, 4}});
    t.addMeeting(8, 9); // a meeting among fixed players is the baseline, not a failure
    RecordingJob job(0);
    Random random;
    ASSERT_TRUE(search(t, 0, job, random));
    EXPECT_EQ(tablesOf(t, 0), (Tables{{0, 5, 6, 7}, {1, 2, 3, 4}, {8, 9, 10, 11}}));
    EXPECT_EQ(job.variants, 0);
    EXPECT_EQ(job.events, (std::vector<std::string>{"improve", "timer", "variants", "factor"}));
}

TEST(RandomSearch, MovablePlayersAtOneTableCannotRepair) {
    Tournament t(12, 2);
    numberPlayersInOrder(t);
    seatTables(t, 0, {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}});
    t.normalizeRounds();
    // Eight players placed by hand; the four left over met in round 0.
    seatTables(t, 1, {{0, 1, 4, 5}, {2, 3, 6, 7}});
    RecordingJob job(1);
    Random random;
    EXPECT_FALSE(search(t, 1, job, random));
    EXPECT_EQ(tablesOf(t, 1), (Tables{{0, 1, 4, 5}, {2, 3, 6, 7}, {8, 9, 10, 11}}));
    EXPECT_EQ(job.variants, 0);
}

TEST(RandomSearch, OverfullHandPlacementIsRefused) {
    Tournament t(12, 2);
    for (int p = 0; p < 5; ++p)
        t.tableAt(0, p) = 1;
    RecordingJob job(0);
    Random random;
    EXPECT_FALSE(search(t, 0, job, random));
    const std::vector<int> row = roundTables(t, 0);
    EXPECT_EQ(std::count(row.begin(), row.end(), -1), 7);
}

TEST(RandomSearch, ImprovementNeverKeepsOrCountsANewMeeting) {
    Tournament t = test::playedTournament(40, 8, 5, test::Seed{11}, test::Teams::With);
    ASSERT_EQ(t.currentRound, 5);
    Random random(3);
    RecordingJob job(5);
    bool improving = false;
    int seatingsWithMeetings = 0;
    long long improveVariants = 0;
    job.job.onImproveStart = [&](SeatingJob&) { improving = true; };
    job.job.onVariant = [&](SeatingJob&) {
        if (!improving)
            return;
        ++improveVariants;
        if (roundMeetingSum(t, 5) != 0)
            ++seatingsWithMeetings;
        if (improveVariants == 4000)
            job.stopFlag = true;
    };
    RandomSearchStats stats;
    ASSERT_TRUE(search(t, 5, job, random, &stats));
    EXPECT_EQ(seatingsWithMeetings, 0);
    EXPECT_EQ(improveVariants, 4000);
    // Moves that created a meeting were made but not counted.
    EXPECT_GT(stats.improveMoves, improveVariants);
    EXPECT_EQ(roundMeetingSum(t, 5), 0);
}

TEST(RandomSearch, StoppingImprovementYieldsTheBestSeating) {
    Tournament t = test::playedTournament(24, 6, 2, test::Seed{21}, test::Teams::Without);
    ASSERT_EQ(t.currentRound, 2);
    const std::vector<int> rank = rankByTotals(t, test::totalsBefore(t, 2));
    Random random(9);
    RecordingJob job(2);
    bool improving = false;
    int bestFactor = 0;
    std::vector<int> bestSeating;
    bool stoppedWhileWorse = false;
    long long improveVariants = 0;
    job.job.onImproveStart = [&](SeatingJob&) { improving = true; };
    job.job.onFactor = [&](SeatingJob&, int) {
        bestSeating = roundTables(t, 2);
        bestFactor = seatingFactor(t, 2, rank);
    };
    job.job.onVariant = [&](SeatingJob&) {
        if (!improving)
            return;
        ++improveVariants;
        // Stop as soon as the current seating is worse than the best one found.
        if (seatingFactor(t, 2, rank) > bestFactor) {
            stoppedWhileWorse = true;
            job.stopFlag = true;
        } else if (improveVariants == 500000) {
            job.stopFlag = true;
        }
    };
    ASSERT_TRUE(search(t, 2, job, random));
    ASSERT_TRUE(stoppedWhileWorse);
    EXPECT_EQ(partition(tablesOf(t, 2)), partitionOf(bestSeating, 6));
    EXPECT_EQ(seatingFactor(t, 2, rank), bestFactor);
    // Renumbered: table 0 holds the leader, and the tables' best ranks ascend.
    int lastBest = -1;
    for (const auto& table : tablesOf(t, 2)) {
        int best = 24;
        for (int p : table)
            best = std::min(best, rank[p]);
        EXPECT_GT(best, lastBest);
        lastBest = best;
    }
}

// The engine's running sums against the plain search that recounts everything after each move:
// with the same draws both must report and seat alike, in each phase and its way of ending.
TEST(RandomSearch, AgreesWithTheSearchThatRecountsEverything) {
    struct Case {
        const char* name;
        int players, rounds, played;
        std::uint32_t seed;
        bool teams;
        int handPlaced;     // players of the round placed at tables 0, 1, ... beforehand
        long long variants; // stop after this many; 0 = let the search end by itself
    };
    const Case cases[] = {
        {"teams, stopped while improving", 40, 8, 3, 5, true, 0, 5000},
        {"no teams, to the end", 16, 4, 1, 21, false, 0, 0},
        {"hand-placed players", 32, 6, 3, 8, true, 6, 5000},
        {"no seating without meetings, stopped in repair", 16, 4, 3, 2, false, 0, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tournament start = test::playedTournament(c.players, c.rounds, c.played, test::Seed{c.seed},
                                                  test::withTeams(c.teams));
        ASSERT_EQ(start.currentRound, c.played);
        for (int p = 0; p < c.handPlaced; ++p)
            start.tableAt(c.played, p) = p / 4;
        struct Run {
            bool ok = false;
            std::vector<int> seating;
            std::vector<std::string> events;
            std::vector<int> factors;
            long long variants = 0;
            RandomSearchStats stats;
        };
        auto run = [&](bool reference) {
            Tournament t = start;
            Random random(c.seed);
            RecordingJob job(c.played);
            job.job.onVariant = [&](SeatingJob&) {
                if (++job.variants == c.variants)
                    job.stopFlag = true;
            };
            Run r;
            const std::vector<int> totals = test::totalsBefore(t, c.played);
            r.ok = reference ? test::ReferenceRandomSearch(t, c.played, random, job.job, r.stats)
                                   .run(totals)
                             : seatByRandomSearch(t, c.played, totals, random, job.job, &r.stats);
            r.seating = roundTables(t, c.played);
            r.events = job.events;
            r.factors = job.factors;
            r.variants = job.variants;
            return r;
        };
        const Run engine = run(false);
        const Run plain = run(true);
        EXPECT_EQ(engine.ok, plain.ok);
        EXPECT_EQ(engine.seating, plain.seating);
        EXPECT_EQ(engine.events, plain.events);
        EXPECT_EQ(engine.factors, plain.factors);
        EXPECT_EQ(engine.variants, plain.variants);
        EXPECT_EQ(engine.stats.repairMoves, plain.stats.repairMoves);
        EXPECT_EQ(engine.stats.improveMoves, plain.stats.improveMoves);
        EXPECT_GT(engine.stats.repairMoves + engine.stats.improveMoves, 0);
        EXPECT_EQ(engine.ok, c.variants != 300); // each case ends the way its name says
    }
}

TEST(RandomSearch, ImprovementEndsWhenEveryExchangeAddsAMeeting) {
    // Players 0..7 at tables 0 and 1 by hand; 8..15 free, and each has met everyone outside his
    // own fill table, so the fill is clean but no exchange keeps it clean. Without limits the
    // improvement must still end, with the filled seating.
    Tournament t(16, 2);
    numberPlayersInOrder(t);
    seatTables(t, 0, {{0, 1, 2, 3}, {4, 5, 6, 7}});
    for (int a = 8; a < 16; ++a)
        for (int b = 0; b < 16; ++b)
            if (b != a && b / 4 != a / 4 && (b > a || b < 8))
                t.addMeeting(a, b);
    RecordingJob job(0);
    Random random;
    ASSERT_TRUE(search(t, 0, job, random));
    EXPECT_EQ(job.variants, 0);
    EXPECT_EQ(roundMeetingSum(t, 0), 0);
}

} // namespace
} // namespace quelna
