// The organiser's day once more, with real events: options and F4 results reach their files at
// once, a click selects a points cell as Tab does, the list has headings, the seat command and
// past rounds are within reach at 200 players, file dialogs start where the last tournament file
// went, and a file of another size opens with its own size.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <utility>

#include "core/text.h"
#include "files/file_commands.h"
#include "gui/core_path.h"
#include "tests/ui/main_window_support.h"
#include "ui/correct_round_dialog.h"
#include "ui/entry.h"
#include "ui/final_scores_dialog.h"
#include "ui/print_menu.h"
#include "ui/settings_dialog.h"

namespace quelna {
namespace {

using mwtest::chooseMenu;
using mwtest::click;
using mwtest::Harness;
using mwtest::isRed;
using mwtest::typeAndLeave;
using uitest::fileBytes;

// Runs act once on the next visible modal dialog of type W.
template <typename W> void whenModal(std::function<void(W*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* d = qobject_cast<W*>(QApplication::activeModalWidget());
        if (d && d->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(d);
        }
    });
    timer->start(5);
}

// Answers every message box while it lives with the button of the given text, noting the texts.
struct Answer {
    explicit Answer(QString button) {
        QObject::connect(&timer, &QTimer::timeout, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            seen << box->text();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == button)
                    return click(b);
            box->close();
        });
        timer.start(10);
    }
    QStringList seen;
    QTimer timer;
};

void pressOk(QDialog* d) {
    click(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
}

TEST(OrganiserDayReach, ChangesReachTheirFilesWithoutWaitingForTheExit) {
    Harness h(16, 4);
    const QString ini = h.dir.filePath(QStringLiteral(u"quelna.ini"));
    settings().settingsPath = corePath(ini);
    mwtest::playRounds(*h.t, 1, 21);
    for (int p = 0; p < 16; ++p)
        h.t->pointsAt(0, p) = 0; // round 1 not typed yet
    h.w->refreshFromTournament();
    QTemporaryDir elsewhere;
    auto fromFile = [&] {
        Settings read;
        loadSettings(read, corePath(ini));
        return read;
    };
    const struct {
        const char* what;
        std::function<void()> act;
        std::function<bool()> reached;
    } steps[] = {
        {"the title set in the settings dialog",
         [&] {
             whenModal<SettingsDialog>([](SettingsDialog* d) {
                 uitest::replaceText(
                     qobject_cast<QLineEdit*>(d->control(SettingsDialog::TitleEdit)),
                     QStringLiteral(u"Кубок весны"));
                 click(qobject_cast<QPushButton*>(d->control(SettingsDialog::OkButton)));
             });
             chooseMenu(*h.w, ids::kSettingsCommand);
         },
         [&] { return fromFile().tournamentTitle == utf8ToCp1251("Кубок весны"); }},
        // The dialog closes into the same cell: nothing is left afterwards.
        {"table 2's results entered with F4",
         [&] {
             ASSERT_TRUE(QTest::qWaitForWindowActive(h.w.get()));
             click(h.w->pointsCell(0, 4));
             whenModal<FinalScoresDialog>([](FinalScoresDialog* d) {
                 const char* scores[] = {"45000", "35000", "25000", "15000"};
                 for (int s = 0; s < 4; ++s)
                     uitest::replaceText(d->scoreEdit(s), QString::fromLatin1(scores[s]));
                 pressOk(d);
             });
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
         },
         [&] {
             return h.t->entryAt(0, h.t->playerAt(0, 1, 0)) == PointsEntry::Number &&
                    fileBytes(h.autosaveFile(1)).toStdString() == uitest::csvText(*h.t);
         }},
        {"a tournament file saved in another folder",
         [&] {
             setFileDialogHook(
                 [&](bool) { return elsewhere.filePath(QStringLiteral(u"day.csv")); });
             chooseMenu(*h.w, ids::kSaveCommand);
             setFileDialogHook({});
         },
         [&] {
             return fromFile().tournamentFolder == corePath(elsewhere.path()) &&
                    fromFile().tournamentTitle == utf8ToCp1251("Кубок весны");
         }},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_TRUE(QTest::qWaitFor(step.reached, 5000)) << step.what;
    }
    EXPECT_TRUE(h.w->isVisible()) << "all of it while the window is open";
}

TEST(OrganiserDayReach, EnteringAFilledPointsCellSelectsWhatItHolds) {
    Harness h(16, 4);
    mwtest::playRounds(*h.t, 1, 22);
    h.w->refreshFromTournament();
    QLineEdit* cell = h.w->pointsCell(0, 5);
    const QPoint c = cell->rect().center();
    const struct {
        const char* how;
        std::function<void()> enter;
        bool replaced; // typing replaces what the cell held
    } ways[] = {
        {"a click", [&] { click(cell); }, true},
        {"a press that trembles a pixel",
         [&] {
             QTest::mousePress(cell, Qt::LeftButton, {}, c);
             QTest::mouseMove(cell, c + QPoint(1, 0));
             QTest::mouseRelease(cell, Qt::LeftButton, {}, c + QPoint(1, 0));
         },
         true},
        {"Tab from the cell above",
         [&] {
             click(h.w->pointsCell(0, 4));
             QTest::keyClick(h.w->pointsCell(0, 4), Qt::Key_Tab);
         },
         true},
        // Once in the cell, a click places the cursor as in any edit.
        {"a second click",
         [&] {
             click(cell);
             click(cell);
         },
         false},
    };
    for (const auto& way : ways) {
        typeAndLeave(cell, QStringLiteral(u"32000"));
        ASSERT_FALSE(cell->hasFocus());
        way.enter();
        ASSERT_TRUE(cell->hasFocus()) << way.how;
        uitest::typeText(cell, QStringLiteral(u"32000"));
        EXPECT_EQ(cell->text() == QStringLiteral(u"32000"), way.replaced)
            << way.how << ": " << cell->text().toStdString();
        QTest::keyClick(cell, Qt::Key_Tab);
    }
}

TEST(OrganiserDayReach, ListHeadingsWhereTheFirstRowHasRoom) {
    const struct {
        bool testMode;
        bool team; // the team column's 62 pixels also hold the team generator in test mode
    } rows[] = {{false, true}, {true, false}};
    for (const auto& row : rows) {
        Harness h(16, 4, row.testMode);
        auto* name = h.w->findChild<QLabel*>(QStringLiteral("nameHeader"));
        auto* team = h.w->findChild<QLabel*>(QStringLiteral("teamHeader"));
        ASSERT_TRUE(name && team);
        EXPECT_EQ(name->text(), QStringLiteral(u"Имя"));
        EXPECT_EQ(team->text(), QStringLiteral(u"Команда"));
        EXPECT_TRUE(name->isVisible());
        // Where the system's font makes the word wider than the column (Wine's), it stays away.
        const bool fits = team->fontMetrics().horizontalAdvance(team->text()) + 2 <= team->width();
        EXPECT_EQ(team->isVisible(), row.team && fits) << "test mode " << row.testMode;
        // Over its own column, clear of every button of the first row.
        const int teamX = h.edit(ids::kTeamEdit)->x();
        EXPECT_TRUE(name->geometry().right() < teamX && team->x() >= teamX &&
                    team->geometry().right() < h.edit(ids::kNumberEdit)->x());
        for (int id : {ids::kNumberButton, ids::kNamesButton, ids::kTeamsButton}) {
            QWidget* b = h.w->control(id);
            for (QLabel* l : {name, team})
                EXPECT_FALSE(b && l->isVisible() && l->geometry().intersects(b->geometry()))
                    << l->text().toStdString() << " over " << id;
        }
        mwtest::snapshot(h.w.get(),
                         row.testMode ? "main_list_headings_test_mode.png" : "main_16x4.png");
    }
}

TEST(OrganiserDayReach, TwoHundredPlayersSeatAndPastRoundsWithinReach) {
    Harness h(200, 12, false, QRect(0, 0, 1920, 1040));
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    mwtest::playRounds(t, 3, 23);
    t.pointsAt(0, t.playerAt(0, 1, 0)) += 100; // table 2 of round 1 does not add up
    w.refreshFromTournament();
    ASSERT_TRUE(w.gridGeometry().scrolls);
    ASSERT_EQ(w.shownRound(), 3);

    // The seat button's twin in the menu bar, and the menu item with its key.
    auto* pointer = w.findChild<QPushButton*>(QStringLiteral("seatPointer"));
    auto* item = w.findChild<QAction*>(QStringLiteral("seatCommand"));
    ASSERT_TRUE(pointer && item);
    EXPECT_TRUE(pointer->isVisible());
    const QRect inWindow(pointer->mapTo(&w, QPoint(0, 0)), pointer->size());
    EXPECT_TRUE(w.rect().contains(inWindow));
    EXPECT_LE(inWindow.bottom(), w.gridArea()->parentWidget()->y()) << "above the grid";
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::Key_F3));
    QLineEdit* typed = w.pointsCell(2, 7);
    const QString held = typed->text();
    for (const QString& text : {QString(), held}) {
        typeAndLeave(typed, text);
        const bool on = h.button(ids::kSeatButton)->isEnabled();
        EXPECT_EQ(on, !text.isEmpty());
        EXPECT_EQ(pointer->isEnabled(), on);
        EXPECT_EQ(item->isEnabled(), on);
    }

    // Round 1's points column is folded away while round 3 is widened: the red table shows on
    // its seat cells. The "Тур" menu widens round 1 and comes back.
    const struct {
        const char* item; // chosen first; null: the view as the refresh left it
        int shown;
        int pointsWidth; // of round 1
        bool seatRed, pointsRed;
    } views[] = {
        {nullptr, 3, 0, true, true},
        {"showRound1", 1, 60, false, true},
        {"showRound3", 3, 0, true, true},
    };
    for (const auto& v : views) {
        if (v.item)
            chooseMenu(w, w.findChild<QAction*>(QString::fromLatin1(v.item)));
        EXPECT_EQ(w.shownRound(), v.shown);
        EXPECT_TRUE(w.findChild<QAction*>(QStringLiteral("showRound%1").arg(v.shown))->isChecked());
        EXPECT_EQ(w.pointsCell(0, 4)->width(), v.pointsWidth);
        EXPECT_EQ(isRed(w.seatCell(0, 4)), v.seatRed) << (v.item ? v.item : "refresh");
        EXPECT_EQ(isRed(w.pointsCell(0, 4)), v.pointsRed);
        EXPECT_FALSE(isRed(w.seatCell(0, 0))) << "table 1 adds up";
        EXPECT_FALSE(isRed(w.seatCell(2, 4))) << "the current round's points are in sight";
    }
    mwtest::snapshot(&w, "main_200_red_past_table.png");

    // Correcting round 1 far down the list; "Готово" over the red table, then back to round 3.
    chooseMenu(w, w.findChild<QAction*>(QStringLiteral("showRound1")));
    whenModal<CorrectRoundDialog>([](CorrectRoundDialog* d) {
        EXPECT_EQ(d->roundBox()->value(), 1);
        pressOk(d);
    });
    chooseMenu(w, ids::kCorrectRoundCommand);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.correctingRound() == 0; }, 5000));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(pointer->isVisible() && w.correctionBanner()->isVisible());
    EXPECT_FALSE(QRect(pointer->mapTo(&w, QPoint()), pointer->size())
                     .intersects(QRect(w.correctionBanner()->mapTo(&w, QPoint()),
                                       w.correctionBanner()->size())));
    w.pageDown();
    mwtest::snapshot(&w, "main_200_correcting.png");
    {
        Answer yes(QStringLiteral(u"Да"));
        click(w.correctionBanner()->findChild<QPushButton*>());
        EXPECT_EQ(yes.seen.size(), 1);
    }
    EXPECT_EQ(w.correctingRound(), -1);
    EXPECT_EQ(w.shownRound(), 3);
    EXPECT_TRUE(isRed(w.seatCell(0, 4)));

    // F3 seats round 4 wherever the list is scrolled.
    w.pageDown();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    mwtest::ModalWatcher next(/*pressNext=*/true);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    EXPECT_EQ(t.currentRound, 4);
    EXPECT_EQ(next.messages, QStringList());
}

TEST(OrganiserDayReach, FileDialogsStartWhereTheLastTournamentFileWent) {
    Harness h(16, 4);
    mwtest::playRounds(*h.t, 1, 24);
    h.w->refreshFromTournament();
    settings().tournamentTitle = utf8ToCp1251("Кубок");
    QTemporaryDir folder;
    const QString where = QFileInfo(folder.path()).canonicalFilePath();
    std::function<void(QFileDialog*)> handle;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (d && d->isVisible() && handle) {
            std::exchange(handle, {})(d);
            if (d->isVisible()) {
                ADD_FAILURE() << "dialog left open: " << d->windowTitle().toStdString();
                d->reject();
            }
        }
    });
    timer.start(10);
    auto nameEdit = [](QFileDialog* d) {
        return d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    };
    auto startsIn = [](QFileDialog* d) {
        return QFileInfo(d->directory().absolutePath()).canonicalFilePath();
    };

    // Saved into the folder, gone to as the organiser goes there.
    handle = [&](QFileDialog* d) {
        d->setDirectory(folder.path());
        uitest::replaceText(nameEdit(d), QStringLiteral(u"day"));
        QTest::keyClick(nameEdit(d), Qt::Key_Return);
    };
    chooseMenu(*h.w, ids::kSaveCommand);
    ASSERT_EQ(fileBytes(folder.filePath(QStringLiteral(u"day.CSV"))).toStdString(),
              uitest::csvText(*h.t));

    QString openStart;
    handle = [&](QFileDialog* d) {
        openStart = startsIn(d);
        d->reject();
    };
    chooseMenu(*h.w, ids::kLoadCommand);
    EXPECT_EQ(openStart, where);

    // The PDF dialog names each document its own way as the type changes, until a name is typed.
    QString pdfStart;
    QStringList names;
    handle = [&](QFileDialog* d) {
        pdfStart = startsIn(d);
        auto* type = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        names << nameEdit(d)->text();
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(type, Qt::Key_Down);
            names << nameEdit(d)->text();
        }
        uitest::replaceText(nameEdit(d), QStringLiteral(u"мой"));
        QTest::keyClick(type, Qt::Key_Up);
        names << nameEdit(d)->text();
        d->reject();
    };
    chooseMenu(*h.w, ids::kSavePdf);
    EXPECT_EQ(pdfStart, where);
    EXPECT_EQ(names,
              QStringList({QStringLiteral(u"Кубок_тур_1_бланки.pdf"),
                           QStringLiteral(u"Кубок_тур_1_по_алфавиту.pdf"),
                           QStringLiteral(u"Кубок_тур_1_по_столам.pdf"),
                           QStringLiteral(u"Кубок_тур_1_результаты.pdf"), QStringLiteral(u"мой")}));
}

// Through the program's run: a window of 16 players and 4 rounds reads a file of 24 and 5, and
// after "Да" a window of the file's size follows the one that closed. ("Нет": the load test.)
TEST(OrganiserDayReach, TheRunGoesOnInAWindowOfTheFilesSize) {
    uitest::SettingsGuard guard;
    QTemporaryDir dir;
    Tournament bigger(24, 5), smaller(16, 4);
    mwtest::playRounds(bigger, 2, 25);
    mwtest::playRounds(smaller, 1, 26);
    const QString big = dir.filePath(QStringLiteral(u"big.csv"));
    const QString small = dir.filePath(QStringLiteral(u"small.csv"));
    ASSERT_TRUE(saveTournamentFile(bigger, corePath(big)) &&
                saveTournamentFile(smaller, corePath(small)));
    const QString ini = dir.filePath(QStringLiteral(u"quelna.ini"));
    Answer yes(QStringLiteral(u"Да"));
    std::vector<int> windows; // players of each window seen, in order
    std::string shown;
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        auto* w = qobject_cast<MainWindow*>(QApplication::activeModalWidget());
        const int players = w ? w->document()->tournament().playerCount : 0;
        if (!w || w->document()->currentRound() == 0 || // the file is read after the window opens
            (!windows.empty() && windows.back() == players))
            return;
        windows.push_back(players);
        if (players == 16) {
            setFileDialogHook([&](bool) { return big; });
            chooseMenu(*w, ids::kLoadCommand);
            setFileDialogHook({});
        } else {
            shown = uitest::csvText(w->document()->tournament());
            QTimer::singleShot(0, w, [w] { w->close(); });
        }
    });
    script.start(20);
    EXPECT_EQ(runEntry(*qApp, ini, small), 0);
    EXPECT_EQ(windows, std::vector<int>({16, 24}));
    ASSERT_EQ(yes.seen.size(), 1);
    EXPECT_TRUE(yes.seen[0].startsWith(QStringLiteral(
        u"Файл рассчитан на 24 игрока и 5 туров, открытый турнир — на 16 игроков и 4 тура.")));
    EXPECT_EQ(shown, uitest::csvText(bigger));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral(u"autosave_tour1.csv"))))
        << "the 16 players' tournament was closed as at the exit";
}

} // namespace
} // namespace quelna
