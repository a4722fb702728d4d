// The slide show on the second screen leaves the main window usable: typing goes on while the
// slides run and they follow the record; Esc, a click or the window's menu item closes them. Runs
// this test binary again on two offscreen screens.
#include <QLabel>
#include <gtest/gtest.h>

#include "slides/slide_show.h"
#include "support/two_screens.h"
#include "tests/ui/main_window_support.h"

namespace quelna {
namespace {

TEST(SlidesBeside, OnTwoScreensInTheirOwnProcess) {
    const auto run = test_support::runOnTwoScreens(QStringLiteral(u"SlidesBesideTwoScreens.*"),
                                                   QStringLiteral(u"QUELNA_SLIDES_BESIDE"));
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral(u"[  PASSED  ] 1 test")))
        << run.output.toStdString();
}

TEST(SlidesBesideTwoScreens, TypingGoesOnWhileTheSlidesRunOnTheOtherScreen) {
    if (qEnvironmentVariableIsEmpty("QUELNA_SLIDES_BESIDE"))
        GTEST_SKIP() << "runs in the two-screen child process";
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    mwtest::Harness h(16, 4, false, QRect(0, 0, 1600, 900));
    settings().secondaryAvailable = true;
    settings().showOnSecondary = true;
    mwtest::playRounds(*h.t, 1, 6);
    h.w->refreshFromTournament();
    ASSERT_EQ(h.w->screen()->name(), QStringLiteral(u"A"));

    mwtest::chooseMenu(*h.w, ids::kSlideRoundResults);
    QPointer<SlideShow> show = h.w->slidesBeside();
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->screen()->name(), QStringLiteral(u"B"));
    EXPECT_TRUE(show->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(h.w->menuAction(ids::kCloseSlidesCommand)->isEnabled());

    // Keys go to the main window; the slide's card shows the new value from the record.
    QLineEdit* cell = h.w->pointsCell(0, 2);
    mwtest::typeAndLeave(cell, QStringLiteral(u"4321"));
    EXPECT_EQ(cell->text(), QStringLiteral(u"4321"));
    EXPECT_EQ(h.t->pointsAt(0, h.t->playerAt(0, 0, 2)), 4321);
    ASSERT_FALSE(show.isNull());
    QStringList shown;
    for (QLabel* l : show->contentLabels())
        shown << l->text();
    EXPECT_TRUE(shown.contains(QStringLiteral(u"4321"))) << shown.join(u'|').toStdString();

    // Another kind replaces the show; the old one's end must not grey "Закрыть показ слайдов".
    mwtest::chooseMenu(*h.w, ids::kSlideSeating);
    EXPECT_TRUE(QTest::qWaitFor([&] { return show.isNull(); }, 2000));
    show = h.w->slidesBeside();
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->kind(), SlideKind::Seating);
    QTest::qWait(50); // deferred deletions done
    EXPECT_TRUE(h.w->menuAction(ids::kCloseSlidesCommand)->isEnabled());

    mwtest::chooseMenu(*h.w, ids::kCloseSlidesCommand);
    EXPECT_TRUE(QTest::qWaitFor([&] { return show.isNull(); }, 2000));
    EXPECT_FALSE(h.w->menuAction(ids::kCloseSlidesCommand)->isEnabled());

    mwtest::chooseMenu(*h.w, ids::kSlideSeating);
    show = h.w->slidesBeside();
    ASSERT_NE(show, nullptr);
    QTest::keyClick(show, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return show.isNull(); }, 2000));
}

} // namespace
} // namespace quelna
