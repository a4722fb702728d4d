// Seating the next round as both front ends do: what stays of the round and of the meeting
// matrix after each way a seating can end.
#include "seating/seat_next_round.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/random.h"
#include "seating/seating_factor.h"
#include "engine_fixture.h"

namespace quelna {
namespace {

enum class Cancel { Never, BeforeStart, InImprovePhase };

// Cancels when the improve phase starts, as the organiser's "Отмена" would.
class CancellingObserver : public SeatingObserver {
  public:
    CancellingObserver(SeatingControl& control, bool cancel) : control_(control), cancel_(cancel) {}
    void phaseStarted(SeatingPhase phase) override {
        if (cancel_ && phase == SeatingPhase::Improve)
            control_.requestCancel();
    }

  private:
    SeatingControl& control_;
    bool cancel_;
};

TEST(SeatNextRound, KeepsOnlyHandPlacementsUnlessSeated) {
    const struct Case {
        const char* name;
        int players, rounds, played;
        bool teams;
        PhaseLimits limits;
        bool fewestRepeats;
        Cancel cancel;
        SeatingResult result;
        bool proven; // no seating without repeats exists
    } cases[] = {
        {"exhaustive", 16, 4, 1, true, {}, false, Cancel::Never, SeatingResult::Seated, false},
        {"via random", 40, 6, 4, true, {0, 0, 1, 0}, false, Cancel::Never, SeatingResult::Seated, false},
        // Twelve players cannot play a second round without a repeat meeting.
        {"proven impossible", 12, 3, 1, false, {}, false, Cancel::Never, SeatingResult::Failed, true},
        {"fewest repeats", 12, 3, 1, false, {}, true, Cancel::Never, SeatingResult::Seated, true},
        {"random search gives up", 12, 3, 1, false, {0, 0, 1, 50}, false, Cancel::Never,
         SeatingResult::Failed, false},
        {"cancelled first", 16, 4, 1, true, {}, false, Cancel::BeforeStart, SeatingResult::Cancelled,
         false},
        {"cancelled improving", 40, 6, 4, true, {0, 0, 1, 0}, false, Cancel::InImprovePhase,
         SeatingResult::Cancelled, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tournament t = test::playedTournament(c.players, c.rounds, c.played, test::Seed{8},
                                              test::withTeams(c.teams));
        const int round = t.currentRound;
        ASSERT_EQ(round, c.played);
        t.tableAt(round, 0) = 1; // placed by hand
        t.adjustments.setLeftFrom(2, round); // left for good: a substitute plays his seat
        const MeetingMatrix before = t.meetingsBefore(round);

        NextRoundOptions options;
        options.fewestRepeats = c.fewestRepeats;
        options.substituteResult = -25000;
        SeatingControl control(c.limits);
        CancellingObserver observer(control, c.cancel == Cancel::InImprovePhase);
        if (c.cancel == Cancel::BeforeStart)
            control.requestCancel();
        Random random(3);
        const SeatingOutcome outcome = seatNextRound(t, options, random, observer, control);

        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.noSeatingExists, c.proven);
        EXPECT_EQ(outcome.fewestRepeats, c.fewestRepeats);
        EXPECT_EQ(outcome.repeats.empty(), !c.fewestRepeats);
        if (outcome.seated()) {
            EXPECT_EQ(t.currentRound, round + 1);
            EXPECT_TRUE(t.isRoundComplete(round));
            const Substitute* substitute = t.adjustments.substitute(round, 2);
            ASSERT_NE(substitute, nullptr);
            EXPECT_EQ(substitute->countedResult, -25000);
            if (!outcome.randomUsed)
                EXPECT_EQ(t.tableAt(round, 0), 1);
            if (outcome.fewestRepeats) {
                // The other tables are numbered by the best standing at each.
                std::vector<int> totals(t.playerCount);
                for (int p = 0; p < t.playerCount; ++p)
                    totals[p] = t.runningTotal(p, round);
                const std::vector<int> rank = rankByTotals(t, totals);
                std::vector<int> best(t.tableCount(), t.playerCount);
                for (int p = 0; p < t.playerCount; ++p)
                    best[t.tableAt(round, p)] = std::min(best[t.tableAt(round, p)], rank[p]);
                best.erase(best.begin() + 1); // the table placed by hand
                EXPECT_TRUE(std::is_sorted(best.begin(), best.end()));
            }
            continue;
        }
        EXPECT_EQ(t.currentRound, round);
        EXPECT_EQ(t.tableAt(round, 0), 1);
        for (int p = 1; p < t.playerCount; ++p)
            EXPECT_EQ(t.tableAt(round, p), -1) << "player " << p;
        EXPECT_EQ(t.meetings.cells(), before.cells());
        EXPECT_EQ(t.adjustments.substitute(round, 2), nullptr);
        // A random search that gave up is reported as it left the round.
        if (c.limits.randomVariants > 0)
            EXPECT_GT(outcome.repeatsLeft, 0);
    }
}

} // namespace
} // namespace quelna
