// The largest tournament, 200 players and 12 rounds, played through the window in test mode with
// clicks only: random names, teams and numbers, then seat and random results round after round.
// "Далее" is pressed whenever the progress dialog offers it, as an organiser in a hurry does.
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <iostream>

#include "tests/ui/main_window_support.h"

namespace quelna {
namespace {

using mwtest::click;
using mwtest::Harness;

// Places the two best players of the latest round together at the last table by hand, then
// gives up a seating: only the hand-placed players keep a table in the round.
void cancelWithHandPlacedPlayers(Harness& h, mwtest::ModalWatcher& watcher) {
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    const int c = t.currentRound;
    mwtest::placeByHand(h, c, {{0, 4 * 49}, {4, 4 * 49 + 1}});
    const int first = t.playerAt(c - 1, 0, 0);
    const int second = t.playerAt(c - 1, 1, 0);
    ASSERT_EQ(t.tableAt(c, first), 49);
    ASSERT_EQ(t.tableAt(c, second), 49);

    watcher.setPressNext(false);
    watcher.setPressCancel(true);
    QElapsedTimer cancelled;
    cancelled.start();
    mwtest::seat(h);
    std::cout << "[          ] round " << c + 1 << " cancelled after " << cancelled.elapsed()
              << " ms\n";
    watcher.setPressCancel(false);
    watcher.setPressNext(true);
    ASSERT_EQ(t.currentRound, c);
    ASSERT_EQ(watcher.messages, QStringList());
    for (int p = 0; p < t.playerCount; ++p)
        EXPECT_EQ(t.tableAt(c, p), p == first || p == second ? 49 : -1) << p;
    EXPECT_EQ(w.seatCell(c, 4 * 49)->text(), w.seatCell(c - 1, 0)->text());
}

TEST(MainWindowLarge, WholeTestTournamentOf200PlayersAnd12Rounds) {
    runRandom().seed(2026);
    QElapsedTimer opening;
    opening.start();
    Harness h(200, 12, true, QRect(0, 0, 1920, 1040));
    std::cout << "[          ] 200 x 12 window opened in " << opening.elapsed() << " ms\n";
    Tournament& t = *h.t;
    MainWindow& w = *h.w;
    mwtest::ModalWatcher watcher(/*pressNext=*/true);

    click(h.button(995));
    click(h.button(989));
    click(h.button(993));
    ASSERT_TRUE(h.button(999)->isEnabled());
    for (int r = 0; r < 12; ++r) {
        if (r == 11)
            cancelWithHandPlacedPlayers(h, watcher);
        QElapsedTimer seating;
        seating.start();
        mwtest::seat(h);
        ASSERT_EQ(watcher.messages, QStringList()) << "round " << r + 1;
        ASSERT_EQ(t.currentRound, r + 1);
        if (r == 11) {
            // The hand-placed pair still shares a table (the search may renumber tables).
            EXPECT_EQ(t.tableAt(11, t.playerAt(10, 0, 0)), t.tableAt(11, t.playerAt(10, 1, 0)));
        }
        std::cout << "[          ] round " << r + 1 << " seated in " << seating.elapsed()
                  << " ms, most meetings of a pair " << mwtest::maxMeetings(t) << "\n";
        ASSERT_TRUE(h.button(1000 + r)->isEnabled());
        click(h.button(1000 + r));
        for (int q = 0; q < 200; q += 37)
            EXPECT_FALSE(w.pointsCell(r, q)->text().isEmpty());
        EXPECT_EQ(h.button(999)->isEnabled(), r < 11);
    }
    EXPECT_TRUE(w.menuAction(40009)->isEnabled());
}

} // namespace
} // namespace quelna
