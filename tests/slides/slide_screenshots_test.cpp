// Pictures of the five kinds at 1920 x 1080 for looking at, written only when
// QUELNA_SLIDES_SHOTS names a directory.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>

#include "slide_test_support.h"

namespace quelna::test {
namespace {

Tournament showcaseTournament() {
    // surnames alternate male and female, given names follow
    const char* surnames[] = {"Иванов",   "Смирнова", "Кузнецов", "Попова",
                              "Васильев", "Петрова",  "Соколов",  "Михайлова",
                              "Новиков",  "Фёдорова", "Морозов",  "Волкова"};
    const char* men[] = {"Алексей", "Дмитрий", "Сергей", "Андрей"};
    const char* women[] = {"Мария", "Елена", "Ольга", "Анна"};
    const char* teams[] = {"Красный дракон",  "Восточный ветер", "Белый тигр",
                           "Бамбуковая роща", "Северный ветер",  "Зелёный дракон"};
    Tournament t(48, 4);
    for (int p = 0; p < 48; ++p) {
        const int k = p % 12;
        const std::string name =
            std::string(surnames[k]) + " " + (k % 2 == 0 ? men[p / 12] : women[p / 12]);
        t.setName(p, utf8ToCp1251(name));
        t.playerNumber[p] = p;
        if (p < 40)
            t.team[p] = t.teams.findOrAdd(utf8ToCp1251(teams[p % 6]));
    }
    t.setName(33, utf8ToCp1251("Константинопольская Александра Вениаминовна"));
    const int spread[4] = {1, 5, 7, 11}; // coprime to 48: every table gets four players
    for (int r = 0; r < 4; ++r)
        for (int p = 0; p < 48; ++p)
            t.tableAt(r, p) = ((p * spread[r] + 7 * r) % 48) / 4;
    t.normalizeRounds();
    // zero-sum results at every table
    const int results[5][4] = {{38200, 9700, -14100, -33800},
                               {51300, -2400, -18600, -30300},
                               {22900, 15100, -11500, -26500},
                               {44700, 3200, -9800, -38100},
                               {31600, 12400, -17900, -26100}};
    for (int r = 0; r < 4; ++r)
        for (int table = 0; table < 12; ++table)
            for (int s = 0; s < 4; ++s)
                t.pointsAt(r, t.playerAt(r, table, s)) =
                    results[(table * 3 + r) % 5][(s + table + r) % 4];
    return t;
}

TEST(SlideScreenshots, AllFiveKinds) {
    const QString dir = qEnvironmentVariable("QUELNA_SLIDES_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set QUELNA_SLIDES_SHOTS to a directory to write the pictures";
    ASSERT_TRUE(QDir().mkpath(dir));
    const Tournament t = showcaseTournament();
    ASSERT_EQ(t.currentRound, 4);
    SlideOptions o = options(2, 2, 8, 7);
    o.title = QStringLiteral(u"Открытый чемпионат по риичи-маджонгу «Осенний ветер»");
    const struct {
        SlideKind kind;
        const char* file;
        int tablesX;
    } shots[] = {{SlideKind::Seating, "slides_seating.png", 2},
                 {SlideKind::RoundResults, "slides_round_results.png", 3},
                 {SlideKind::RoundResultsAndSeating, "slides_results_and_seating.png", 2},
                 {SlideKind::Standings, "slides_standings.png", 2},
                 {SlideKind::TeamStandings, "slides_team_standings.png", 2}};
    for (const auto& shot : shots) {
        o.tablesX = shot.tablesX;
        SlideShow show(nullptr, t, shot.kind, kFullHd, o);
        const QImage image = show.grab().toImage();
        EXPECT_EQ(image.size(), QSize(1920, 1080));
        const QString path = QDir(dir).filePath(QString::fromUtf8(shot.file));
        EXPECT_TRUE(image.save(path)) << path.toStdString();
    }
}

// The real modal show for a look on a real display, e.g. under Xvfb:
// QUELNA_SLIDES_DEMO=<kind 0..4> test_slides --gtest_filter=SlideScreenshots.RealWindow
TEST(SlideScreenshots, RealWindow) {
    const QString kind = qEnvironmentVariable("QUELNA_SLIDES_DEMO");
    if (kind.isEmpty())
        GTEST_SKIP() << "set QUELNA_SLIDES_DEMO to a slide kind to open the real show";
    SettingsGuard guard;
    settings().tournamentTitle = utf8ToCp1251("Открытый чемпионат по риичи-маджонгу");
    settings().slideInterval = 5;
    const Tournament t = showcaseTournament();
    // a safety net for unattended runs: the show is normally closed by a click or Esc
    QTimer::singleShot(30000, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    showSlideShow(nullptr, t, static_cast<SlideKind>(kind.toInt()));
    std::printf("slide show closed\n");
}

} // namespace
} // namespace quelna::test
