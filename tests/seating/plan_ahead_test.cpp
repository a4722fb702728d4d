// Seating with the rest of the tournament in view: the plain rule's seating wherever the rounds
// after it can still be seated, another one where it would lead into a dead end, and every
// witness checked here on its own terms.
#include "seating/plan_ahead.h"

#include <gtest/gtest.h>

#include "core/random.h"
#include "core/test_data.h"
#include "seating/exhaustive_fast.h"

namespace quelna {
namespace {

struct PlannedRound {
    bool seated = false;
    int ahead = -1;
    std::vector<std::vector<int>> witness;
};

// The next round seated by the exhaustive search, then planned as the driver plans it.
PlannedRound seatPlanned(Tournament& t, bool plan, int overlapTables) {
    const int r = t.currentRound;
    t.meetings = t.meetingsBefore(r);
    std::vector<int> totals(t.playerCount);
    std::vector<char> seated(t.playerCount, 0);
    PlannedRound planned;
    PlanInput input{.round = r, .totals = &totals, .before = t.meetings, .handTables = {},
                    .witness = &planned.witness};
    for (int p = 0; p < t.playerCount; ++p) {
        totals[p] = t.runningTotal(p, r);
        input.handTables.push_back(-1);
    }
    SeatingJob job;
    job.round = r;
    job.options.method = ExhaustiveMethod::Fast;
    job.options.overlapTables = overlapTables;
    planned.seated = seatTopTablesFast(t, r, totals, seated, t.tableCount(), job);
    if (planned.seated && plan)
        planned.ahead = quelna::planAhead(t, input, job);
    t.normalizeRounds();
    return planned;
}

// Whether the witness is what it claims: every player once in each of its rounds, four to a
// table, and on every table where repeats count nobody who met before round r, at round r, in
// another round of the witness, or who shares a team.
::testing::AssertionResult isWitness(const Tournament& t, int r,
                                     const std::vector<std::vector<int>>& witness,
                                     int overlapTables) {
    const int n = t.playerCount, tables = t.tableCount();
    MeetingMatrix met = t.meetingsBefore(r + 1);
    for (std::size_t w = 0; w < witness.size(); ++w) {
        std::vector<int> count(tables, 0);
        for (int p = 0; p < n; ++p) {
            const int x = witness[w][p];
            if (x < 0 || x >= tables || ++count[x] > 4)
                return ::testing::AssertionFailure() << "round +" << w + 1 << " player " << p;
        }
        for (int p = 0; p < n; ++p)
            for (int q = p + 1; q < n; ++q) {
                if (witness[w][p] != witness[w][q])
                    continue;
                const bool mates = t.team[p] > 0 && t.team[p] == t.team[q];
                if (witness[w][p] < tables - overlapTables && (met.at(p, q) > 0 || mates))
                    return ::testing::AssertionFailure()
                           << "round +" << w + 1 << ": " << p << " and " << q << " met";
                met.add(p, q);
            }
    }
    return ::testing::AssertionSuccess();
}

struct Played {
    Tournament t;
    std::vector<PlannedRound> rounds;
};

Played play(int players, int rounds, std::uint32_t seed, bool teams, bool planAhead,
            int overlapTables = 0) {
    Random registration(seed);
    Played played{simulatedRegistration(players, rounds, teams, registration), {}};
    Random results(seed + 1);
    for (int r = 0; r < rounds; ++r) {
        played.rounds.push_back(seatPlanned(played.t, planAhead, overlapTables));
        if (!played.rounds.back().seated)
            break;
        generateRandomResults(played.t, r, results);
    }
    return played;
}

// Far from the end of the field the plain rule's seating always leaves the rest seatable: planning
// must keep it, round for round, and show every following round.
TEST(PlanAhead, KeepsThePlainSeatingWhereTheRestStaysSeatable) {
    const struct {
        int players, rounds;
        std::uint32_t seed;
        bool teams;
    } cases[] = {{40, 6, 1, false}, {48, 7, 2, true}, {64, 8, 3, true}, {100, 5, 4, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.players) + "x" + std::to_string(c.rounds));
        const Played plain = play(c.players, c.rounds, c.seed, c.teams, false);
        const Played planned = play(c.players, c.rounds, c.seed, c.teams, true);
        ASSERT_EQ(planned.rounds.size(), static_cast<std::size_t>(c.rounds));
        EXPECT_EQ(planned.t.tableOf, plain.t.tableOf);
        for (int r = 0; r < c.rounds; ++r) {
            EXPECT_EQ(planned.rounds[r].ahead, c.rounds - r - 1) << "round " << r + 1;
            EXPECT_TRUE(isWitness(planned.t, r, planned.rounds[r].witness, 0)) << r + 1;
        }
    }
}

// Sixteen players can meet three new ones in each of five rounds, but the plain rule's fourth
// round often has no seating without a repeat; planning seats all five.
TEST(PlanAhead, SeatsPastThePlainRulesDeadEnd) {
    const struct {
        int players, rounds;
        std::uint32_t seed;
        bool teams;
        int overlapTables;
    } cases[] = {{16, 5, 1, false, 0}, {16, 5, 2, false, 0}, {16, 5, 4, false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.players) + "x" + std::to_string(c.rounds) + " seed " +
                     std::to_string(c.seed));
        const Played plain = play(c.players, c.rounds, c.seed, c.teams, false, c.overlapTables);
        const Played planned = play(c.players, c.rounds, c.seed, c.teams, true, c.overlapTables);
        EXPECT_FALSE(plain.rounds.back().seated) << "the plain rule's dead end";
        ASSERT_EQ(planned.rounds.size(), static_cast<std::size_t>(c.rounds));
        EXPECT_TRUE(planned.rounds.back().seated);
        for (int r = 0; r < c.rounds; ++r) {
            const PlannedRound& round = planned.rounds[r];
            EXPECT_GE(round.ahead, 0);
            EXPECT_EQ(round.witness.size(), static_cast<std::size_t>(round.ahead));
            EXPECT_TRUE(isWitness(planned.t, r, round.witness, c.overlapTables)) << r + 1;
        }
        for (int r = 0; c.overlapTables == 0 && r < c.rounds; ++r) {
            // The rounds played are a witness of their own: nobody met anyone twice.
            std::vector<std::vector<int>> tables;
            for (int k = r; k < c.rounds; ++k)
                tables.emplace_back(planned.t.tableOf.begin() + k * c.players,
                                    planned.t.tableOf.begin() + (k + 1) * c.players);
            ASSERT_TRUE(isWitness(planned.t, r - 1, tables, 0)) << "from round " << r + 1;
        }
    }
}

} // namespace
} // namespace quelna
