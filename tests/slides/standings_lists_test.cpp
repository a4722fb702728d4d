// Standings slides: list geometry, ranking on screen, team standings.
#include <gtest/gtest.h>

#include "slide_test_support.h"

namespace quelna::test {
namespace {

// Label of column c on line i of a list with `columns` columns.
QLabel* cell(const SlideShow& s, int line, int column, int columns) {
    return s.contentLabels()[line * columns + column];
}

QStringList line(const SlideShow& s, int i, int columns) {
    return texts(s.contentLabels(), i * columns, columns);
}

TEST(StandingsLists, GeometryWithRoundBandAndNextTable) {
    const Tournament t = seatedTournament(16, 4, 2);
    SlideShow show(nullptr, t, SlideKind::RoundResultsAndSeating, kFullHd, options());
    // innerW 1844; columns 239, 184, 1014, 276, 131; y0 182, areaH 866, rowH 97, hdrH 90
    const int x1 = 38 + 239, x2 = x1 + 184, x3 = x2 + 1014, x4 = x3 + 276;
    ASSERT_NE(show.roundLabel(), nullptr);
    EXPECT_EQ(show.roundLabel()->geometry(), QRect(38, 75, 1844, 75));
    EXPECT_TRUE(hasFrame(show, QRect(38, 182, 1844, 866)));
    EXPECT_TRUE(hasFrame(show, QRect(38, 182 + 90, 1844, 1)));
    for (int i = 1; i < 8; ++i)
        EXPECT_TRUE(hasFrame(show, QRect(38, 182 + 90 + i * 97, 1844, 1)));
    for (int x : {x1, x2, x3, x4})
        EXPECT_TRUE(hasFrame(show, QRect(x, 182, 1, 866)));
    EXPECT_EQ(show.frames().size(), 2u + 7u + 4u);

    const std::vector<QLabel*>& h = show.headingLabels();
    ASSERT_EQ(h.size(), 5u);
    const QStringList headings = strings({u"Место", u"№", u"Имя", u"ИО", u"След. стол"});
    const QRect headingRects[] = {QRect(39, 183, 237, 88), QRect(x1 + 1, 183, 182, 88),
                                  QRect(x2 + 1, 183, 1012, 88), QRect(x3 + 1, 183, 274, 88),
                                  QRect(x4 + 1, 183, 129, 88)};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(h[c]->text(), headings[c]);
        EXPECT_EQ(h[c]->geometry(), headingRects[c]);
        EXPECT_EQ(h[c]->font().pixelSize(), 36);
        EXPECT_EQ(h[c]->font().weight(), QFont::Bold);
    }
    EXPECT_EQ(h[0]->alignment(), Qt::AlignCenter);
    EXPECT_FALSE(h[0]->wordWrap());
    EXPECT_EQ(h[4]->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    EXPECT_TRUE(h[4]->wordWrap());

    ASSERT_EQ(show.contentLabels().size(), 8u * 5u);
    EXPECT_EQ(cell(show, 0, 0, 5)->geometry(), QRect(39, 182 + 90 + 1, 237, 95));
    EXPECT_EQ(cell(show, 7, 4, 5)->geometry(), QRect(x4 + 1, 182 + 90 + 1 + 7 * 97, 129, 95));
    EXPECT_EQ(cell(show, 3, 2, 5)->font().pixelSize(), 77);
    EXPECT_EQ(cell(show, 3, 2, 5)->font().weight(), QFont::Bold);
}

TEST(StandingsLists, GeometryWithoutRoundBand) {
    const Tournament t = seatedTournament(16, 4, 1);
    SlideShow players(nullptr, t, SlideKind::Standings, kFullHd, options());
    // y0 107, areaH 941, rowH 105, hdrH 101; total column 407
    EXPECT_EQ(players.roundLabel(), nullptr);
    EXPECT_EQ(players.titleLabel()->geometry(), QRect(38, 0, 1844, 75));
    EXPECT_TRUE(hasFrame(players, QRect(38, 107, 1844, 941)));
    EXPECT_TRUE(hasFrame(players, QRect(38, 107 + 101 + 7 * 105, 1844, 1)));
    EXPECT_TRUE(hasFrame(players, QRect(38 + 239 + 184 + 1014, 107, 1, 941)));
    EXPECT_EQ(players.frames().size(), 2u + 7u + 3u);
    ASSERT_EQ(players.headingLabels().size(), 4u);
    EXPECT_EQ(players.headingLabels()[3]->geometry(), QRect(38 + 1437 + 1, 108, 405, 99));
    EXPECT_EQ(players.headingLabels()[3]->font().pixelSize(), 40);
    EXPECT_EQ(players.contentLabels()[0]->font().pixelSize(), 84);
    EXPECT_EQ(players.contentLabels()[4]->geometry(), QRect(39, 107 + 101 + 1 + 105, 237, 103));

    SlideShow teams(nullptr, t, SlideKind::TeamStandings, kFullHd, options());
    // the place column spans place and number; no divider at x1
    ASSERT_EQ(teams.headingLabels().size(), 3u);
    EXPECT_EQ(teams.headingLabels()[0]->geometry(), QRect(39, 108, 239 + 184 - 2, 99));
    EXPECT_EQ(teams.headingLabels()[1]->text(), QStringLiteral(u"Имя"));
    EXPECT_FALSE(hasFrame(teams, QRect(38 + 239, 107, 1, 941)));
    EXPECT_TRUE(hasFrame(teams, QRect(38 + 239 + 184, 107, 1, 941)));
    EXPECT_EQ(teams.frames().size(), 2u + 7u + 2u);
    EXPECT_EQ(teams.contentLabels().size(), 8u * 3u);
}

TEST(StandingsLists, SharedPlacesAndTotals) {
    Tournament t = seatedTournament(12, 3, 2);
    // totals over both rounds: 0 -> 300, 1 and 2 -> 200, 3 -> 100, everybody else negative
    t.pointsAt(0, 0) = 100;
    t.pointsAt(1, 0) = 200;
    t.pointsAt(0, 1) = 200;
    t.pointsAt(1, 2) = 200;
    t.pointsAt(1, 3) = 100;
    for (int p = 4; p < 12; ++p)
        t.pointsAt(1, p) = -p;
    SlideShow show(nullptr, t, SlideKind::Standings, kFullHd, options());
    EXPECT_EQ(line(show, 0, 4), (QStringList{QStringLiteral(u"1"), QStringLiteral(u"1"), nameOf(0),
                                             QStringLiteral(u"300")}));
    EXPECT_EQ(cell(show, 1, 0, 4)->text(), QStringLiteral(u"2|3"));
    EXPECT_EQ(cell(show, 2, 0, 4)->text(), QStringLiteral(u"2|3"));
    EXPECT_EQ(cell(show, 1, 3, 4)->text(), QStringLiteral(u"200"));
    EXPECT_EQ(line(show, 3, 4), (QStringList{QStringLiteral(u"4"), QStringLiteral(u"4"), nameOf(3),
                                             QStringLiteral(u"100")}));
    EXPECT_EQ(cell(show, 4, 3, 4)->text(), QStringLiteral(u"-4"));

    // 12 players on 8 lines: the second page holds positions 9..12 above four empty lines
    EXPECT_EQ(show.pageCount(), 2);
    ticks(show, 9);
    ASSERT_EQ(show.page(), 1);
    EXPECT_EQ(cell(show, 0, 0, 4)->text(), QStringLiteral(u"9"));
    EXPECT_EQ(cell(show, 3, 2, 4)->text(), nameOf(11));
    EXPECT_EQ(cell(show, 3, 3, 4)->text(), QStringLiteral(u"-11"));
    EXPECT_TRUE(allEmpty({show.contentLabels().begin() + 4 * 4, show.contentLabels().end()}));
}

TEST(StandingsLists, NoPointsYetShowsZeroPlacesInStartNumberOrder) {
    Tournament t = seatedTournament(12, 3, 1);
    for (int p = 0; p < 12; ++p)
        t.playerNumber[p] = 11 - p;
    t.playerNumber[4] = -1;
    SlideShow show(nullptr, t, SlideKind::Standings, kFullHd, options(2, 2, 12));
    EXPECT_EQ(show.pageCount(), 1);
    EXPECT_FALSE(show.timerActive());
    EXPECT_EQ(line(show, 0, 4), (QStringList{QStringLiteral(u"0"), QStringLiteral(u"0"), nameOf(4),
                                             QStringLiteral(u"0")}));
    EXPECT_EQ(cell(show, 1, 2, 4)->text(), nameOf(11));
    EXPECT_EQ(cell(show, 11, 2, 4)->text(), nameOf(0));
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(cell(show, i, 0, 4)->text(), QStringLiteral(u"0"));
        EXPECT_EQ(cell(show, i, 3, 4)->text(), QStringLiteral(u"0"));
    }
}

TEST(StandingsLists, ResultsBeforeTheLatestRoundWithItsTables) {
    Tournament t = seatedTournament(12, 3, 2);
    ASSERT_EQ(t.currentRound, 2);
    t.pointsAt(0, 7) = 5000;
    t.pointsAt(0, 2) = -5000;
    t.pointsAt(1, 2) = 90000; // the round being played does not count yet
    SlideShow show(nullptr, t, SlideKind::RoundResultsAndSeating, kFullHd, options(2, 2, 12));
    ASSERT_EQ(show.contentLabels().size(), 12u * 5u);
    EXPECT_EQ(show.roundLabel()->text(), QStringLiteral(u"ТУР № 1:"));
    EXPECT_EQ(line(show, 0, 5),
              (QStringList{QStringLiteral(u"1"), QStringLiteral(u"8"), nameOf(7),
                           QStringLiteral(u"5000"), QString::number(t.tableAt(1, 7) + 1)}));
    // player 7 sits at table ((7 + 5) mod 12) / 4 = 0 in the second round: shown as 1
    EXPECT_EQ(cell(show, 0, 4, 5)->text(), QStringLiteral(u"1"));
    EXPECT_EQ(cell(show, 1, 0, 5)->text(), QStringLiteral(u"2|3|4|5|6|7|8|9|10|11"));
    EXPECT_EQ(cell(show, 11, 2, 5)->text(), nameOf(2));
    EXPECT_EQ(cell(show, 11, 3, 5)->text(), QStringLiteral(u"-5000"));
    EXPECT_EQ(cell(show, 11, 4, 5)->text(), QStringLiteral(u"2"));
}

TEST(StandingsLists, TeamStandings) {
    Tournament t = seatedTournament(12, 2, 2);
    SlideShow none(nullptr, t, SlideKind::TeamStandings, kFullHd, options());
    EXPECT_EQ(none.pageCount(), 0);
    EXPECT_FALSE(none.timerActive());
    EXPECT_EQ(none.headingLabels().size(), 3u);
    EXPECT_EQ(none.headingLabels()[2]->text(), QStringLiteral(u"ИО"));
    EXPECT_TRUE(allEmpty(none.contentLabels()));
    ticks(none, 20);
    EXPECT_EQ(none.page(), 0);
    EXPECT_TRUE(none.showing());

    const int red = t.teams.findOrAdd(cyr("Красный дракон"));
    const int east = t.teams.findOrAdd(cyr("Восточный ветер"));
    t.team[0] = t.team[1] = red;
    t.team[2] = east;
    {
        SlideShow zero(nullptr, t, SlideKind::TeamStandings, kFullHd, options());
        EXPECT_EQ(zero.pageCount(), 1);
        EXPECT_EQ(line(zero, 0, 3), strings({u"0", u"Красный дракон", u"0"}));
        EXPECT_EQ(line(zero, 1, 3), strings({u"0", u"Восточный ветер", u"0"}));
        EXPECT_TRUE(cell(zero, 2, 1, 3)->text().isEmpty());
    }
    t.pointsAt(0, 0) = 100;
    t.pointsAt(1, 1) = -300;
    t.pointsAt(0, 2) = 50;
    t.pointsAt(1, 5) = 100000; // no team: counts for nobody
    SlideShow ranked(nullptr, t, SlideKind::TeamStandings, kFullHd, options());
    EXPECT_EQ(line(ranked, 0, 3), strings({u"1", u"Восточный ветер", u"50"}));
    EXPECT_EQ(line(ranked, 1, 3), strings({u"2", u"Красный дракон", u"-200"}));
}

TEST(StandingsLists, NamesAreShownAsPlainText) {
    Tournament t = seatedTournament(12, 2, 1);
    t.setName(0, "<b>Bold</b> <i>x</i>");
    SlideShow show(nullptr, t, SlideKind::Standings, kFullHd, options());
    EXPECT_EQ(cell(show, 0, 2, 4)->text(), QStringLiteral(u"<b>Bold</b> <i>x</i>"));
    EXPECT_EQ(cell(show, 0, 2, 4)->textFormat(), Qt::PlainText);
}

} // namespace
} // namespace quelna::test
