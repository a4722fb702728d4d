// What the organiser's day found on the projector: substitutes' names whole on the table cards,
// standings lists that name themselves and end at their last line, the clock's bar moving after
// the record changed, and the line under the QR code. With QUELNA_SLIDES_SHOTS set, the slides
// are saved as pictures.
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QProgressBar>
#include <gtest/gtest.h>

#include "slide_test_support.h"
#include "slides/qr_slide.h"
#include "slides/slide_geometry.h"

namespace quelna::test {
namespace {

void saveShot(QWidget& w, const char* name) {
    const QString dir = qEnvironmentVariable("QUELNA_SLIDES_SHOTS");
    if (dir.isEmpty())
        return;
    ASSERT_TRUE(QDir().mkpath(dir));
    EXPECT_TRUE(w.grab().save(QDir(dir).filePath(QString::fromLatin1(name))));
}

const QLabel* labelSaying(const SlideShow& show, const QString& start) {
    for (const QLabel* l : show.contentLabels())
        if (l->text().startsWith(start))
            return l;
    return nullptr;
}

TEST(OrganiserDaySlides, SubstituteNamesFitTheirCellOtherNamesKeepTheCellFont) {
    struct Case {
        SlideKind kind;
        int tablesX, tablesY;
        const char* substitute;
        const char* shot;
    };
    const Case cases[] = {
        {SlideKind::Seating, 2, 2, "Петров П.", nullptr},
        {SlideKind::Seating, 4, 4, "Константинопольский Пётр Васильевич",
         "slides_substitute_4x4.png"},
        {SlideKind::RoundResults, 4, 4, "Петров Пётр", nullptr},
        {SlideKind::RoundResults, 3, 2, "Константинопольский Пётр Васильевич", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tablesX << "x" << c.tablesY << " " << c.substitute);
        Tournament t = seatedTournament(64, 3, 2);
        const int sub = t.playerAt(1, 0, 2);
        t.setName(sub, cyr("Александра-Виктория Щедрина"));
        t.adjustments.setSubstitute(1, sub, Substitute{cyr(c.substitute), -30000});
        SlideShow show(nullptr, t, c.kind, kFullHd, options(c.tablesX, c.tablesY));
        const QLabel* shown = labelSaying(show, QStringLiteral(u"Александра-Виктория"));
        ASSERT_NE(shown, nullptr);
        QString joined = shown->text();
        EXPECT_EQ(joined.replace(QLatin1Char('\n'), QLatin1Char(' ')),
                  QStringLiteral(u"Александра-Виктория Щедрина → замена: %1")
                      .arg(QString::fromUtf8(c.substitute)));
        const QFontMetrics m(shown->font());
        for (const QString& line : shown->text().split(QLatin1Char('\n')))
            EXPECT_LE(m.horizontalAdvance(line), shown->width()) << line.toStdString();
        EXPECT_LE(m.lineSpacing() * (shown->text().count(QLatin1Char('\n')) + 1), shown->height());
        const QLabel* plain = labelSaying(show, nameOf(t.playerAt(1, 0, 0)));
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(plain->font().pixelSize(), show.cellFont().pixelSize());
        if (c.shot)
            saveShot(show, c.shot);
    }
}

// Visible rules between data lines, and the height of the list's frame.
struct ListShape {
    int rules = 0;
    int frameHeight = 0;
};

ListShape shapeOf(const SlideShow& show, int width) {
    ListShape shape;
    for (const QFrame* f : show.frames()) {
        if (f->height() == 1 && f->width() == width && !f->isHidden())
            ++shape.rules;
        if (f->height() > 1 && f->width() == width)
            shape.frameHeight = f->height();
    }
    return shape;
}

TEST(OrganiserDaySlides, ListsWithHeadingsEndAtTheirLastLine) {
    Tournament t = seatedTournament(12, 2, 2);
    for (int p = 0; p < 12; p += 4) // three teams of two
        for (int m = 0; m < 2; ++m)
            t.team[p + m] =
                t.teams.findOrAdd(cyr(("Команда " + std::to_string(p / 4 + 1)).c_str()));
    struct Case {
        SlideKind kind;
        bool headings;
        const char16_t* band; // null: no band under the title
        int page;
        int lines; // entries on the page; the list has 8
    };
    const Case cases[] = {
        {SlideKind::Standings, false, nullptr, 1, 8},
        {SlideKind::Standings, true, u"СУММАРНЫЕ РЕЗУЛЬТАТЫ", 0, 8},
        {SlideKind::Standings, true, u"СУММАРНЫЕ РЕЗУЛЬТАТЫ", 1, 4},
        {SlideKind::TeamStandings, false, nullptr, 0, 8},
        {SlideKind::TeamStandings, true, u"РЕЗУЛЬТАТЫ ПО КОМАНДАМ", 0, 3},
        {SlideKind::RoundResultsAndSeating, true, u"ТУР № 1:", 1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << int(c.kind) << " headings " << c.headings << " page " << c.page);
        SlideOptions o = options();
        o.listHeadings = c.headings;
        o.interval = 0;
        SlideShow show(nullptr, t, c.kind, kFullHd, o);
        while (show.page() != c.page || !show.showing())
            show.tick();
        const bool band = c.band || c.kind == SlideKind::RoundResultsAndSeating;
        ASSERT_EQ(show.roundLabel() != nullptr, band);
        if (c.band)
            EXPECT_EQ(show.roundLabel()->text(), QString::fromUtf16(c.band));
        const ListGeometry g =
            listGeometry(1920, 1080, 8,
                         c.kind == SlideKind::TeamStandings ? ListColumns::Teams
                         : c.kind == SlideKind::Standings   ? ListColumns::Players
                                                            : ListColumns::WithNextTable,
                         band);
        const ListShape shape = shapeOf(show, g.innerW);
        // The rule under the heading row, then one between each two lines shown.
        EXPECT_EQ(shape.rules, 1 + c.lines - 1);
        EXPECT_EQ(shape.frameHeight, c.lines == 8 ? g.areaH : g.hdrH + c.lines * g.rowH);
        if (c.headings && c.kind == SlideKind::TeamStandings)
            saveShot(show, "slides_team_standings_heading.png");
    }
}

TEST(OrganiserDaySlides, ClockBarFillsAfterTheRecordChangedBesideTheWindow) {
    const Tournament t = seatedTournament(16, 4, 2);
    RoundClock c;
    followRound(c, 2);
    const ClockTime start = 1'765'300'000'000;
    ClockTime now = start;
    startClock(c, now);
    SlideShow show(nullptr, t, SlideKind::RoundClock, kFullHd, options(),
                   SlideClock{&c, [&now] { return now; }, {}});
    ASSERT_TRUE(exposed(show));
    for (int minute : {9, 18, 45}) {
        SCOPED_TRACE(minute);
        show.recordChanged(); // the organiser typed a result in the window
        now = start + minute * kMinute;
        show.refreshClock();
        std::vector<QProgressBar*> shown;
        for (QProgressBar* bar : show.findChildren<QProgressBar*>())
            if (bar->isVisible())
                shown.push_back(bar);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0]->value(), minute * 1000 / 90);
    }
    saveShot(show, "slides_clock_half.png");
}

TEST(OrganiserDaySlides, QrSlideSaysWhatTheCodeOpens) {
    for (const QString& url : {QStringLiteral(u"http://192.168.1.23:8080/"), QString()}) {
        SCOPED_TRACE(url.toStdString());
        QrSlide slide(nullptr, url, kFullHd);
        slide.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&slide));
        const QImage image = slide.grab().toImage();
        if (url.isEmpty()) {
            EXPECT_TRUE(slide.noteRect().isEmpty());
            continue;
        }
        const QRect note = slide.noteRect();
        ASSERT_FALSE(note.isEmpty());
        EXPECT_LE(note.bottom(), 1079);
        int ink = 0;
        for (int y = note.top(); y <= note.bottom(); ++y)
            for (int x = note.left(); x <= note.right(); ++x)
                ink += qGray(image.pixel(x, y)) < 128;
        EXPECT_GT(ink, 1000) << "the line is drawn";
        saveShot(slide, "slides_player_page_qr.png");
    }
}

} // namespace
} // namespace quelna::test
