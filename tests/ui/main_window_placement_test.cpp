// Manual placement of the next round and the test-mode buttons, by clicks on the grid.
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <iostream>

#include "core/text.h"
#include "tests/ui/main_window_support.h"
#include "gui/qt_text.h"

namespace quelna {
namespace {

using mwtest::click;
using mwtest::Harness;
using mwtest::isRed;
using mwtest::typeInto;

bool isGrey(QLineEdit* cell) {
    const QPalette& pal = cell->palette();
    const QPalette app = QApplication::palette();
    return pal.color(QPalette::Active, QPalette::Text) ==
               app.color(QPalette::Disabled, QPalette::Text) &&
           pal.color(QPalette::Active, QPalette::Base) == app.color(QPalette::Button);
}

std::vector<int> enabledSeats(MainWindow& w, int round, int players) {
    std::vector<int> on;
    for (int q = 0; q < players; ++q)
        if (w.seatCell(round, q)->isEnabled())
            on.push_back(q);
    return on;
}

// A window with round 1 seated and scored, ready for placing round 2 by hand.
struct PlacementHarness : Harness {
    PlacementHarness() : Harness(16, 4) {
        mwtest::playRounds(*t, 1, 5);
        w->refreshFromTournament();
    }
    int playerAt(int round, int q) const { return t->playerAt(round, q / 4, q % 4); }
};

TEST(MainWindowPlacement, PickPlaceMoveAndRemove) {
    PlacementHarness h;
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    ASSERT_EQ(t.currentRound, 1);
    ASSERT_TRUE(h.button(990)->isEnabled());
    ASSERT_TRUE(h.button(999)->isEnabled());

    // Clicks on the grid do nothing while placement is off.
    click(w.seatCell(0, 5));
    EXPECT_EQ(w.selectedUnplaced(), -1);

    click(h.button(990));
    EXPECT_TRUE(w.manualMode());
    EXPECT_TRUE(h.button(990)->isChecked());
    EXPECT_FALSE(h.button(999)->isEnabled());

    const int pete = h.playerAt(0, 5);
    click(w.seatCell(0, 5));
    EXPECT_EQ(w.selectedUnplaced(), 5);
    EXPECT_TRUE(isRed(w.seatCell(0, 5)));
    EXPECT_EQ(enabledSeats(w, 1, 16), (std::vector<int>{0, 4, 8, 12}));

    click(w.seatCell(1, 4));
    EXPECT_EQ(t.tableAt(1, pete), 1);
    EXPECT_EQ(t.seatAt(1, pete), 0);
    EXPECT_EQ(w.seatCell(1, 4)->text(), w.seatCell(0, 5)->text());
    EXPECT_TRUE(isGrey(w.seatCell(0, 5)));
    EXPECT_EQ(w.selectedUnplaced(), -1);
    EXPECT_TRUE(enabledSeats(w, 1, 16).empty());
    EXPECT_EQ(QApplication::focusWidget(), h.button(990));

    // Each table offers its lowest free seat.
    const int quinn = h.playerAt(0, 6);
    click(w.seatCell(0, 6));
    EXPECT_EQ(enabledSeats(w, 1, 16), (std::vector<int>{0, 5, 8, 12}));
    // Another unplaced pick moves the red mark and keeps the offer.
    click(w.seatCell(0, 7));
    EXPECT_EQ(w.selectedUnplaced(), 7);
    EXPECT_FALSE(isRed(w.seatCell(0, 6)));
    EXPECT_TRUE(isRed(w.seatCell(0, 7)));
    click(w.seatCell(0, 6));
    click(w.seatCell(1, 0));
    EXPECT_EQ(t.tableAt(1, quinn), 0);
    EXPECT_EQ(t.seatAt(1, quinn), 0);

    click(w.seatCell(0, 13));
    mwtest::snapshot(&w, "main_manual_placement.png");
    click(w.seatCell(0, 13)); // the same pick again changes nothing
    EXPECT_EQ(w.selectedUnplaced(), 13);
    // A placed (grey) player: his next-round cell turns red and can be picked.
    click(w.seatCell(0, 5));
    EXPECT_EQ(w.selectedPlaced(), 5);
    EXPECT_TRUE(w.seatCell(1, 4)->isEnabled());
    EXPECT_TRUE(isRed(w.seatCell(1, 4)));
    EXPECT_EQ(enabledSeats(w, 1, 16), std::vector<int>{4});
    // Picking the other grey player moves the mark.
    click(w.seatCell(0, 6));
    EXPECT_EQ(w.selectedPlaced(), 6);
    EXPECT_FALSE(w.seatCell(1, 4)->isEnabled());
    EXPECT_FALSE(isRed(w.seatCell(1, 4)));
    EXPECT_TRUE(isRed(w.seatCell(1, 0)));
    // An unplaced pick drops the placed one's mark and offers the free seats again.
    click(w.seatCell(0, 9));
    EXPECT_EQ(w.selectedPlaced(), -1);
    EXPECT_EQ(w.selectedUnplaced(), 9);
    EXPECT_FALSE(isRed(w.seatCell(1, 0)));
    EXPECT_EQ(enabledSeats(w, 1, 16), (std::vector<int>{1, 5, 8, 12}));
    // A grey pick now clears the offer.
    click(w.seatCell(0, 6));
    EXPECT_EQ(w.selectedUnplaced(), -1);
    EXPECT_FALSE(isRed(w.seatCell(0, 9)));
    EXPECT_EQ(enabledSeats(w, 1, 16), std::vector<int>{0});

    // Picking the red cell takes the player out again.
    click(w.seatCell(1, 0));
    EXPECT_EQ(t.tableAt(1, quinn), -1);
    EXPECT_EQ(t.seatAt(1, quinn), -1);
    EXPECT_TRUE(w.seatCell(1, 0)->text().isEmpty());
    EXPECT_FALSE(w.seatCell(1, 0)->isEnabled());
    EXPECT_FALSE(isGrey(w.seatCell(0, 6)));
    EXPECT_EQ(w.selectedPlaced(), -1);
    EXPECT_EQ(QApplication::focusWidget(), h.button(990));

    // Switching placement off allows seating, which keeps the hand-placed player's table.
    click(h.button(990));
    EXPECT_FALSE(w.manualMode());
    EXPECT_TRUE(h.button(999)->isEnabled());
    EXPECT_TRUE(isGrey(w.seatCell(0, 5))); // still placed, still grey
    mwtest::ModalWatcher watcher;
    mwtest::seat(h);
    ASSERT_EQ(t.currentRound, 2);
    EXPECT_EQ(t.tableAt(1, pete), 1);
    EXPECT_FALSE(isGrey(w.seatCell(0, 5)));
    EXPECT_EQ(watcher.messages, QStringList());
}

TEST(MainWindowPlacement, SwitchingOffKeepsTheOfferedSeatsAndDropsTheSelection) {
    PlacementHarness h;
    MainWindow& w = *h.w;
    click(h.button(990));
    click(w.seatCell(0, 2));
    ASSERT_EQ(w.selectedUnplaced(), 2);
    click(h.button(990));
    EXPECT_EQ(w.selectedUnplaced(), -1);
    EXPECT_FALSE(isRed(w.seatCell(0, 2)));
    EXPECT_EQ(enabledSeats(w, 1, 16), (std::vector<int>{0, 4, 8, 12}));
    // With nothing selected a free cell does nothing.
    click(h.button(990));
    click(w.seatCell(1, 4));
    for (int p = 0; p < 16; ++p)
        EXPECT_EQ(h.t->tableAt(1, p), -1);
}

TEST(MainWindowPlacement, RefreshDropsPlacementsOfAnIncompleteRound) {
    PlacementHarness h;
    MainWindow& w = *h.w;
    click(h.button(990));
    click(w.seatCell(0, 3));
    click(w.seatCell(1, 8));
    ASSERT_EQ(h.t->tableAt(1, h.playerAt(0, 3)), 2);
    w.refreshFromTournament();
    EXPECT_EQ(h.t->tableAt(1, h.playerAt(0, 3)), -1);
    EXPECT_TRUE(w.seatCell(1, 8)->text().isEmpty());
    EXPECT_FALSE(isGrey(w.seatCell(0, 3)));
    EXPECT_TRUE(w.manualMode()); // still on for the same round
    EXPECT_FALSE(h.button(999)->isEnabled());
}

TEST(MainWindowTestMode, GeneratorButtons) {
    runRandom().seed(3);
    Harness h(16, 3, true);
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    typeInto(h.edit(2500 + 1), QStringLiteral(u"Своя"));
    click(h.button(995));
    for (int i = 0; i < 16; ++i) {
        const QString name = h.edit(2000 + i)->text();
        EXPECT_EQ(name.count(QLatin1Char(' ')), 1) << name.toStdString();
        EXPECT_EQ(fromRecord(t.names[i]), name);
    }
    // What was typed is the record's: the names generator does not take a typed team away.
    EXPECT_EQ(h.edit(2500 + 1)->text(), QStringLiteral(u"Своя"));
    EXPECT_FALSE(h.button(995)->isEnabled());
    EXPECT_TRUE(h.button(989)->isEnabled());
    EXPECT_TRUE(h.button(993)->isEnabled());

    // Random names come back only when every name is empty again.
    for (int i = 0; i < 15; ++i)
        typeInto(h.edit(2000 + i), QString());
    EXPECT_FALSE(h.button(995)->isEnabled());
    EXPECT_FALSE(h.button(993)->isEnabled());
    EXPECT_TRUE(h.button(989)->isEnabled()); // typing names does not change it
    typeInto(h.edit(2000 + 15), QString());
    EXPECT_TRUE(h.button(995)->isEnabled());
    click(h.button(995));

    click(h.button(989));
    std::map<QString, int> members;
    for (int i = 0; i < 16; ++i)
        ++members[h.edit(2500 + i)->text()];
    EXPECT_EQ(members, (std::map<QString, int>{{QStringLiteral(u"Ком.1"), 4},
                                               {QStringLiteral(u"Ком.2"), 4},
                                               {QStringLiteral(u"Ком.3"), 4},
                                               {QStringLiteral(u"Ком.4"), 4}}));

    click(h.button(993));
    mwtest::ModalWatcher watcher;
    mwtest::seat(h);
    ASSERT_EQ(t.currentRound, 1);
    EXPECT_FALSE(h.button(989)->isEnabled());
    EXPECT_FALSE(h.button(993)->isEnabled());
    EXPECT_TRUE(h.button(1000)->isEnabled());
    EXPECT_FALSE(h.button(1001)->isEnabled());
    EXPECT_FALSE(h.button(999)->isEnabled());

    // A red table from typing is gone once random results fill the round.
    typeInto(w.pointsCell(0, 0), QStringLiteral("5"));
    for (int s = 1; s < 4; ++s) {
        typeInto(w.pointsCell(0, s), QStringLiteral("5"));
        QTest::keyClick(w.pointsCell(0, s), Qt::Key_Tab);
    }
    ASSERT_TRUE(w.tableError(0));
    click(h.button(1000));
    for (int tb = 0; tb < 4; ++tb) {
        int sum = 0;
        for (int s = 0; s < 4; ++s) {
            QLineEdit* cell = w.pointsCell(0, 4 * tb + s);
            EXPECT_FALSE(cell->text().isEmpty());
            EXPECT_EQ(cell->text().toInt(), t.pointsAt(0, t.playerAt(0, tb, s)));
            sum += cell->text().toInt();
        }
        EXPECT_EQ(sum, 0);
        EXPECT_FALSE(w.tableError(tb));
    }
    EXPECT_FALSE(isRed(w.pointsCell(0, 0)));
    EXPECT_TRUE(h.button(999)->isEnabled());
    EXPECT_TRUE(h.button(990)->isEnabled());
    EXPECT_EQ(watcher.messages, QStringList());
}

} // namespace
} // namespace quelna
