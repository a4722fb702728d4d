// The slide menu's own items, chosen with the mouse: the round just finished by tables once the
// next round is seated, and the headings of the standings lists, kept in quelna.ini at once.
#include <QLabel>
#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "gui/qt_text.h"
#include "slides/slide_show.h"
#include "tests/ui/main_window_support.h"

namespace quelna {
namespace {

// Chooses the slide item; the show opens modally on the window's screen and is read and closed
// with Esc as soon as it shows.
QStringList openAndRead(mwtest::Harness& h, int command, QString& band) {
    QStringList cells;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* show = qobject_cast<SlideShow*>(QApplication::activeModalWidget());
        if (!show || !show->isVisible())
            return;
        timer.stop();
        band = show->roundLabel() ? show->roundLabel()->text() : QString();
        for (const QLabel* l : show->contentLabels())
            cells << l->text();
        QTest::keyClick(show, Qt::Key_Escape);
    });
    timer.start(5);
    mwtest::chooseMenu(*h.w, command);
    return cells;
}

TEST(SlideMenu, PreviousRoundByTablesAfterTheNextSeating) {
    struct Case {
        int seated;
        bool enabled;
    };
    for (const Case c : {Case{1, false}, Case{2, true}, Case{3, true}}) {
        SCOPED_TRACE(c.seated);
        mwtest::Harness h(16, 4);
        mwtest::playRounds(*h.t, c.seated, 4);
        h.w->refreshFromTournament();
        QAction* item = h.w->menuAction(ids::kSlidePreviousRoundResults);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), QStringLiteral(u"Результаты прошлого тура по столам"));
        EXPECT_EQ(item->isEnabled(), c.enabled);
        if (!c.enabled)
            continue;
        QString band;
        const QStringList cells = openAndRead(h, ids::kSlidePreviousRoundResults, band);
        const int finished = c.seated - 2;
        EXPECT_EQ(band, QStringLiteral(u"ТУР № %1:").arg(finished + 1));
        // Every card of the page: caption, then name and points of seats 0..3.
        const Tournament& t = *h.t;
        ASSERT_EQ(cells.size(), 4u * 9u);
        for (int table = 0; table < 4; ++table)
            for (int s = 0; s < 4; ++s) {
                const int p = t.playerAt(finished, table, s);
                EXPECT_TRUE(cells[table * 9 + 1 + 2 * s].startsWith(fromRecord(t.names[p])));
                EXPECT_EQ(cells[table * 9 + 2 + 2 * s], QString::number(t.pointsAt(finished, p)));
            }
    }
}

TEST(SlideMenu, HeadingsOfTheListsAreKeptAtOnce) {
    mwtest::Harness h(16, 2);
    const QString ini = h.dir.filePath(QStringLiteral("quelna.ini"));
    settings().settingsPath = ini.toStdString();
    mwtest::playRounds(*h.t, 2, 4);
    h.w->refreshFromTournament();
    QAction* item = h.w->menuAction(ids::kSlideListHeadings);
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isChecked());
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        mwtest::chooseMenu(*h.w, ids::kSlideListHeadings);
        EXPECT_EQ(item->isChecked(), on);
        EXPECT_EQ(IniFile::load(ini.toStdString()).getInt("SLIDES", "HEADINGS", -1), on ? 1 : 0);
        QString band;
        (void)openAndRead(h, ids::kSlideStandings, band);
        EXPECT_EQ(band, on ? QStringLiteral(u"СУММАРНЫЕ РЕЗУЛЬТАТЫ") : QString());
    }
}

} // namespace
} // namespace quelna
