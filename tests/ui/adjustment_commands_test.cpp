// Substitutes, penalties and final scores through the window, with real clicks and keys: the
// seat cells and totals follow, the table check uses the real results, a wrong sum is refused.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <gtest/gtest.h>

#include "core/standings.h"
#include "core/text.h"
#include "files/file_commands.h"
#include "gui/qt_text.h"
#include "support/rating_portal.h"
#include "tests/ui/main_window_support.h"
#include "ui/adjustment_commands.h"
#include "ui/final_scores_dialog.h"
#include "ui/penalty_dialog.h"
#include "ui/rename_player_dialog.h"
#include "ui/substitute_dialog.h"

namespace quelna {
namespace {

using mwtest::click;
using mwtest::Harness;

// Runs act on the next modal dialog (or popup menu) of type W as soon as it shows.
template <typename W> void onNext(std::function<void(W*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* shown = QApplication::activePopupWidget();
        if (!shown)
            shown = QApplication::activeModalWidget();
        if (auto* w = qobject_cast<W*>(shown); w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start(5);
}

void pressOk(QDialog* d) {
    for (auto* b : d->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral(u"ОК"))
            return click(b);
    ADD_FAILURE() << "no OK button";
}

int slotAt(const Tournament& t, int round, int position) {
    return t.playerAt(round, position / 4, position % 4);
}

TEST(AdjustmentCommands, SubstitutePenaltyAndFinalScoresThroughTheWindow) {
    Harness h(16, 3);
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    mwtest::playRounds(t, 2, 5);
    w.refreshFromTournament();
    ASSERT_EQ(t.currentRound, 2);
    AdjustmentCommands& commands = *w.adjustmentCommands();

    // A substitute for the player at position 5 of round 2, from "Сервис" after a click on it.
    const int sub = slotAt(t, 1, 5);
    const int before = t.runningTotal(sub, 1);
    const int typed = t.pointsAt(1, sub);
    click(w.seatCell(1, 5));
    onNext<SubstituteDialog>([](SubstituteDialog* d) {
        uitest::typeText(d->nameEdit(), QStringLiteral(u"Петров П."));
        uitest::dialogShot(d, "dialog_substitute.png");
        pressOk(d);
    });
    commands.substituteAction()->trigger();
    EXPECT_TRUE(w.seatCell(1, 5)->text().endsWith(QStringLiteral(u" → замена: Петров П.")))
        << w.seatCell(1, 5)->text().toStdString();
    EXPECT_EQ(t.runningTotal(sub, 2), before - 30000);
    EXPECT_EQ(t.pointsAt(1, sub), typed); // the seat keeps the substitute's table result

    // A penalty on a past round's (disabled) seat cell through its context menu.
    const int fined = slotAt(t, 0, 2);
    QWidget* pastCell = w.seatCell(0, 2);
    ASSERT_FALSE(pastCell->isEnabled());
    onNext<QMenu>([](QMenu* menu) {
        for (QAction* a : menu->actions())
            if (a->text() == QStringLiteral(u"Штраф...")) {
                menu->setActiveAction(a);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        ADD_FAILURE() << "no penalty item";
    });
    onNext<PenaltyDialog>([](PenaltyDialog* d) {
        EXPECT_EQ(d->reasonBox()->currentText(), QStringLiteral(u"Чомбо"));
        EXPECT_EQ(d->amountEdit()->text(), QStringLiteral("-20000"));
        pressOk(d);
    });
    const int fineBefore = t.runningTotal(fined, 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pastCell->rect().center(),
                            pastCell->mapToGlobal(pastCell->rect().center()));
    QApplication::sendEvent(pastCell, &event);
    QTest::qWait(50);
    EXPECT_EQ(t.runningTotal(fined, 2), fineBefore - 20000);
    ASSERT_EQ(t.adjustments.penalties(0, fined).size(), 1u);
    // The seat cell of the next round marks the total that holds it, as the standings do.
    const int finedAt = t.tableAt(1, fined) * 4 + t.seatAt(1, fined);
    EXPECT_TRUE(w.seatCell(1, finedAt)
                    ->text()
                    .endsWith(QStringLiteral(" (%1*)").arg(t.runningTotal(fined, 1))))
        << w.seatCell(1, finedAt)->text().toStdString();
    EXPECT_FALSE(w.seatCell(1, (finedAt + 4) % 16)->text().contains(QLatin1Char('*')));

    // The penalty is removed again in the same dialog, opened from "Сервис" on a latest cell.
    const int fined2 = slotAt(t, 1, 9);
    click(w.seatCell(1, 9));
    onNext<PenaltyDialog>([](PenaltyDialog* d) {
        uitest::replaceText(d->amountEdit(), QStringLiteral("-5000"));
        uitest::replaceText(d->reasonBox()->lineEdit(), QStringLiteral(u"Опоздание"));
        uitest::dialogShot(d, "dialog_penalty.png");
        pressOk(d);
    });
    commands.penaltyAction()->trigger();
    ASSERT_EQ(t.adjustments.penalties(1, fined2),
              (std::vector<Penalty>{{-5000, utf8ToCp1251("Опоздание")}}));
    click(w.seatCell(1, 9));
    onNext<PenaltyDialog>([](PenaltyDialog* d) {
        click(d->removeButton());
        EXPECT_EQ(d->list()->count(), 0);
        uitest::replaceText(d->amountEdit(), QStringLiteral("0"));
        pressOk(d);
    });
    commands.penaltyAction()->trigger();
    EXPECT_TRUE(t.adjustments.penalties(1, fined2).empty());

    // Final scores of table 2 for the points cell clicked last: a wrong sum is refused with a
    // message, then the right one fills the four cells in seat order.
    click(w.pointsCell(1, 4));
    QString refusal;
    onNext<FinalScoresDialog>([&refusal](FinalScoresDialog* d) {
        const QString scores[] = {QStringLiteral("42300"), QStringLiteral("31200"),
                                  QStringLiteral("28500"), QStringLiteral("18100")};
        for (int s = 0; s < 4; ++s)
            uitest::replaceText(d->scoreEdit(s), scores[s]);
        EXPECT_TRUE(d->resultLabel(0)->text().isEmpty());
        onNext<QMessageBox>([&refusal, d](QMessageBox* box) {
            refusal = box->text();
            box->done(QMessageBox::Ok);
            QTimer::singleShot(0, d, [d] {
                EXPECT_TRUE(d->isVisible());
                uitest::replaceText(d->scoreEdit(3), QStringLiteral("18000"));
                EXPECT_EQ(d->resultLabel(0)->text(), QStringLiteral("27300"));
                uitest::dialogShot(d, "dialog_final_scores.png");
                pressOk(d);
            });
        });
        pressOk(d);
    });
    commands.finalScoresAction()->trigger();
    EXPECT_EQ(refusal, QStringLiteral(u"Сумма очков стола 120100 не равна 120000. Проверьте очки "
                                      u"игроков."));
    const QString expected[] = {QStringLiteral("27300"), QStringLiteral("6200"),
                                QStringLiteral("-6500"), QStringLiteral("-27000")};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(w.pointsCell(1, 4 + s)->text(), expected[s]);
        EXPECT_EQ(t.pointsAt(1, slotAt(t, 1, 4 + s)), expected[s].toInt());
    }
    EXPECT_FALSE(mwtest::isRed(w.pointsCell(1, 4)));
}

// Riichi sticks left on the table: a sum short of 120000 by whole thousands is taken and the rest
// goes to the first place, which the dialog says; a short sum of any other kind is still refused.
TEST(AdjustmentCommands, F4TakesSticksLeftOnTheTableForTheWinner) {
    struct Case {
        const char* what;
        std::array<const char*, 4> scores;
        std::optional<std::array<int, 4>> results; // none: refused
        const char16_t* status;
    };
    const Case cases[] = {
        {"exact sum",
         {"42300", "31200", "28500", "18000"},
         std::array{27300, 6200, -6500, -27000},
         u"Сумма очков верна."},
        {"two sticks to the winner",
         {"18000", "41300", "28500", "30200"},
         std::array{-27000, 28300, -6500, 5200},
         u"На столе осталось 2000 (палочки риичи): их получает первое место."},
        {"short by a part of a thousand",
         {"42300", "31200", "28500", "17500"},
         std::nullopt,
         u"Сумма очков 119500, а должна быть 120000 (или меньше на целые тысячи)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h(16, 3);
        MainWindow& w = *h.w;
        Tournament& t = *h.t;
        mwtest::playRounds(t, 2, 5);
        w.refreshFromTournament();
        const QString before = w.pointsCell(1, 4)->text();
        click(w.pointsCell(1, 4)); // table 2
        QString rule, status;
        int refusals = 0;
        onNext<FinalScoresDialog>([&](FinalScoresDialog* d) {
            for (int s = 0; s < 4; ++s)
                uitest::replaceText(d->scoreEdit(s), QString::fromLatin1(c.scores[s]));
            rule = d->findChild<QLabel*>(QStringLiteral("sticksRule"))->text();
            status = d->findChild<QLabel*>(QStringLiteral("sumStatus"))->text();
            if (c.results && c.results->at(1) == 28300)
                uitest::dialogShot(d, "dialog_final_scores_sticks.png");
            if (!c.results)
                onNext<QMessageBox>([&refusals, d](QMessageBox* box) {
                    ++refusals;
                    box->done(QMessageBox::Ok);
                    QTimer::singleShot(0, d, [d] { d->reject(); });
                });
            pressOk(d);
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        EXPECT_EQ(rule, QStringLiteral(u"Если сумма меньше 120000 на 1000, 2000... (палочки риичи "
                                       u"остались на столе), эти очки получает первое место, как "
                                       u"в правилах EMA."));
        EXPECT_EQ(status, QString::fromUtf16(c.status));
        if (!c.results) {
            EXPECT_EQ(refusals, 1);
            EXPECT_EQ(w.pointsCell(1, 4)->text(), before);
            continue;
        }
        for (int s = 0; s < 4; ++s)
            EXPECT_EQ(w.pointsCell(1, 4 + s)->text(), QString::number((*c.results)[s]))
                << "seat " << s + 1;
        EXPECT_FALSE(mwtest::isRed(w.pointsCell(1, 4)));
    }
}

// F4 on the real window opens the final-score entry for the table of the cell entered last, and
// its results land in that table.
TEST(AdjustmentCommands, F4OpensTheFinalScoresOfTheTableEnteredLast) {
    Harness h(16, 3);
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    mwtest::playRounds(t, 2, 5);
    w.refreshFromTournament();
    click(w.pointsCell(1, 9)); // table 3
    QStringList names;
    onNext<FinalScoresDialog>([&names](FinalScoresDialog* d) {
        for (const QLabel* l : d->findChildren<QLabel*>())
            names << l->text();
        const char* scores[] = {"25000", "25000", "35000", "35000"};
        for (int s = 0; s < 4; ++s)
            uitest::replaceText(d->scoreEdit(s), QString::fromLatin1(scores[s]));
        pressOk(d);
    });
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key_F4);
    QStringList table, shown;
    for (int s = 0; s < 4; ++s)
        table << fromRecord(t.names[slotAt(t, 1, 8 + s)]);
    for (const QString& text : names)
        if (table.contains(text))
            shown << text;
    EXPECT_EQ(shown, table);
    // Tied scores share their uma: (15000 + 5000) / 2 for the two above, (-5000 - 15000) / 2 below.
    const QString results[] = {QStringLiteral("-15000"), QStringLiteral("-15000"),
                               QStringLiteral("15000"), QStringLiteral("15000")};
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(w.pointsCell(1, 8 + s)->text(), results[s]) << "seat " << s + 1;
}

// F4 and the penalty change the table and the player they name: text typed at another table
// stays with its red mark, a cell emptied there stays empty, every other cell keeps its text.
TEST(AdjustmentCommands, DialogsTouchOnlyTheirTable) {
    Harness h(16, 3);
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    mwtest::playRounds(t, 2, 7);
    w.refreshFromTournament();
    mwtest::typeAndLeave(w.pointsCell(1, 1), QStringLiteral(u"abc"));
    mwtest::typeAndLeave(w.pointsCell(1, 5), QString());
    ASSERT_TRUE(mwtest::isRed(w.pointsCell(1, 1)));
    auto texts = [&w] {
        QStringList all;
        for (int q = 0; q < 16; ++q)
            all << w.pointsCell(1, q)->text();
        return all;
    };
    const QStringList before = texts();

    click(w.pointsCell(1, 9)); // table 3
    onNext<FinalScoresDialog>([](FinalScoresDialog* d) {
        const char* scores[] = {"40000", "30000", "30000", "20000"};
        for (int s = 0; s < 4; ++s)
            uitest::replaceText(d->scoreEdit(s), QString::fromLatin1(scores[s]));
        pressOk(d);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
    click(w.seatCell(1, 13)); // a penalty for the player at table 4
    onNext<PenaltyDialog>([](PenaltyDialog* d) { pressOk(d); });
    w.adjustmentCommands()->penaltyAction()->trigger();
    ASSERT_EQ(t.adjustments.penalties(1, slotAt(t, 1, 13)).size(), 1u);

    const QStringList after = texts();
    for (int q = 0; q < 16; ++q)
        if (q / 4 != 2)
            EXPECT_EQ(after[q], before[q]) << "position " << q;
    EXPECT_NE(after.mid(8, 4), before.mid(8, 4)) << "the final scores landed";
    EXPECT_TRUE(mwtest::isRed(w.pointsCell(1, 1)));
    EXPECT_EQ(t.entryAt(1, slotAt(t, 1, 1)), PointsEntry::Text);
    EXPECT_EQ(t.entryAt(1, slotAt(t, 1, 5)), PointsEntry::Untyped);
    EXPECT_FALSE(w.control(ids::kSeatButton)->isEnabled()) << "table 2 is not typed to its end";
}

// A misspelt name corrected after the first round: everywhere the name shows, and nothing else.
TEST(AdjustmentCommands, RenameAPlayerAfterTheFirstRound) {
    Harness h(16, 3);
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    mwtest::playRounds(t, 2, 3);
    w.refreshFromTournament();
    const Tournament before = t;
    const int player = slotAt(t, 1, 6);
    QAction* item = w.menuAction(ids::kRenamePlayerCommand);
    ASSERT_TRUE(item->isEnabled());
    onNext<RenamePlayerDialog>([&](RenamePlayerDialog* d) {
        d->playerBox()->setCurrentIndex(t.playerNumber[player]); // the list is by start number
        EXPECT_EQ(d->nameEdit()->text(), fromRecord(t.names[player]));
        uitest::replaceText(d->nameEdit(), QStringLiteral(u"Сидорова А."));
        pressOk(d);
    });
    mwtest::chooseMenu(w, item);
    EXPECT_EQ(t.names[player], utf8ToCp1251("Сидорова А."));
    EXPECT_TRUE(w.seatCell(1, 6)->text().contains(QStringLiteral(u"Сидорова А.")));
    Tournament expected = before;
    expected.names[player] = t.names[player];
    EXPECT_EQ(uitest::csvText(t), uitest::csvText(expected)) << "only the name changed";
    EXPECT_EQ(uitest::fileBytes(h.autosaveFile(2)).toStdString(), uitest::csvText(t));
}

// "Экспорт результатов для рейтинга..." from the window's menu writes a file the portal's own
// rules read: every player in standings order, the substituted player with the games he played.
TEST(AdjustmentCommands, RatingExportFromTheMenuIsReadByThePortal) {
    Harness h(16, 3);
    MainWindow& w = *h.w;
    Tournament& t = *h.t;
    mwtest::playRounds(t, 3, 9);
    t.adjustments.setSubstitute(2, 6, Substitute{"", -30000});
    t.adjustments.addPenalty(1, 7, Penalty{-20000, "chombo"});
    w.refreshFromTournament();
    const QString path = h.dir.filePath(QStringLiteral(u"рейтинг.csv"));
    setFileDialogHook([&path](bool save) { return save ? path : QString(); });
    {
        uitest::MessageBoxCatcher boxes;
        mwtest::chooseMenu(
            w, mwtest::menuItem(w, QStringLiteral(u"&Экспорт результатов для рейтинга...")));
        setFileDialogHook({});
        // Three rounds are one too few for the portal; the organiser writes the file even so.
        ASSERT_EQ(boxes.seen.size(), 2u);
        EXPECT_EQ(boxes.seen[0].text, QStringLiteral(u"Рейтинговый портал не примет этот турнир:\n"
                                                     u"Сыграно туров 3, нужно не меньше 4."));
        EXPECT_EQ(boxes.seen[1].text, QStringLiteral(u"Результаты записаны: 16 игроков."));
    }
    QProcess portal;
    portal.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(test_support::kRatingPortalRules), path});
    if (!portal.waitForStarted())
        GTEST_SKIP() << "python3 is not available";
    ASSERT_TRUE(portal.waitForFinished(30000));
    ASSERT_EQ(portal.exitCode(), 0) << portal.readAllStandardError().toStdString();
    const QStringList rows =
        QString::fromUtf8(portal.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    // In standings order; the substituted player counts the two games he played himself.
    std::vector<int> order;
    std::vector<std::string> places;
    ASSERT_FALSE(rankPlayers(t, 3, order, places));
    ASSERT_EQ(rows.size(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(rows[i].section(u'|', 1), QStringLiteral("%1|%2.0|%3")
                                                .arg(fromRecord(t.names[order[i]]))
                                                .arg(t.runningTotal(order[i], 3))
                                                .arg(order[i] == 6 ? 2 : 3));
}

} // namespace
} // namespace quelna
