// The progress dialog driving the real seating engine on a worker thread, with real clicks.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/settings.h"
#include "core/tournament.h"
#include "seating/ui/progress_dialog.h"
#include "support/wait_for.h"

namespace quelna {
namespace {

constexpr int kSeated = static_cast<int>(SeatingResult::Seated);
constexpr int kCancelled = static_cast<int>(SeatingResult::Cancelled);
constexpr int kFailed = static_cast<int>(SeatingResult::Failed);

QString qs(const char16_t* s) {
    return QString::fromUtf16(s);
}

using test_support::waitFor;

// Round 0 of a tournament whose last teamSize players form one team. With 200 players and a team
// of 50 a seating exists (one team member per table), but the exhaustive search fills the top
// tables with the other players first and needs astronomically long to back out of that; the
// random search finds one quickly. A team of 51 cannot be seated without a repeat meeting at all.
Tournament teamTournament(int players, int teamSize) {
    Tournament t(players, 4);
    const int teamNo = t.teams.findOrAdd("Team");
    for (int p = 0; p < players; ++p) {
        t.setName(p, "Player " + std::to_string(p + 1));
        t.playerNumber[p] = p;
        if (p >= players - teamSize)
            t.team[p] = teamNo;
    }
    t.rebuildMeetings();
    return t;
}

bool noRepeatMeeting(const Tournament& t, int round) {
    const MeetingMatrix before = t.meetingsBefore(round);
    for (int a = 0; a < t.playerCount; ++a)
        for (int b = a + 1; b < t.playerCount; ++b)
            if (t.tableAt(round, a) >= 0 && t.tableAt(round, a) == t.tableAt(round, b) &&
                before.at(a, b) != 0)
                return false;
    return true;
}

bool nobodySeated(const Tournament& t, int round) {
    for (int p = 0; p < t.playerCount; ++p)
        if (t.tableAt(round, p) != -1)
            return false;
    return true;
}

// Saves a picture of the dialog when QUELNA_SCREENSHOTS names a directory. A grab has no title
// bar, so the window title is drawn above the dialog as a caption.
void shoot(ProgressDialog& d, const char* name) {
    const QString dir = qEnvironmentVariable("QUELNA_SCREENSHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    const QPixmap body = d.grab();
    const int captionHeight = QFontMetrics(d.font()).height() + 8;
    QPixmap picture(body.width(), body.height() + captionHeight);
    picture.fill(Qt::lightGray);
    QPainter painter(&picture);
    painter.drawText(QRect(6, 0, body.width() - 6, captionHeight), Qt::AlignVCenter,
                     d.windowTitle());
    painter.drawPixmap(0, captionHeight, body);
    painter.end();
    picture.save(dir + QStringLiteral(u"/progress_") + QString::fromUtf8(name) +
                 QStringLiteral(u".png"));
}

class ProgressDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = settings();
        settings().fixedTables = 0;
        settings().overlapTables = 0;
        settings().exhaustiveTimeout = 1;
        settings().randomTimeout = 1;
        settings().planAhead = true;
    }
    void TearDown() override { settings() = saved_; }

    static void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    static bool waitTitle(ProgressDialog& d, const QString& title) {
        return waitFor([&] { return d.windowTitle() == title; });
    }
    static bool waitDone(ProgressDialog& d) {
        return waitFor([&] { return d.workerFinished(); });
    }
    // Presses the button and gives the dialog's result once the engine has unwound.
    static int finishWith(ProgressDialog& d, QPushButton* b) {
        click(b);
        return waitDone(d) ? d.result() : -1;
    }
    static void ticks(ProgressDialog& d, int n) {
        for (int i = 0; i < n; ++i)
            d.timerTick();
    }

  private:
    Settings saved_;
};

TEST_F(ProgressDialogTest, OpensInTheExhaustivePhaseAndSeatsAnEasyRound) {
    Tournament t = teamTournament(16, 0);
    ProgressDialog d(t);
    EXPECT_EQ(d.windowTitle(), qs(u"Рассадка игроков полным перебором..."));
    EXPECT_EQ(d.variantsLabel()->text(), qs(u"Тыс. вариантов:"));
    EXPECT_EQ(d.tablesLabel()->text(), qs(u"Заполнено столов:"));
    EXPECT_EQ(d.variantsField()->text(), qs(u"0"));
    EXPECT_EQ(d.tablesField()->text(), qs(u"0"));
    EXPECT_TRUE(d.variantsField()->isReadOnly());
    EXPECT_TRUE(d.tablesField()->isReadOnly());
    EXPECT_EQ(d.variantsField()->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(d.cancelButton()->text(), qs(u"Отмена"));
    EXPECT_EQ(d.nextButton()->text(), qs(u"Далее"));
    EXPECT_EQ(d.nextButton()->toolTip(),
              qs(u"Перейти к поиску рассадки алгоритмом случайного подбора"));
    EXPECT_TRUE(d.nextButton()->isEnabled());

    auto* planLabel = d.findChild<QLabel*>(QStringLiteral("planLabel"));
    ASSERT_NE(planLabel, nullptr);
    EXPECT_FALSE(planLabel->isVisibleTo(&d));

    // Nothing to wait for: exec() returns when the worker posts its result.
    EXPECT_EQ(d.exec(), kSeated);
    EXPECT_TRUE(d.workerFinished());
    EXPECT_FALSE(d.timerRunning());
    EXPECT_TRUE(t.isRoundComplete(0));
    // Three rounds follow: the seating was checked against them, in a line of its own.
    EXPECT_TRUE(planLabel->isVisibleTo(&d));
    EXPECT_EQ(planLabel->text(), qs(u"Проверка следующих туров..."));
}

TEST_F(ProgressDialogTest, OneMinuteLimitFillsTheBarAndSwitchesOnTheSixtyFirstTick) {
    // No clean seating exists, so the random search stays in its first phase until cancelled.
    Tournament t = teamTournament(200, 51);
    ProgressDialog d(t);
    EXPECT_EQ(d.progressBar()->minimum(), 0);
    EXPECT_EQ(d.progressBar()->maximum(), 61);
    d.open();
    ASSERT_TRUE(d.timerRunning());
    ASSERT_EQ(d.tickLimit(), 60);
    // The worker starts the phase's clock as its search begins (late on a slow start, as under
    // Wine); tick only once it reports tables.
    ASSERT_TRUE(waitFor([&] { return d.tablesField()->text().toInt() > 0; }));
    // The engine keeps searching while the ticks are delivered; no events run in between, so
    // the real timer cannot add a tick of its own.
    for (int i = 1; i <= 60; ++i) {
        d.timerTick();
        ASSERT_EQ(d.progressBar()->value(), i);
        ASSERT_FALSE(d.stopRequested());
    }
    EXPECT_EQ(d.tickCount(), 60);
    EXPECT_FALSE(d.switchRequested());
    // The 61st tick raises the switch (the engine clears the flags as it takes it up).
    d.timerTick();
    EXPECT_FALSE(d.nextButton()->isEnabled());
    EXPECT_EQ(d.tickCount(), 61);
    d.timerTick(); // past the limit: nothing more
    EXPECT_EQ(d.tickCount(), 61);

    // The engine moves on to the random search, which gets its own minute.
    ASSERT_TRUE(waitTitle(d, ProgressDialog::randomTitle()));
    EXPECT_FALSE(d.nextButton()->isEnabled());
    EXPECT_EQ(d.tickLimit(), 60);
    EXPECT_EQ(d.progressBar()->maximum(), 61);
    EXPECT_TRUE(d.timerRunning());
    EXPECT_FALSE(d.stopRequested());

    EXPECT_EQ(finishWith(d, d.cancelButton()), kCancelled);
}

TEST_F(ProgressDialogTest, ExhaustiveSearchShowsItsProgress) {
    Tournament t = teamTournament(200, 50);
    ProgressDialog d(t);
    d.open();
    // Dead ends and cut subtrees count in thousands; the deepest dead end of the fast search
    // fills 34 of the 37 tables of other players.
    ASSERT_TRUE(waitFor([&] { return d.variantsField()->text().toInt() >= 2; }));
    EXPECT_GE(d.tablesField()->text().toInt(), 34);
    EXPECT_LT(d.tablesField()->text().toInt(), 50);
    EXPECT_EQ(d.windowTitle(), ProgressDialog::exhaustiveTitle());
    ticks(d, 15);
    EXPECT_EQ(d.progressBar()->value(), 15);
    EXPECT_FALSE(d.stopRequested());
    shoot(d, "exhaustive");
    EXPECT_EQ(finishWith(d, d.cancelButton()), kCancelled);
    EXPECT_TRUE(nobodySeated(t, 0));
}

TEST_F(ProgressDialogTest, NextInTheImprovementPhaseTakesTheBestSeating) {
    Tournament t = teamTournament(200, 50);
    ProgressDialog d(t);
    d.open();
    click(d.nextButton());
    EXPECT_FALSE(d.nextButton()->isEnabled());
    EXPECT_FALSE(d.timerRunning());
    ASSERT_TRUE(waitTitle(d, ProgressDialog::improveTitle()));
    EXPECT_TRUE(d.nextButton()->isEnabled());
    EXPECT_EQ(d.tablesLabel()->text(), qs(u"Фактор рассадки:"));
    EXPECT_EQ(d.nextButton()->toolTip(), qs(u"Взять лучшее из найденных решений сейчас"));
    EXPECT_EQ(d.tablesField()->toolTip(),
              qs(u"Показатель, показывающий качество лучшей найденной схемы рассадки (чем "
                 u"меньше значение - тем лучше)"));
    EXPECT_TRUE(d.timerRunning());
    EXPECT_EQ(d.tickLimit(), 60);
    ticks(d, 45);
    ASSERT_TRUE(waitFor([&] { return d.variantsField()->text().toInt() >= 1; }));
    shoot(d, "improvement");

    ASSERT_FALSE(d.workerFinished());
    EXPECT_EQ(finishWith(d, d.nextButton()), kSeated);
    EXPECT_TRUE(t.isRoundComplete(0));
    EXPECT_TRUE(noRepeatMeeting(t, 0));
}

TEST_F(ProgressDialogTest, CancelGivesOneEvenWhenTheEngineFoundASeating) {
    Tournament t = teamTournament(200, 50);
    ProgressDialog d(t);
    d.open();
    click(d.nextButton());
    ASSERT_TRUE(waitTitle(d, ProgressDialog::improveTitle()));
    click(d.cancelButton());
    EXPECT_FALSE(d.timerRunning());
    EXPECT_FALSE(d.nextButton()->isEnabled());
    EXPECT_TRUE(d.isVisible()); // open until the engine has unwound
    ASSERT_TRUE(waitDone(d));
    EXPECT_EQ(d.result(), kCancelled);
    EXPECT_FALSE(d.isVisible());
    // The improvement phase ended with its best seating, and the cancel undid it.
    EXPECT_TRUE(nobodySeated(t, 0));
}

TEST_F(ProgressDialogTest, CancelInsideExecDuringTheExhaustiveSearch) {
    Tournament t = teamTournament(200, 50);
    ProgressDialog d(t);
    QTimer::singleShot(200, &d, [&d] { click(d.cancelButton()); });
    EXPECT_EQ(d.exec(), kCancelled);
    EXPECT_TRUE(nobodySeated(t, 0));
}

TEST_F(ProgressDialogTest, CloseBoxAndEscapeActLikeCancel) {
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Esc" : "close box");
        Tournament t = teamTournament(200, 50);
        ProgressDialog d(t);
        d.open();
        ASSERT_TRUE(waitFor([&] { return d.variantsField()->text() != qs(u"0"); }));
        if (escape)
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            EXPECT_FALSE(d.close()); // refused: the dialog waits for the worker
        EXPECT_TRUE(d.cancelRequested());
        EXPECT_TRUE(d.stopRequested());
        EXPECT_TRUE(d.isVisible());
        ASSERT_TRUE(waitDone(d));
        EXPECT_EQ(d.result(), kCancelled);
        EXPECT_TRUE(nobodySeated(t, 0));
    }
}

TEST_F(ProgressDialogTest, RandomLimitExpiringBeforeACleanSeatingFails) {
    // 51 team-mates on 50 tables: no seating without a repeat meeting exists.
    Tournament t = teamTournament(200, 51);
    ProgressDialog d(t);
    d.open();
    click(d.nextButton());
    ASSERT_TRUE(waitTitle(d, ProgressDialog::randomTitle()));
    // Let the search report some progress before the picture and the limit.
    ASSERT_TRUE(waitFor([&] { return d.variantsField()->text().toInt() >= 1; }));
    EXPECT_GT(d.tablesField()->text().toInt(), 0);
    ASSERT_EQ(d.tickLimit(), 60);
    ticks(d, 30);
    shoot(d, "random");
    ticks(d, 30);
    EXPECT_FALSE(d.stopRequested());
    d.timerTick();
    EXPECT_TRUE(d.stopRequested());
    ASSERT_TRUE(waitDone(d));
    EXPECT_EQ(d.result(), kFailed);
}

TEST_F(ProgressDialogTest, ZeroLimitsRunWithoutATimer) {
    settings().exhaustiveTimeout = 0;
    settings().randomTimeout = 0;
    {
        // No clean seating: the random search's first phase lasts until a button ends it.
        Tournament t = teamTournament(200, 51);
        ProgressDialog d(t);
        EXPECT_EQ(d.progressBar()->maximum(), 1);
        d.open();
        EXPECT_FALSE(d.timerRunning());
        EXPECT_EQ(d.tickLimit(), 0);
        click(d.nextButton());
        ASSERT_TRUE(waitTitle(d, ProgressDialog::randomTitle()));
        EXPECT_FALSE(d.timerRunning());
        EXPECT_EQ(d.progressBar()->maximum(), 1);
        EXPECT_EQ(finishWith(d, d.cancelButton()), kCancelled);
    }
    {
        Tournament t = teamTournament(200, 50);
        ProgressDialog d(t);
        d.open();
        click(d.nextButton());
        ASSERT_TRUE(waitTitle(d, ProgressDialog::improveTitle()));
        EXPECT_FALSE(d.timerRunning());
        EXPECT_EQ(finishWith(d, d.nextButton()), kSeated);
        EXPECT_TRUE(t.isRoundComplete(0));
    }
}

TEST_F(ProgressDialogTest, ZeroLimitPhaseStopsTheTimerOfThePhaseBefore) {
    settings().exhaustiveTimeout = 1;
    settings().randomTimeout = 0;
    Tournament t = teamTournament(200, 51);
    ProgressDialog d(t);
    d.open();
    ticks(d, 61);
    ASSERT_TRUE(waitTitle(d, ProgressDialog::randomTitle()));
    // Had the exhaustive phase's timer kept running, its next tick would meet the limit 0 and
    // end this search a second later with a failure.
    EXPECT_FALSE(d.timerRunning());
    EXPECT_EQ(d.tickLimit(), 0);
    EXPECT_FALSE(d.stopRequested());
    EXPECT_EQ(finishWith(d, d.cancelButton()), kCancelled);
}

TEST_F(ProgressDialogTest, DestroyedWhileSeatingStopsAndJoinsTheWorker) {
    Tournament t = teamTournament(200, 50);
    {
        ProgressDialog d(t);
        d.open();
        ASSERT_TRUE(waitFor([&] { return d.variantsField()->text() != qs(u"0"); }));
    }
    EXPECT_TRUE(nobodySeated(t, 0));
}

} // namespace
} // namespace quelna
