// The fast exhaustive seating against the plain one: same result, same round, same matrix, same
// flags, on tournaments small enough for the plain search to finish.
#include "seating/exhaustive_fast.h"

#include <gtest/gtest.h>

#include "core/random.h"
#include "engine_fixture.h"
#include "seating/exhaustive_seating.h"

namespace quelna {
namespace {

using test::RecordingJob;

struct Case {
    int players, rounds, played;
    std::uint32_t seed;
    bool teams;
    int overlap; // bottom tables M
    int limit;   // tables to fill (0: all)
    int hand;    // players placed by hand before the search, at random tables
};

struct Outcome {
    bool seated = false;
    bool finished = false; // false: the plain search hit its bound, nothing to compare
    Tournament t;
    std::vector<char> flags;
};

// Puts `count` unseated players at random tables with room, as the organiser might.
void placeByHand(Tournament& t, int round, int count, Random& random) {
    std::vector<int> room(t.tableCount(), 4);
    for (int i = 0; i < count; ++i) {
        const int p = random.index(t.playerCount);
        const int x = random.index(t.tableCount());
        if (t.tableAt(round, p) == -1 && room[x] > 0) {
            t.tableAt(round, p) = x;
            --room[x];
        }
    }
}

Outcome seatWith(bool fast, const Tournament& start, int round, int limit, int overlap) {
    Outcome o{false, true, start, {}};
    for (int p = 0; p < o.t.playerCount; ++p)
        o.flags.push_back(o.t.tableAt(round, p) != -1);
    RecordingJob job(round);
    long long variants = 0;
    job.job.onVariant = [&](SeatingJob&) {
        if (++variants == 3'000'000)
            job.stopFlag = true;
    };
    job.job.options.overlapTables = overlap;
    const std::vector<int> totals = test::totalsBefore(o.t, round);
    o.seated = fast ? seatTopTablesFast(o.t, round, totals, o.flags, limit, job.job)
                    : seatTopTables(o.t, round, totals, o.flags, limit, job.job);
    o.finished = !job.stopFlag;
    return o;
}

class ExhaustiveFast : public test::EngineTest {};

TEST_F(ExhaustiveFast, ReachesThePlainSearchsFirstSeating) {
    std::vector<Case> cases = {
        {12, 3, 1, 2, false, 0, 0, 0},  // no second round without a repeat
        {16, 4, 3, 1, false, 0, 0, 0},  // fails in round 4
        {16, 4, 3, 1, false, 2, 0, 0},  // two bottom tables
        {16, 4, 3, 1, false, 4, 0, 0},  // every table a bottom table
        {40, 6, 4, 8, true, 0, 3, 0},   // top three tables only
        {40, 6, 4, 8, true, 1, 4, 0},   // top tables reaching the bottom one
        {48, 6, 4, 3, true, 0, 0, 0},   // teams
        {32, 6, 4, 5, true, 2, 0, 6},   // hand placements and bottom tables
        {32, 6, 3, 9, false, 0, 0, 10}, // many hand placements
        {24, 5, 4, 7, true, 0, 2, 4},   // hand placements beyond the top tables
    };
    // Random small tournaments from the generators, with every option now and then.
    Random pick(19);
    for (int i = 0; i < 40; ++i) {
        const int players = 16 + 4 * pick.index(5);
        const int played = 2 + pick.index(4);
        const int tables = players / 4;
        cases.push_back({players, played + 1, played, static_cast<std::uint32_t>(100 + i),
                         i % 2 == 0, i % 5 == 0 ? 1 : 0, i % 7 == 0 ? 1 + pick.index(tables) : 0,
                         i % 3 == 0 ? pick.index(8) : 0});
    }

    int compared = 0, seatedCount = 0, failedCount = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.players << "x" << c.played << " seed " << c.seed << " M=" << c.overlap
                     << " L=" << c.limit << " hand=" << c.hand);
        Tournament start = test::playedTournament(c.players, c.rounds, c.played, test::Seed{c.seed},
                                                  test::withTeams(c.teams));
        const int round = start.currentRound;
        if (round >= start.roundCount)
            continue;
        Random handRandom(c.seed);
        placeByHand(start, round, c.hand, handRandom);
        const int limit = c.limit > 0 ? c.limit : start.tableCount();

        const Outcome plain = seatWith(false, start, round, limit, c.overlap);
        if (!plain.finished)
            continue;
        const Outcome fast = seatWith(true, start, round, limit, c.overlap);
        ++compared;
        (plain.seated ? seatedCount : failedCount) += 1;
        EXPECT_EQ(fast.seated, plain.seated);
        EXPECT_EQ(fast.t.tableOf, plain.t.tableOf);
        EXPECT_EQ(fast.t.meetings.cells(), plain.t.meetings.cells());
        EXPECT_EQ(fast.flags, plain.flags);
        if (!plain.seated) { // undone completely
            EXPECT_EQ(fast.t.tableOf, start.tableOf);
        }
    }
    // The table must exercise both outcomes, most cases compared.
    EXPECT_GE(compared, 40);
    EXPECT_GE(seatedCount, 10);
    EXPECT_GE(failedCount, 2);
}

} // namespace
} // namespace quelna
