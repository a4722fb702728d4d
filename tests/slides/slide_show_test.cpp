// The show window: paging timer, closing, the modal entry point and the choice of monitor.
#define QTEST_QPA_MOUSE_HANDLING // clicks go through the window, hit-testing the children
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "slide_test_support.h"
#include "support/two_screens.h"

namespace quelna::test {
namespace {

TEST(SlideShowTimer, OnePageHasNoTimerAndNoBlankSecond) {
    const Tournament t = seatedTournament(16, 4, 1);
    SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options(2, 2, 8, 5));
    EXPECT_EQ(show.pageCount(), 1);
    EXPECT_FALSE(show.timerActive());
    const QString first = show.contentLabels()[0]->text();
    ticks(show, 30);
    EXPECT_TRUE(show.showing());
    EXPECT_EQ(show.page(), 0);
    EXPECT_EQ(show.contentLabels()[0]->text(), first);
}

TEST(SlideShowTimer, PageStaysIntervalPlusOneTicksThenBlankOne) {
    // Round 2 seated: 5 tables, 2 pages of 2 x 2.
    const Tournament t = seatedTournament(20, 4, 2);
    for (int interval : {5, 20}) {
        SCOPED_TRACE(interval);
        SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options(2, 2, 8, interval));
        ASSERT_EQ(show.pageCount(), 2);
        EXPECT_TRUE(show.timerActive());
        EXPECT_EQ(show.timerInterval(), 1000);
        EXPECT_EQ(show.page(), 0);
        for (int cycle = 0; cycle < 3; ++cycle) {
            const int page = cycle % 2;
            for (int i = 1; i <= interval; ++i) {
                show.tick();
                ASSERT_TRUE(show.showing());
                ASSERT_EQ(show.secondsShown(), i);
                ASSERT_EQ(show.page(), page);
                ASSERT_FALSE(show.contentLabels()[0]->text().isEmpty());
            }
            show.tick(); // tick interval + 1: the blank second
            ASSERT_FALSE(show.showing());
            ASSERT_EQ(show.secondsShown(), 0);
            // Captions and cells go blank; the bands and the card frames stay.
            ASSERT_TRUE(allEmpty(show.contentLabels()));
            ASSERT_EQ(show.titleLabel()->text(), QStringLiteral(u"Кубок города"));
            ASSERT_EQ(show.roundLabel()->text(), QStringLiteral(u"ТУР № 2:"));
            ASSERT_EQ(show.frames().size(), 24u);
            show.tick();
            ASSERT_TRUE(show.showing());
            ASSERT_EQ(show.page(), 1 - page); // wraps from the last page to 0
            ASSERT_EQ(show.contentLabels()[0]->text(),
                      QStringLiteral(u"СТОЛ № %1 ").arg(page == 0 ? 5 : 1));
            // The last page holds one table; its other cards stay empty.
            ASSERT_EQ(show.contentLabels()[9]->text().isEmpty(), page == 0);
        }
    }
}

TEST(SlideShowTimer, EmptyTitleKeepsItsBand) {
    const Tournament t = seatedTournament(12, 2, 1);
    SlideOptions o = options();
    o.title.clear();
    SlideShow show(nullptr, t, SlideKind::Standings, kFullHd, o);
    EXPECT_TRUE(show.titleLabel()->text().isEmpty());
    EXPECT_EQ(show.titleLabel()->geometry().height(), 75);
    EXPECT_EQ(show.frames().front()->geometry().top(), 32 + 75);
}

TEST(SlideShowClosing, EscClickAndCloseRequestEndTheShow) {
    const Tournament t = seatedTournament(20, 4, 1);
    {
        SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options());
        ASSERT_TRUE(exposed(show));
        QTest::keyClick(&show, Qt::Key_Return);
        QTest::keyClick(&show, Qt::Key_Space);
        QTest::keyClick(&show, Qt::Key_A);
        EXPECT_TRUE(show.isVisible());
        QTest::keyClick(&show, Qt::Key_Escape);
        EXPECT_FALSE(show.isVisible());
        EXPECT_FALSE(show.timerActive());
    }
    {
        SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options());
        ASSERT_TRUE(exposed(show));
        const QPoint onName = show.contentLabels()[1]->geometry().center();
        QTest::mouseClick(&show, Qt::RightButton, {}, onName);
        EXPECT_TRUE(show.isVisible());
        QTest::mouseClick(&show, Qt::LeftButton, {}, onName);
        EXPECT_FALSE(show.isVisible());
        EXPECT_FALSE(show.timerActive());
    }
    {
        SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options(2, 2, 8, 5));
        ASSERT_TRUE(exposed(show));
        ticks(show, 6);
        ASSERT_FALSE(show.showing());
        QTest::mouseClick(&show, Qt::LeftButton, {}, QPoint(5, 1070));
        EXPECT_FALSE(show.isVisible());
    }
    {
        SlideShow show(nullptr, t, SlideKind::Standings, kFullHd, options());
        ASSERT_TRUE(exposed(show));
        EXPECT_TRUE(show.timerActive());
        show.windowHandle()->close(); // what the platform does on Alt+F4
        EXPECT_FALSE(show.isVisible());
        EXPECT_FALSE(show.timerActive());
    }
}

// Runs showSlideShow modally; `inspect` sees the open show and then it is closed by Esc.
template <typename Inspect>
void runModal(QWidget* owner, const Tournament& t, SlideKind kind, Inspect inspect) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* show = qobject_cast<SlideShow*>(QApplication::activeModalWidget());
        ASSERT_NE(show, nullptr);
        seen = true;
        inspect(*show);
        QTest::keyClick(show, Qt::Key_Escape);
    });
    showSlideShow(owner, t, kind);
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(SlideShowModal, OpensOnTheScreenModalOverItsOwnerAndRestartsAtPageZero) {
    SettingsGuard guard;
    settings().showOnSecondary = true; // only one screen here: the first one is used
    settings().slideLines = 8;
    settings().slideInterval = 5;
    settings().tournamentTitle = cyr("Осенний турнир");
    const Tournament t = seatedTournament(40, 4, 2);
    QWidget owner;
    owner.show();
    const QRect screen = QGuiApplication::screens().at(0)->geometry();
    for (int round = 0; round < 2; ++round) {
        runModal(&owner, t, SlideKind::Standings, [&](SlideShow& show) {
            EXPECT_EQ(show.page(), 0);
            EXPECT_TRUE(show.showing());
            EXPECT_TRUE(show.isModal());
            EXPECT_EQ(show.parentWidget(), &owner);
            EXPECT_TRUE(show.windowFlags() & Qt::FramelessWindowHint);
            EXPECT_EQ(show.geometry(), screen);
            EXPECT_EQ(show.monitor(), screen);
            EXPECT_EQ(show.titleLabel()->text(), QStringLiteral(u"Осенний турнир"));
            EXPECT_EQ(show.pageCount(), 5);
            ticks(show, 7 * 3);
            EXPECT_EQ(show.page(), 3);
        });
    }
}

TEST(SlideShowModal, OptionsOutOfRangeFallBackToDefaults) {
    SettingsGuard guard;
    settings().slideTablesX = 0;
    settings().slideTablesY = 9;
    settings().slideLines = 0;
    settings().slideInterval = 1;
    const SlideOptions o = currentSlideOptions();
    EXPECT_EQ(o.tablesX, 2);
    EXPECT_EQ(o.tablesY, 2);
    EXPECT_EQ(o.lines, 8);
    EXPECT_EQ(o.interval, 7);
}

// Runs this test binary again on two offscreen screens, the second left of the first.
TEST(SlideShowScreens, TwoMonitorsInTheirOwnProcess) {
    const auto run = test_support::runOnTwoScreens(QStringLiteral(u"SlideShowOnTwoScreens.*"),
                                                   QStringLiteral(u"QUELNA_SLIDES_TWO_SCREENS"));
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral(u"[  PASSED  ] 2 tests")))
        << run.output.toStdString();
}

// Only meaningful inside the child process started above.
class SlideShowOnTwoScreens : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QUELNA_SLIDES_TWO_SCREENS"))
            GTEST_SKIP() << "runs in the two-screen child process";
        ASSERT_EQ(QGuiApplication::screens().size(), 2);
    }
    SettingsGuard guard;
};

TEST_F(SlideShowOnTwoScreens, SecondScreenLeftOfThePrimary) {
    settings().showOnSecondary = true;
    settings().slideTablesX = settings().slideTablesY = 2;
    const Tournament t = seatedTournament(16, 2, 1);
    QWidget owner;
    owner.show();
    runModal(&owner, t, SlideKind::Seating, [&](SlideShow& show) {
        EXPECT_EQ(show.monitor(), QRect(-1920, 0, 1920, 1080));
        EXPECT_EQ(show.geometry(), QRect(-1920, 0, 1920, 1080));
        EXPECT_EQ(show.screen()->name(), QStringLiteral(u"B"));
        // the layout is relative to the window: the worked example of a 1920 x 1080 screen
        EXPECT_EQ(show.contentLabels()[9]->geometry(), QRect(980, 151, 901, 107));
        EXPECT_EQ(show.contentLabels()[9]->font().pixelSize(), 87);
        const QPoint global = show.mapToGlobal(show.contentLabels()[9]->geometry().topLeft());
        EXPECT_EQ(global, QPoint(-1920 + 980, 151));
    });
}

TEST_F(SlideShowOnTwoScreens, FirstScreenWhenSecondaryIsOff) {
    settings().showOnSecondary = false;
    settings().slideLines = 8;
    const Tournament t = seatedTournament(16, 2, 1);
    runModal(nullptr, t, SlideKind::Standings, [&](SlideShow& show) {
        EXPECT_EQ(show.geometry(), QRect(0, 0, 1600, 900));
        EXPECT_EQ(show.screen()->name(), QStringLiteral(u"A"));
        // margin 32, band 63 on 1600 x 900
        EXPECT_EQ(show.titleLabel()->geometry(), QRect(32, 0, 1536, 63));
    });
}

} // namespace
} // namespace quelna::test
