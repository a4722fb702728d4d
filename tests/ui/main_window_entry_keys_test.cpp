// Fast keyboard entry of results and the red mark of a table, with real key events: Tab, Enter
// and the arrows move between the points cells of the latest round, seat cells are skipped, and
// a text that is no whole number marks its table.
#include <gtest/gtest.h>

#include <climits>

#include "tests/ui/main_window_support.h"

namespace quelna {
namespace {

using mwtest::Harness;

// Sixteen players with round 1 seated and no points typed yet: the focus is in the first
// points cell, as after a seating.
struct RoundToType {
    RoundToType() : h(16, 4) {
        mwtest::playRounds(*h.t, 1, 77);
        for (int tb = 0; tb < 4; ++tb)
            for (int s = 0; s < 4; ++s)
                h.t->setPoints(0, tb, s, 0);
        h.w->refreshFromTournament();
    }
    QLineEdit* points(int q) const { return h.w->pointsCell(0, q); }
    QWidget* focus() const { return QApplication::focusWidget(); }
    // Types into the cell that has the focus, as the organiser does after moving there.
    void type(const QString& text) const { uitest::typeText(focus(), text); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) const {
        QTest::keyClick(focus(), k, mods);
    }
    bool tableRed(int tb) const {
        for (int s = 0; s < 4; ++s)
            if (!mwtest::isRed(points(4 * tb + s)))
                return false;
        return true;
    }
    Harness h;
};

TEST(MainWindowEntryKeys, TabGoesFromPointsCellToPointsCellAndSkipsSeatCells) {
    RoundToType r;
    ASSERT_EQ(r.focus(), r.points(0));
    for (int q = 0; q + 1 < 16; ++q) {
        r.key(Qt::Key_Tab);
        ASSERT_EQ(r.focus(), r.points(q + 1)) << "Tab from points cell " << q;
    }
    for (int q = 15; q > 0; --q) {
        r.key(Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(r.focus(), r.points(q - 1)) << "Shift+Tab from points cell " << q;
    }
    for (int q = 0; q < 16; ++q)
        EXPECT_FALSE(r.h.w->seatCell(0, q)->focusPolicy() & Qt::TabFocus) << q;
}

TEST(MainWindowEntryKeys, EnterAndArrowsMoveAndStopAtTheEndsOfTheRound) {
    RoundToType r;
    r.type(QStringLiteral("300"));
    r.key(Qt::Key_Return);
    EXPECT_EQ(r.focus(), r.points(1));
    r.type(QStringLiteral("100"));
    r.key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(r.focus(), r.points(2));
    r.key(Qt::Key_Down);
    EXPECT_EQ(r.focus(), r.points(3));
    r.key(Qt::Key_Up);
    r.key(Qt::Key_Up);
    EXPECT_EQ(r.focus(), r.points(1));
    r.key(Qt::Key_Up);
    r.key(Qt::Key_Up); // the first cell has nothing above it
    EXPECT_EQ(r.focus(), r.points(0));
    // Leaving a cell by a key stores its value, as leaving it by Tab does.
    EXPECT_EQ(r.h.t->pointsAt(0, r.h.t->playerAt(0, 0, 1)), 100);
    // Moving there by key selects the old value, so typing replaces it.
    r.key(Qt::Key_Down);
    r.type(QStringLiteral("200"));
    EXPECT_EQ(r.points(1)->text(), QStringLiteral("200"));

    r.points(15)->setFocus(Qt::OtherFocusReason);
    r.key(Qt::Key_Return);
    r.key(Qt::Key_Down);
    EXPECT_EQ(r.focus(), r.points(15));
    // Enter never pressed a button nor closed the window.
    EXPECT_TRUE(r.h.w->isVisible());
    EXPECT_EQ(r.h.t->currentRound, 1);
}

TEST(MainWindowEntryKeys, TextThatIsNoWholeNumberMarksItsTableUntilCorrected) {
    RoundToType r;
    for (const char* value : {"300", "100", "-100", "abc"}) {
        r.type(QString::fromLatin1(value));
        r.key(Qt::Key_Return);
    }
    EXPECT_TRUE(r.tableRed(0));
    EXPECT_TRUE(r.h.w->tableError(0));
    // What "abc" stores is unchanged: nothing.
    EXPECT_EQ(r.h.t->pointsAt(0, r.h.t->playerAt(0, 0, 3)), 0);
    r.key(Qt::Key_Up);
    r.type(QStringLiteral("-300"));
    r.key(Qt::Key_Return);
    EXPECT_FALSE(r.tableRed(0));
    EXPECT_FALSE(r.h.w->tableError(0));

    // Other texts that are no whole number; one of them is enough, even with cells still empty.
    // Blanks around a number are no error.
    struct Case {
        const char* text;
        bool red;
    };
    const Case cases[] = {{"12abc", true}, {"1 2", true},  {"-", true},   {"+", true},
                          {"4.5", true},   {" 7 ", false}, {"+7", false}, {"-0", false}};
    for (const Case& c : cases) {
        mwtest::typeAndLeave(r.points(4), QString::fromLatin1(c.text));
        EXPECT_EQ(r.tableRed(1), c.red) << c.text;
    }
    // A typed error is kept by the red mark, not by the record: "12abc" stores 12.
    mwtest::typeAndLeave(r.points(4), QStringLiteral("12abc"));
    EXPECT_EQ(r.h.t->pointsAt(0, r.h.t->playerAt(0, 1, 0)), 12);
}

TEST(MainWindowEntryKeys, SumOfFourLargePointsDoesNotWrapToZero) {
    RoundToType r;
    // In 32 bits these four wrap around to exactly 0.
    const int values[] = {INT_MAX, INT_MAX, INT_MAX, -2147483645};
    for (int s = 0; s < 4; ++s)
        mwtest::typeAndLeave(r.points(8 + s), QString::number(values[s]));
    EXPECT_TRUE(r.tableRed(2));
    mwtest::typeAndLeave(r.points(11), QString::number(-INT_MAX));
    mwtest::typeAndLeave(r.points(10), QString::number(-INT_MAX));
    EXPECT_FALSE(r.tableRed(2));
}

} // namespace
} // namespace quelna
