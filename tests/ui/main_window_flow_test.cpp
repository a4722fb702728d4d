// A tournament run through the main window as an organiser does it: typing the players, seating
// round after round behind the progress dialog, typing points, files and autosaves.
#include <QAction>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

#include "core/text.h"
#include "files/file_commands.h"
#include "files/tournament_csv.h"
#include "tests/ui/main_window_support.h"
#include "gui/qt_text.h"

namespace quelna {
namespace {

using mwtest::chooseMenu;
using mwtest::click;
using mwtest::csvText;
using mwtest::Harness;
using mwtest::isRed;
using mwtest::seat;
using mwtest::typeAndLeave;
using mwtest::typeInto;

Tournament loadFile(const QString& path, int players, int rounds) {
    Tournament t(players, rounds);
    EXPECT_TRUE(loadTournamentFile(t, QFile::encodeName(path).toStdString())) << path.toStdString();
    t.normalizeRounds();
    return t;
}

int slotNamed(const Tournament& t, const std::string& name) {
    for (int p = 0; p < t.playerCount; ++p)
        if (t.names[p] == name)
            return p;
    ADD_FAILURE() << "no player " << name;
    return 0;
}

TEST(MainWindowFlow, WholeTournamentTypedThroughTheWindow) {
    Harness h(16, 3);
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    mwtest::ModalWatcher watcher;

    // Registration: names, two team-mates, and numbers.
    for (int i = 0; i < 16; ++i) {
        EXPECT_FALSE(h.button(993)->isEnabled()) << "before name " << i;
        typeInto(h.edit(2000 + i), QStringLiteral(u"Игрок %1").arg(i + 1));
    }
    EXPECT_TRUE(h.button(993)->isEnabled());
    typeInto(h.edit(2500 + 2), QStringLiteral(u"Клуб"));
    typeInto(h.edit(2500 + 9), QStringLiteral(u"Клуб"));
    for (int i = 0; i < 16; ++i)
        typeInto(h.edit(3000 + i), QString::number(16 - i));
    EXPECT_TRUE(h.button(999)->isEnabled());
    typeInto(h.edit(3000 + 5), QStringLiteral(u"3")); // 3 twice, 11 missing
    EXPECT_FALSE(h.button(999)->isEnabled());
    typeInto(h.edit(3000 + 5), QString());
    EXPECT_FALSE(h.button(999)->isEnabled());
    click(h.button(993));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(h.edit(3000 + i)->text(), QString::number(i + 1));
    ASSERT_TRUE(h.button(999)->isEnabled());

    // Round 1.
    seat(h);
    ASSERT_EQ(watcher.messages, QStringList());
    ASSERT_EQ(t.currentRound, 1);
    EXPECT_TRUE(QFile::exists(h.autosaveFile(0)));
    EXPECT_TRUE(QFile::exists(h.autosaveFile(1)));
    EXPECT_FALSE(QFile::exists(h.autosaveFile(2)));
    {
        const Tournament registered = loadFile(h.autosaveFile(0), 16, 3);
        EXPECT_EQ(registered.currentRound, 0);
        EXPECT_EQ(cp1251ToUtf8(registered.names[2]), "Игрок 3");
        EXPECT_EQ(cp1251ToUtf8(registered.teams.name(registered.team[2])), "Клуб");
        EXPECT_EQ(loadFile(h.autosaveFile(1), 16, 3).currentRound, 1);
    }
    EXPECT_EQ(mwtest::maxMeetings(t), 1); // the team-mates are not at one table
    for (int i = 0; i < 16; ++i) {
        EXPECT_FALSE(h.edit(2000 + i)->isEnabled());
        EXPECT_FALSE(h.edit(3000 + i)->isEnabled());
    }
    for (int p = 0; p < 16; ++p) {
        const int player = t.playerAt(0, p / 4, p % 4);
        ASSERT_GE(player, 0);
        QString expected = QStringLiteral(u"%1 Игрок %1").arg(player + 1);
        if (player == 2 || player == 9)
            expected += QStringLiteral(u"/Клуб");
        EXPECT_EQ(w.seatCell(0, p)->text(), expected);
        EXPECT_TRUE(w.pointsCell(0, p)->text().isEmpty()); // all zero: shown empty
        EXPECT_TRUE(w.pointsCell(0, p)->isEnabled());
        EXPECT_FALSE(w.seatCell(1, p)->isEnabled());
    }
    EXPECT_EQ(QApplication::focusWidget(), w.pointsCell(0, 0));
    EXPECT_FALSE(h.button(999)->isEnabled());
    EXPECT_FALSE(h.button(990)->isEnabled());
    EXPECT_TRUE(w.menuAction(40006)->isEnabled());
    EXPECT_TRUE(w.menuAction(40007)->isEnabled());
    EXPECT_TRUE(w.menuAction(40011)->isEnabled());
    EXPECT_FALSE(w.menuAction(40008)->isEnabled());
    EXPECT_FALSE(w.menuAction(40009)->isEnabled());
    EXPECT_EQ(w.shownRound(), 1);

    // Points of table 1 sum to zero; table 2 does not until corrected; an empty cell never errs.
    const QString table1[4] = {QStringLiteral("300"), QStringLiteral("100"), QStringLiteral("-100"),
                               QStringLiteral("-300")};
    for (int s = 0; s < 4; ++s)
        typeAndLeave(w.pointsCell(0, s), table1[s]);
    EXPECT_FALSE(w.tableError(0));
    EXPECT_FALSE(isRed(w.pointsCell(0, 0)));
    typeAndLeave(w.pointsCell(0, 4), QStringLiteral("300"));
    typeAndLeave(w.pointsCell(0, 5), QStringLiteral("100"));
    typeAndLeave(w.pointsCell(0, 6), QStringLiteral("-100"));
    EXPECT_FALSE(w.tableError(1));
    typeInto(w.pointsCell(0, 7), QStringLiteral("-200"));
    EXPECT_FALSE(isRed(w.pointsCell(0, 7))); // not before the cell is left
    QTest::keyClick(w.pointsCell(0, 7), Qt::Key_Tab);
    EXPECT_TRUE(w.tableError(1));
    for (int s = 4; s < 8; ++s)
        EXPECT_TRUE(isRed(w.pointsCell(0, s))) << s;
    EXPECT_FALSE(isRed(w.pointsCell(0, 8)));
    EXPECT_EQ(t.pointsAt(0, t.playerAt(0, 1, 3)), -200);

    for (int p = 8; p < 16; ++p)
        typeAndLeave(w.pointsCell(0, p), QString::number(p % 4 == 0 ? 600 : -200));
    mwtest::snapshot(&w, "main_red_table.png");
    // Every cell filled, one table red: seating is still allowed.
    EXPECT_TRUE(h.button(999)->isEnabled());
    EXPECT_TRUE(h.button(990)->isEnabled());
    typeAndLeave(w.pointsCell(0, 7), QStringLiteral("-300"));
    EXPECT_FALSE(w.tableError(1));
    EXPECT_FALSE(isRed(w.pointsCell(0, 4)));
    typeAndLeave(w.pointsCell(0, 9), QStringLiteral("-abc"));
    EXPECT_TRUE(w.tableError(2)); // unreadable text counts as 0
    typeAndLeave(w.pointsCell(0, 9), QStringLiteral("-200"));
    EXPECT_FALSE(w.tableError(2));
    typeInto(w.pointsCell(0, 15), QString());
    EXPECT_FALSE(h.button(999)->isEnabled());
    typeInto(w.pointsCell(0, 15), QStringLiteral("-200"));
    EXPECT_TRUE(h.button(999)->isEnabled());

    // Round 2: the autosave of round count 1 now holds round 1's points.
    seat(h);
    ASSERT_EQ(t.currentRound, 2);
    {
        const Tournament before = loadFile(h.autosaveFile(1), 16, 3);
        const int player = t.playerAt(0, 3, 0);
        EXPECT_EQ(before.pointsAt(0, slotNamed(before, t.names[player])), 600);
        EXPECT_EQ(loadFile(h.autosaveFile(2), 16, 3).currentRound, 2);
    }
    EXPECT_EQ(mwtest::maxMeetings(t), 1);
    EXPECT_TRUE(w.menuAction(40008)->isEnabled());
    EXPECT_FALSE(w.menuAction(40009)->isEnabled());
    EXPECT_TRUE(h.button(1500)->isEnabled());
    EXPECT_FALSE(h.button(1501)->isEnabled());
    for (int p = 0; p < 16; ++p) {
        EXPECT_FALSE(w.pointsCell(0, p)->isEnabled());
        EXPECT_FALSE(w.pointsCell(0, p)->text().isEmpty()); // zeros of an earlier round shown
        EXPECT_FALSE(isRed(w.pointsCell(0, p)));
        const int player = t.playerAt(1, p / 4, p % 4);
        EXPECT_TRUE(w.seatCell(1, p)->text().endsWith(
            QStringLiteral(u"(%1)").arg(t.runningTotal(player, 1))));
    }
    EXPECT_EQ(w.pointsCell(0, 1)->text(), QStringLiteral("100"));
    for (int p = 0; p < 16; ++p)
        typeAndLeave(w.pointsCell(1, p), QString::number(p % 4 == 0 ? 300 : -100));

    // Round 3, the last: it can be scored but nothing more can be seated.
    seat(h);
    ASSERT_EQ(t.currentRound, 3);
    EXPECT_EQ(mwtest::maxMeetings(t), 1);
    EXPECT_TRUE(w.menuAction(40009)->isEnabled());
    EXPECT_FALSE(h.button(999)->isEnabled());
    EXPECT_FALSE(h.button(990)->isEnabled());
    for (int p = 0; p < 16; ++p)
        typeAndLeave(w.pointsCell(2, p), QString::number(p % 4 == 1 ? 900 : -300));
    EXPECT_FALSE(h.button(999)->isEnabled());
    EXPECT_FALSE(h.button(990)->isEnabled());

    // The menu's save writes what the grid shows; the file loads back to the same tournament.
    const QString saved = h.dir.filePath(QStringLiteral("final.csv"));
    setFileDialogHook([&](bool) { return saved; });
    chooseMenu(w, 40005);
    setFileDialogHook({});
    const Tournament reread = loadFile(saved, 16, 3);
    EXPECT_EQ(reread.currentRound, 3);
    EXPECT_EQ(csvText(reread), csvText(t));

    // Closing by "Выход" autosaves the round count 3 with the last round's points.
    QFile::remove(h.autosaveFile(3));
    chooseMenu(w, 40003);
    EXPECT_FALSE(w.isVisible());
    const Tournament closed = loadFile(h.autosaveFile(3), 16, 3);
    EXPECT_EQ(csvText(closed), csvText(t));
    EXPECT_EQ(closed.pointsAt(2, slotNamed(closed, t.names[t.playerAt(2, 0, 1)])), 900);
    EXPECT_EQ(watcher.messages, QStringList());
}

TEST(MainWindowFlow, AutosaveOffWritesNothing) {
    Harness h(12, 2);
    settings().autosave = false;
    for (int i = 0; i < 12; ++i)
        typeInto(h.edit(2000 + i), QStringLiteral(u"P%1").arg(i));
    click(h.button(993));
    seat(h);
    ASSERT_EQ(h.t->currentRound, 1);
    h.w->close();
    EXPECT_TRUE(QDir(h.dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(MainWindowFlow, ClosingKeepsTypedRegistrationInTheAutosave) {
    Harness h(12, 2);
    typeInto(h.edit(2000 + 4), QStringLiteral(u"Ольга Петрова"));
    h.w->close(); // the close box
    EXPECT_FALSE(h.w->isVisible());
    const Tournament closed = loadFile(h.autosaveFile(0), 12, 2);
    EXPECT_EQ(cp1251ToUtf8(closed.names[4]), "Ольга Петрова");
}

TEST(MainWindowFlow, LoadShowsTheFileAndSaveCopiesTheGridFirst) {
    Harness h(16, 3);
    MainWindow& w = *h.w;
    mwtest::ModalWatcher watcher;
    for (int i = 0; i < 16; ++i)
        typeInto(h.edit(2000 + i), QStringLiteral(u"Имя %1").arg(i));
    typeInto(h.edit(2500), QStringLiteral(u"Север"));
    // A cancelled save still leaves the typed registration in the record.
    setFileDialogHook([](bool) { return QString(); });
    chooseMenu(w, 40005);
    EXPECT_EQ(cp1251ToUtf8(h.t->names[15]), "Имя 15");
    EXPECT_EQ(h.t->teams.count(), 1);

    // A file with two rounds played and a third seated.
    Tournament other(16, 3);
    mwtest::playRounds(other, 2, 3);
    SeatingJob job;
    job.round = 2;
    ASSERT_TRUE(seatRound(other, job));
    other.normalizeRounds();
    const QString path = h.dir.filePath(QStringLiteral("other.csv"));
    ASSERT_TRUE(saveTournamentFile(other, QFile::encodeName(path).toStdString()));
    setFileDialogHook([&](bool) { return path; });
    chooseMenu(w, 40001);
    setFileDialogHook({});
    EXPECT_EQ(h.t->currentRound, 3);
    EXPECT_EQ(csvText(*h.t), csvText(other));
    EXPECT_EQ(w.shownRound(), 3);
    for (int i = 0; i < 16; ++i) {
        int numbered = -1;
        for (int p = 0; p < 16; ++p)
            if (other.playerNumber[p] == i)
                numbered = p;
        ASSERT_GE(numbered, 0);
        EXPECT_EQ(h.edit(2000 + i)->text(), fromRecord(other.names[numbered]));
        EXPECT_FALSE(h.edit(2000 + i)->isEnabled());
        EXPECT_EQ(h.edit(3000 + i)->text(), QString::number(i + 1));
    }
    for (int p = 0; p < 16; ++p) {
        EXPECT_EQ(w.pointsCell(1, p)->text(),
                  QString::number(other.pointsAt(1, other.playerAt(1, p / 4, p % 4))));
        EXPECT_TRUE(w.pointsCell(2, p)->text().isEmpty());
        EXPECT_TRUE(w.pointsCell(2, p)->isEnabled());
    }
    EXPECT_TRUE(w.menuAction(40009)->isEnabled());
    EXPECT_EQ(watcher.messages, QStringList());

    // A file that cannot be read leaves everything as it was.
    setFileDialogHook([&](bool) { return h.dir.filePath(QStringLiteral("missing.csv")); });
    chooseMenu(w, 40001);
    setFileDialogHook({});
    EXPECT_EQ(watcher.messages, QStringList{QStringLiteral(u"Ошибка при чтении из файла!")});
    EXPECT_EQ(h.t->currentRound, 3);
    EXPECT_EQ(csvText(*h.t), csvText(other));
}

TEST(MainWindowFlow, FailedSeatingLeavesTheRoundEmptyAndOverlapHelps) {
    runRandom().seed(11);
    Harness h(16, 8, true);
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    mwtest::ModalWatcher watcher;
    click(h.button(995));
    click(h.button(993));
    int round = 0;
    int handPlaced = -1;
    while (watcher.messages.isEmpty() && round < 8) {
        if (round > 0) {
            // The best player of the latest round goes to the last table by hand.
            mwtest::placeByHand(h, round, {{0, 12}});
            handPlaced = t.playerAt(round - 1, 0, 0);
            ASSERT_EQ(t.tableAt(round, handPlaced), 3);
        }
        ASSERT_TRUE(h.button(999)->isEnabled()) << "round " << round;
        seat(h);
        if (!watcher.messages.isEmpty())
            break;
        ASSERT_EQ(t.currentRound, round + 1);
        click(h.button(1000 + round));
        ++round;
    }
    ASSERT_EQ(watcher.messages.size(), 1)
        << watcher.messages.join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(watcher.messages[0],
              QStringLiteral(u"Не удалось рассадить игроков!\nУвеличьте число столов с "
                             u"возможными пересечениями\nили уменьшите число столов с "
                             u"фиксированной рассадкой."));
    EXPECT_EQ(t.currentRound, round);
    // Only the hand-placed player keeps his place in the round.
    for (int p = 0; p < 16; ++p) {
        EXPECT_EQ(t.tableAt(round, p), p == handPlaced ? 3 : -1);
        EXPECT_EQ(t.seatAt(round, p), p == handPlaced ? 0 : -1);
        if (p != 12) {
            EXPECT_TRUE(w.seatCell(round, p)->text().isEmpty());
        }
    }
    EXPECT_EQ(mwtest::maxMeetings(t), 1);
    EXPECT_TRUE(h.button(999)->isEnabled());

    // Allowing repeat meetings on the bottom tables, one more at a time, finds a seating.
    int overlap = 0;
    while (t.currentRound == round && overlap < 4) {
        settings().overlapTables = ++overlap;
        seat(h);
    }
    EXPECT_EQ(t.currentRound, round + 1);
    EXPECT_EQ(watcher.messages.size(), overlap);
    std::cout << "[          ] round " << round + 1 << " of 16 players seated with " << overlap
              << " overlap table(s)\n";
    EXPECT_TRUE(QDir(h.dir.path()).entryList(QDir::Files).isEmpty()); // test mode: no autosave
}

} // namespace
} // namespace quelna
