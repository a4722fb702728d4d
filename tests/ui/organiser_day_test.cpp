// A day of the organiser beside the plain round-by-round work, with real events: the question
// before seating over wrong results, correcting a past round, typed points in the autosave, and
// resuming after a killed run. The slides on a second screen have their own process below.
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "core/text.h"
#include "files/file_commands.h"
#include "files/resume_point.h"
#include "gui/core_path.h"
#include "publish/server/page_server.h"
#include "slides/slide_show.h"
#include "support/http_client.h"
#include "tests/ui/main_window_support.h"
#include "ui/correct_round_dialog.h"
#include "ui/entry.h"
#include "ui/parameters_dialog.h"
#include "ui/resume_offer.h"

namespace quelna {
namespace {

using mwtest::click;
using mwtest::Harness;
using mwtest::isRed;
using mwtest::typeAndLeave;
using uitest::fileBytes;

struct SeenQuestion {
    QString title, text, defaultButton;
    QMessageBox::Icon icon;
};

// Answers every message box while it lives by the button with the given text, noting each.
class Answer {
  public:
    // shot: the picture taken of the first box when $QUELNA_SCREENSHOTS asks for pictures
    std::function<void()> afterClick; // runs once the button was clicked
    explicit Answer(QString button, const char* shot = nullptr)
        : button_(std::move(button)), shot_(shot) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            seen.push_back({box->windowTitle(), box->text(),
                            box->defaultButton() ? box->defaultButton()->text() : QString(),
                            box->icon()});
            if (shot_ && seen.size() == 1)
                uitest::dialogShot(box, shot_);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == button_) {
                    // With the timer as context: an Answer gone by then calls nothing.
                    QTimer::singleShot(0, &timer_, [this] {
                        if (afterClick)
                            afterClick();
                    });
                    return click(b);
                }
            box->close();
        });
        timer_.start(10);
    }
    std::vector<SeenQuestion> seen;

  private:
    QString button_;
    const char* shot_;
    QTimer timer_;
};

QString pointsOf(const Tournament& t, int round, int table, int seat) {
    return QString::number(t.pointsAt(round, t.playerAt(round, table, seat)));
}

TEST(SeatOverErrors, AskedFirstNamingTheTablesAndSeatedOnlyAfterYes) {
    Harness h(16, 4);
    mwtest::playRounds(*h.t, 1, 3);
    h.w->refreshFromTournament();
    QLineEdit* second = h.w->pointsCell(0, 1);
    typeAndLeave(second, QStringLiteral(u"abc"));
    // table 3 sums to one too many
    QLineEdit* ninth = h.w->pointsCell(0, 8);
    typeAndLeave(ninth, QString::number(ninth->text().toInt() + 1));
    const QString question =
        QStringLiteral(u"В туре 1 есть ошибки в результатах: стол 1 (не число в ячейке), стол 3 "
                       u"(сумма не равна нулю). Рассадить следующий тур всё равно?");
    {
        Answer no(QStringLiteral(u"Нет"), "dialog_seat_over_errors.png");
        mwtest::seat(h);
        ASSERT_EQ(no.seen.size(), 1u);
        EXPECT_EQ(no.seen[0].title, QStringLiteral(u"Предупреждение"));
        EXPECT_EQ(no.seen[0].text, question);
        EXPECT_EQ(no.seen[0].icon, QMessageBox::Question);
        EXPECT_EQ(no.seen[0].defaultButton, QStringLiteral(u"Нет"));
    }
    EXPECT_EQ(h.t->currentRound, 1) << "nothing seated after Нет";
    EXPECT_EQ(second->text(), QStringLiteral(u"abc"));
    {
        // "Далее" of the seating only after the question, which the watcher would answer with Ok
        std::unique_ptr<mwtest::ModalWatcher> next;
        Answer yes(QStringLiteral(u"Да"));
        yes.afterClick = [&] { next = std::make_unique<mwtest::ModalWatcher>(true); };
        mwtest::seat(h);
        EXPECT_EQ(yes.seen.size(), 1u);
    }
    EXPECT_EQ(h.t->currentRound, 2);
    EXPECT_EQ(h.t->pointsAt(0, h.t->playerAt(0, 0, 1)), 0) << "stored as the text reads";
}

// Settings whose players' page is on at a free port, for a window made after them.
std::string pageOnAFreePort(const QTemporaryDir& dir, int& port) {
    SnapshotSlot slot;
    PageServer probe(slot);
    EXPECT_EQ(probe.start(0), ServerStart::Started);
    port = probe.port();
    probe.stop();
    const std::string ini = QDir(dir.path()).filePath(QStringLiteral(u"quelna.ini")).toStdString();
    uitest::writeFile(
        QString::fromStdString(ini),
        QStringLiteral("[PLAYERPAGE]\r\nENABLED=1\r\nPORT=%1\r\n").arg(port).toLatin1());
    return ini;
}

TEST(CorrectRound, APastRoundEditedUntilDoneAndEveryViewFollows) {
    uitest::SettingsGuard guard;
    QTemporaryDir dir;
    settings() = Settings{};
    int port = 0;
    settings().settingsPath = pageOnAFreePort(dir, port);
    Tournament t(16, 3);
    mwtest::playRounds(t, 2, 11);
    MainWindowEnvironment env;
    env.workArea = mwtest::kLargeArea;
    env.appDir = dir.path();
    MainWindow w(t, false, env);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.refreshFromTournament();
    EXPECT_TRUE(w.menuAction(ids::kCorrectRoundCommand)->isEnabled());

    // Round 1 widened; the context menu of a points cell, then the dialog preselects round 1.
    click(qobject_cast<QPushButton*>(w.control(ids::kRoundButton)));
    QLineEdit* cell = w.pointsCell(0, 0);
    EXPECT_FALSE(cell->isEnabled());
    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QTimer::singleShot(50, [&] {
            auto* d = qobject_cast<CorrectRoundDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            dialogSeen = true;
            EXPECT_EQ(d->roundBox()->value(), 1);
            uitest::dialogShot(d, "dialog_correct_round.png");
            click(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
        });
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions()[0]).center());
    });
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(3, 3),
                                cell->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(cell, &menuEvent);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.correctingRound() == 0; }, 5000));
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(w.correctionBanner()->isVisible());
    EXPECT_TRUE(cell->isEnabled());

    // +100 for the player at table 1 seat 0; the table is red until the next seat gives 100 back.
    const int player = t.playerAt(0, 0, 0);
    const int before = t.runningTotal(player, 2);
    const int beforeRound2 = t.runningTotal(player, 1); // what round 2's seat cell shows
    typeAndLeave(cell, QString::number(cell->text().toInt() + 100));
    EXPECT_TRUE(isRed(cell));
    EXPECT_EQ(t.runningTotal(player, 2), before + 100);
    const int table = t.tableAt(1, player), seat = t.seatAt(1, player);
    EXPECT_TRUE(w.seatCell(1, 4 * table + seat)
                    ->text()
                    .endsWith(QStringLiteral(u"(%1)").arg(beforeRound2 + 100)));
    SlideShow standings(&w, t, SlideKind::Standings, QRect(0, 0, 1600, 900), currentSlideOptions());
    QStringList shown;
    for (QLabel* l : standings.contentLabels())
        shown << l->text();
    EXPECT_TRUE(shown.contains(QString::number(before + 100)));
    // The phones count a round only while every table of it adds up: not now, from round 1 on.
    test_support::HttpClient client(port);
    auto page = client.get("/standings.html");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("Туров с полными результатами: 0<"), std::string::npos);

    mwtest::snapshot(&w, "main_correcting_round.png");
    QLineEdit* next = w.pointsCell(0, 1);
    typeAndLeave(next, QString::number(next->text().toInt() - 100));
    EXPECT_FALSE(isRed(cell));
    page = client.get("/standings.html");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find(">" + std::to_string(before + 100) + "<"), std::string::npos);
    typeAndLeave(next, QString::number(next->text().toInt() + 7));
    // "Готово" over a red table asks first; "Нет" goes on correcting, "Да" ends it.
    QPushButton* done = w.correctionBanner()->findChild<QPushButton*>();
    const QString question =
        QStringLiteral(u"В туре 1 есть ошибки в результатах: стол 1 (сумма не равна нулю). "
                       u"Закончить исправление всё равно?");
    {
        Answer no(QStringLiteral(u"Нет"));
        click(done);
        ASSERT_EQ(no.seen.size(), 1u);
        EXPECT_EQ(no.seen[0].text, question);
    }
    EXPECT_EQ(w.correctingRound(), 0);
    // A cell emptied in the correction leaves its table not typed, and the question says so.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    typeAndLeave(w.pointsCell(0, 4), QString());
    {
        Answer yes(QStringLiteral(u"Да"));
        click(done);
        ASSERT_EQ(yes.seen.size(), 1u);
        EXPECT_EQ(yes.seen[0].text,
                  QStringLiteral(u"В туре 1 есть ошибки в результатах: стол 1 (сумма не равна "
                                 u"нулю).\nстол 2: результаты не введены\nЗакончить исправление "
                                 u"всё равно?"))
            << yes.seen[0].text.toStdString();
    }
    EXPECT_EQ(w.correctingRound(), -1);
    EXPECT_EQ(w.shownRound(), 2) << "back to the round being played";
    EXPECT_FALSE(w.correctionBanner()->isVisible());
    EXPECT_FALSE(cell->isEnabled());
    EXPECT_TRUE(isRed(cell)) << "a red table of a past round stays marked";
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral(u"autosave_tour2.csv"))).toStdString(),
              uitest::csvText(t));

    // A load marks the same table and says which one.
    setFileDialogHook([&](bool) { return dir.filePath(QStringLiteral(u"autosave_tour2.csv")); });
    {
        mwtest::ModalWatcher boxes;
        mwtest::chooseMenu(w, ids::kLoadCommand);
        ASSERT_EQ(boxes.messages.size(), 1);
        EXPECT_EQ(boxes.messages[0], QStringLiteral(u"Тур 1: стол 1 — сумма не равна нулю.\n"
                                                    u"Тур 1: стол 2 — результаты не введены."))
            << boxes.messages[0].toStdString();
    }
    setFileDialogHook({});
    EXPECT_TRUE(isRed(w.pointsCell(0, 0)));
    EXPECT_TRUE(w.pointsCell(0, 4)->text().isEmpty());
    EXPECT_FALSE(isRed(w.pointsCell(0, 4)));
}

TEST(TypedAutosave, TypedPointsReachTheFileAndAnotherTournamentsFileIsKept) {
    Harness h(16, 4);
    // last month's event left a bigger tournament's autosave here
    Tournament older(24, 4);
    mwtest::playRounds(older, 1, 8);
    const QString file = h.autosaveFile(1);
    ASSERT_TRUE(saveTournamentFile(older, corePath(file)));
    mwtest::playRounds(*h.t, 1, 4);
    h.w->refreshFromTournament();
    typeAndLeave(h.w->pointsCell(0, 5), QStringLiteral(u"12345"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fileBytes(file).contains("12345"); }, 5000));
    EXPECT_EQ(fileBytes(file).toStdString(), uitest::csvText(*h.t));
    const QStringList kept =
        QDir(h.dir.path()).entryList({QStringLiteral(u"autosave_tour1 (*).csv")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(fileBytes(h.dir.filePath(kept[0])).toStdString(), tournamentCsvText(older));
}

// The run that the tests below kill: it opens a tournament from the parameters dialog, types the
// cells QUELNA_RESUME_CHILD_TYPING lists ("position=text;..." of round 1; one 500 without it),
// then waits.
TEST(ResumeChild, DISABLED_OpensTypesAndWaits) {
    const QString ini = qEnvironmentVariable("QUELNA_RESUME_CHILD_INI");
    ASSERT_FALSE(ini.isEmpty());
    const QString start = QFileInfo(ini).absolutePath() + QStringLiteral(u"/start.csv");
    setFileDialogHook([start](bool) { return start; });
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* d = qobject_cast<ParametersDialog*>(modal))
            click(qobject_cast<QPushButton*>(d->control(ParametersDialog::OpenButton)));
        auto* w = qobject_cast<MainWindow*>(modal);
        if (w && w->pointsCell(0, 0)->isEnabled() && w->pointsCell(0, 0)->text().isEmpty() &&
            QTest::qWaitForWindowActive(w)) {
            script.stop();
            QString typing = qEnvironmentVariable("QUELNA_RESUME_CHILD_TYPING");
            if (typing.isEmpty())
                typing = QStringLiteral(u"0=500");
            for (const QString& item : typing.split(QLatin1Char(';'))) {
                const qsizetype eq = item.indexOf(QLatin1Char('='));
                typeAndLeave(w->pointsCell(0, item.left(eq).toInt()), item.mid(eq + 1));
            }
        }
    });
    script.start(50);
    (void)runEntry(*qApp, ini);
}

TEST(Resume, AfterAKilledRunTheNextStartOffersTheNewestAutosave) {
    uitest::SettingsGuard guard;
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral(u"quelna.ini"));
    Tournament seated(12, 3);
    mwtest::playRounds(seated, 1, 2);
    for (int p = 0; p < 12; ++p)
        seated.pointsAt(0, p) = 0;
    ASSERT_TRUE(saveTournamentFile(seated, corePath(dir.filePath(QStringLiteral(u"start.csv")))));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral(u"QUELNA_RESUME_CHILD_INI"), ini);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral(u"--gtest_also_run_disabled_tests"),
                 QStringLiteral(u"--gtest_filter=ResumeChild.DISABLED_OpensTypesAndWaits")});
    const QString autosave = dir.filePath(QStringLiteral(u"autosave_tour1.csv"));
    const bool typed = QTest::qWaitFor([&] { return fileBytes(autosave).contains(";500"); }, 60000);
    child.kill(); // SIGKILL: no close, no exit handling
    ASSERT_TRUE(child.waitForFinished(10000));
    ASSERT_TRUE(typed) << child.readAll().toStdString();
    EXPECT_TRUE(wasInterrupted(corePath(dir.path())));

    // The next start asks first; "Да" opens the autosave with its own size, typed result and all.
    Answer yes(QStringLiteral(u"Да"), "dialog_resume.png");
    QString cellText;
    bool twelvePlayers = false;
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        auto* w = qobject_cast<MainWindow*>(QApplication::activeModalWidget());
        if (!w || !w->pointsCell(0, 0)->isEnabled())
            return;
        script.stop();
        cellText = w->pointsCell(0, 0)->text();
        twelvePlayers = w->pointsCell(0, 11) && !w->pointsCell(0, 12);
        QTimer::singleShot(0, w, [w] { w->close(); });
    });
    script.start(50);
    EXPECT_EQ(runEntry(*qApp, ini), 0);
    // then the load's warning: 500 alone, and no table is typed to its end
    ASSERT_EQ(yes.seen.size(), 2u);
    EXPECT_EQ(yes.seen[1].text, QStringLiteral(u"Тур 1: столы 1, 2, 3 — результаты не введены."));
    EXPECT_TRUE(yes.seen[0].text.startsWith(
        QStringLiteral(u"Программа была закрыта аварийно. Продолжить турнир «autosave_tour1.csv» с "
                       u"тура 1 (сохранён ")))
        << yes.seen[0].text.toStdString();
    EXPECT_EQ(cellText, QStringLiteral(u"500"));
    EXPECT_TRUE(twelvePlayers) << "the size comes from the file";
    EXPECT_FALSE(wasInterrupted(corePath(dir.path()))) << "closed through the window this time";
}

// Killed while typing a round: one table not typed at all, "abc" at another. The next start
// brings both back as they were, and the load names both.
TEST(Resume, UntypedTableAndTypedTextSurviveAKill) {
    uitest::SettingsGuard guard;
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral(u"quelna.ini"));
    Tournament seated(16, 3);
    mwtest::playRounds(seated, 1, 5);
    for (int p = 0; p < 16; ++p)
        seated.pointsAt(0, p) = 0;
    ASSERT_TRUE(saveTournamentFile(seated, corePath(dir.filePath(QStringLiteral(u"start.csv")))));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral(u"QUELNA_RESUME_CHILD_INI"), ini);
    // tables 1 and 4 sum to zero, table 2 has "abc", table 3 is left as it is
    env.insert(QStringLiteral(u"QUELNA_RESUME_CHILD_TYPING"),
               QStringLiteral(u"0=300;1=100;2=-100;3=-300;4=abc;5=100;6=-100;7=0;"
                              u"12=1;13=-1;14=2;15=-2"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral(u"--gtest_also_run_disabled_tests"),
                 QStringLiteral(u"--gtest_filter=ResumeChild.DISABLED_OpensTypesAndWaits")});
    const QString autosave = dir.filePath(QStringLiteral(u"autosave_tour1.csv"));
    const QByteArray untypedLine = QByteArray::fromStdString(utf8ToCp1251("НЕ_ВВЕДЕНО;1;"));
    const bool typed = QTest::qWaitFor(
        [&] {
            const QByteArray bytes = fileBytes(autosave);
            return bytes.contains("abc") && bytes.count(untypedLine) == 4;
        },
        60000);
    child.kill(); // SIGKILL in the middle of the round
    ASSERT_TRUE(child.waitForFinished(10000));
    ASSERT_TRUE(typed) << child.readAll().toStdString();

    Answer yes(QStringLiteral(u"Да"));
    QStringList texts;
    std::vector<bool> red;
    bool seatEnabled = true;
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        auto* w = qobject_cast<MainWindow*>(QApplication::activeModalWidget());
        if (!w || !w->pointsCell(0, 0)->isEnabled())
            return;
        script.stop();
        for (int q = 0; q < 16; ++q) {
            texts << w->pointsCell(0, q)->text();
            red.push_back(isRed(w->pointsCell(0, q)));
        }
        seatEnabled = w->control(ids::kSeatButton)->isEnabled();
        QTimer::singleShot(0, w, [w] { w->close(); });
    });
    script.start(50);
    EXPECT_EQ(runEntry(*qApp, ini), 0);
    ASSERT_EQ(yes.seen.size(), 2u);
    EXPECT_EQ(yes.seen[1].text, QStringLiteral(u"Тур 1: стол 2 — не число в ячейке.\n"
                                               u"Тур 1: стол 3 — результаты не введены."));
    ASSERT_EQ(texts.size(), 16);
    EXPECT_EQ(texts[4], QStringLiteral(u"abc"));
    EXPECT_EQ(texts[5], QStringLiteral(u"100"));
    for (int q = 8; q < 12; ++q)
        EXPECT_EQ(texts[q], QString()) << "position " << q << " came back typed";
    EXPECT_EQ(texts[0], QStringLiteral(u"300"));
    EXPECT_EQ(red, std::vector<bool>({false, false, false, false, true, true, true, true, false,
                                      false, false, false, false, false, false, false}));
    EXPECT_FALSE(seatEnabled) << "a table not typed yet holds the next seating";
}

} // namespace
} // namespace quelna
