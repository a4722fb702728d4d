// The clock slide on two monitor sizes with a fake clock: the digits drawn whole and large, the
// states of the round, the tables with extra time, the time-up text, and the corner clock.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <gtest/gtest.h>

#include "slide_test_support.h"

namespace quelna::test {
namespace {

constexpr ClockTime kT0 = 1'765'300'000'000;

// The box of the pixels inside r that differ from the colour at r's top-left corner.
QRect inkBox(const QImage& image, const QRect& r) {
    const QRgb background = image.pixel(r.topLeft());
    QRect box;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(ClockSlide, DigitsWholeAndLargeOnBothMonitorsThroughTheRound) {
    const QString shots = qEnvironmentVariable("QUELNA_SLIDES_SHOTS");
    const Tournament t = seatedTournament(40, 4, 2);
    for (const QRect monitor : {kFullHd, QRect(0, 0, 1024, 768)}) {
        SCOPED_TRACE(monitor.width());
        RoundClock c;
        c.timeUpNote = cyr("После неё — ещё одна раздача");
        followRound(c, 2);
        ClockTime now = kT0;
        SlideShow show(nullptr, t, SlideKind::RoundClock, monitor, options(),
                       SlideClock{&c, [&now] { return now; }, {}});
        ASSERT_EQ(show.pageCount(), 1);
        EXPECT_EQ(show.roundLabel()->text(), u"ТУР № 2:"_qs);
        QLabel* headline = show.contentLabels()[kClockHeadline];
        QLabel* digits = show.contentLabels()[kClockDigits];
        QLabel* timeUp = show.contentLabels()[kClockTimeUp];
        const auto table = [&](int i) { return show.contentLabels()[kClockTables + i]->text(); };

        struct Moment {
            const char* name; // the picture's file name
            std::function<void()> change;
            QString headline, digits;
            bool up;
            QString firstTable;
        };
        const Moment moments[] = {
            {"",
             [&] { c.startsAt = now + 20 * kMinute; },
             u"До начала тура"_qs,
             u"20:00"_qs,
             false,
             {}},
            {"slides_clock.png",
             [&] {
                 startClock(c, now);
                 setTableExtra(c, 7, 10);
                 now += 17 * kMinute + 25'000;
             },
             {},
             u"72:35"_qs,
             false,
             u"СТОЛ № 7: 82:35"_qs},
            {"",
             [&] {
                 pauseClock(c, now);
                 now += kMinute;
             },
             u"Пауза"_qs, u"72:35"_qs, false, u"СТОЛ № 7: 82:35"_qs},
            {"", [&] { addMinutes(c, 30); }, u"Пауза"_qs, u"1:42:35"_qs, false,
             u"СТОЛ № 7: 1:52:35"_qs},
            {"slides_clock_time_up.png",
             [&] {
                 startClock(c, now);
                 now += 102 * kMinute + 40'000;
             },
             {},
             u"0:00"_qs,
             true,
             u"СТОЛ № 7: 9:55"_qs},
        };
        for (const Moment& m : moments) {
            SCOPED_TRACE(m.digits.toStdString());
            m.change();
            show.refreshClock();
            EXPECT_EQ(headline->text(), m.headline);
            EXPECT_EQ(digits->text(), m.digits);
            EXPECT_EQ(timeUp->text(), m.up ? QString::fromUtf16(kTimeUpText) : QString());
            EXPECT_EQ(show.contentLabels()[kClockNote]->text(),
                      m.up ? u"После неё — ещё одна раздача"_qs : QString());
            EXPECT_EQ(table(0), m.firstTable);
            EXPECT_EQ(table(1), QString());

            // On the picture the digits lie inside their label with room on every side, at
            // least a quarter of the screen high.
            const QImage image = show.grab().toImage();
            ASSERT_EQ(image.size(), monitor.size());
            const QRect area = digits->geometry();
            const QRect ink = inkBox(image, area);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_GT(ink.left(), area.left());
            EXPECT_LT(ink.right(), area.right());
            EXPECT_GT(ink.top(), area.top());
            EXPECT_LT(ink.bottom(), area.bottom());
            EXPECT_GE(ink.height(), monitor.height() / 4);
            if (m.up) { // red digits, and the time-up text whole on its line
                EXPECT_EQ(digits->palette().color(QPalette::WindowText), timeUpColour());
                const QRect line = timeUp->geometry();
                const QRect text = inkBox(image, line);
                EXPECT_GT(text.left(), line.left());
                EXPECT_LT(text.right(), line.right());
            }
            if (!shots.isEmpty() && *m.name && monitor == kFullHd)
                EXPECT_TRUE(image.save(QDir(shots).filePath(QString::fromUtf8(m.name))));
            if (!shots.isEmpty() && m.up && monitor != kFullHd)
                EXPECT_TRUE(image.save(QDir(shots).filePath(u"slides_clock_1024.png"_qs)));
        }
    }
}

TEST(ClockSlide, CornerOnlyWhenAskedAndTheOtherKindsUnchanged) {
    const Tournament t = seatedTournament(16, 4, 1);
    RoundClock c;
    followRound(c, 1);
    ClockTime now = kT0;
    const SlideClock feed{&c, [&now] { return now; }, {}};
    for (SlideKind kind : {SlideKind::Seating, SlideKind::TeamStandings}) {
        SlideShow plain(nullptr, t, kind, kFullHd, options());
        SlideShow off(nullptr, t, kind, kFullHd, options(), feed);
        EXPECT_EQ(off.clockCorner(), nullptr);
        EXPECT_EQ(off.contentLabels().size(), plain.contentLabels().size());
        EXPECT_EQ(off.grab().toImage(), plain.grab().toImage()) << "the corner is off by default";
    }
    c.corner = true;
    SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options(), feed);
    ASSERT_NE(show.clockCorner(), nullptr);
    EXPECT_EQ(show.clockCorner()->text(), QString()) << "nothing to count before the start";
    startClock(c, now);
    now += 30 * kMinute;
    show.refreshClock();
    EXPECT_EQ(show.clockCorner()->text(), u"60:00"_qs);
    EXPECT_LE(show.clockCorner()->geometry().right(), 1920);
    now += 61 * kMinute;
    show.refreshClock();
    EXPECT_EQ(show.clockCorner()->text(), u"0:00"_qs);
    EXPECT_EQ(show.clockCorner()->palette().color(QPalette::WindowText), timeUpColour());
}

} // namespace
} // namespace quelna::test
