// Seating and round-result slides: card geometry, contents and pages.
#include <gtest/gtest.h>

#include "slide_test_support.h"

namespace quelna::test {
namespace {

constexpr int kLabelsPerCard = 9;
QLabel* caption(const SlideShow& s, int card) {
    return s.contentLabels()[card * kLabelsPerCard];
}
QLabel* name(const SlideShow& s, int card, int seat) {
    return s.contentLabels()[card * kLabelsPerCard + 1 + 2 * seat];
}
QLabel* value(const SlideShow& s, int card, int seat) {
    return s.contentLabels()[card * kLabelsPerCard + 2 + 2 * seat];
}

TEST(TableCards, TwoByTwoGeometryOnFullHd) {
    const Tournament t = seatedTournament(16, 4, 1);
    SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options(2, 2));

    EXPECT_EQ(show.geometry(), kFullHd);
    EXPECT_EQ(show.titleLabel()->geometry(), QRect(38, 0, 1844, 75));
    EXPECT_EQ(show.titleLabel()->text(), QStringLiteral(u"Кубок города"));
    EXPECT_EQ(show.titleLabel()->font().pixelSize(), 52);
    EXPECT_EQ(show.titleLabel()->font().weight(), QFont::Normal);
    EXPECT_EQ(show.titleLabel()->font().family(), QStringLiteral(u"Arial"));
    ASSERT_NE(show.roundLabel(), nullptr);
    EXPECT_EQ(show.roundLabel()->geometry(), QRect(38, 75, 1844, 75));
    EXPECT_EQ(show.roundLabel()->font().pixelSize(), 60);
    EXPECT_EQ(show.roundLabel()->alignment(), Qt::AlignCenter);

    ASSERT_EQ(show.contentLabels().size(), 4u * kLabelsPerCard);
    // cards at x = 38, 979 and y = 150, 615; cardW 903, cardH 433, rowH 81, capH 109, nameW 767
    const int xs[] = {38, 979, 38, 979};
    const int ys[] = {150, 150, 615, 615};
    for (int k = 0; k < 4; ++k) {
        const int x = xs[k], y = ys[k];
        SCOPED_TRACE(k);
        EXPECT_EQ(caption(show, k)->geometry(), QRect(x + 1, y + 1, 901, 107));
        EXPECT_EQ(caption(show, k)->font().pixelSize(), 87);
        EXPECT_EQ(caption(show, k)->font().weight(), QFont::Normal);
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(name(show, k, s)->geometry(), QRect(x + 1, y + 109 + s * 81 + 1, 765, 79));
            EXPECT_EQ(value(show, k, s)->geometry(),
                      QRect(x + 767 + 1, y + 109 + s * 81 + 1, 134, 79));
            EXPECT_EQ(name(show, k, s)->font().pixelSize(), 48);
            EXPECT_EQ(value(show, k, s)->font().weight(), QFont::Bold);
            EXPECT_EQ(name(show, k, s)->alignment(), Qt::AlignCenter);
        }
        EXPECT_TRUE(hasFrame(show, QRect(x, y, 903, 433)));
        EXPECT_TRUE(hasFrame(show, QRect(x, y + 109, 903, 1)));
        for (int s = 1; s < 4; ++s)
            EXPECT_TRUE(hasFrame(show, QRect(x, y + 109 + s * 81, 903, 1)));
        EXPECT_TRUE(hasFrame(show, QRect(x + 767, y + 109, 1, 324)));
    }
    EXPECT_EQ(show.frames().size(), 4u * 6u);
}

TEST(TableCards, ResultsNameColumnIsNarrower) {
    const Tournament t = seatedTournament(16, 4, 1);
    SlideShow show(nullptr, t, SlideKind::RoundResults, kFullHd, options(2, 2));
    EXPECT_EQ(name(show, 1, 0)->geometry(), QRect(980, 260, 675, 79));
    EXPECT_EQ(value(show, 1, 0)->geometry(), QRect(979 + 677 + 1, 260, 224, 79));
    EXPECT_TRUE(hasFrame(show, QRect(979 + 677, 150 + 109, 1, 324)));
}

TEST(TableCards, FourByFourPagesOf200Players) {
    const Tournament t = seatedTournament(200, 12, 1);
    SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options(4, 4, 8, 5));

    // cardW 432, cardH 200, rowH 37, capH 52; fonts 41 and 22
    ASSERT_EQ(show.contentLabels().size(), 16u * kLabelsPerCard);
    EXPECT_EQ(caption(show, 0)->geometry(), QRect(39, 151, 430, 50));
    EXPECT_EQ(caption(show, 0)->font().pixelSize(), 41);
    EXPECT_EQ(name(show, 0, 0)->font().pixelSize(), 22);
    EXPECT_EQ(caption(show, 5)->geometry(), QRect(38 + 470 + 1, 150 + 232 + 1, 430, 50));
    EXPECT_EQ(name(show, 15, 3)->geometry(),
              QRect(38 + 3 * 470 + 1, 150 + 3 * 232 + 52 + 3 * 37 + 1, 432 * 85 / 100 - 2, 35));

    EXPECT_EQ(show.pageCount(), 4);
    EXPECT_TRUE(show.timerActive());
    EXPECT_EQ(caption(show, 0)->text(), QStringLiteral(u"СТОЛ № 1 "));
    EXPECT_EQ(caption(show, 15)->text(), QStringLiteral(u"СТОЛ № 16 "));

    // 6 ticks shown, 1 blank, per page
    ticks(show, 3 * 7);
    ASSERT_EQ(show.page(), 3);
    ASSERT_TRUE(show.showing());
    EXPECT_EQ(caption(show, 0)->text(), QStringLiteral(u"СТОЛ № 49 "));
    EXPECT_EQ(caption(show, 1)->text(), QStringLiteral(u"СТОЛ № 50 "));
    for (int s = 0; s < 4; ++s) {
        EXPECT_FALSE(name(show, 1, s)->text().isEmpty());
        EXPECT_FALSE(value(show, 1, s)->text().isEmpty());
    }
    const std::vector<QLabel*>& labels = show.contentLabels();
    EXPECT_TRUE(allEmpty({labels.begin() + 2 * kLabelsPerCard, labels.end()}));
    EXPECT_EQ(show.frames().size(), 16u * 6u);
}

TEST(TableCards, SeatingCardListsSeatsWithStartNumbers) {
    Tournament t = seatedTournament(12, 3, 0);
    // table 0 holds players 0, 5, 7, 9; player 9 has no start number
    const int table0[] = {9, 7, 5, 0};
    for (int p = 0; p < 12; ++p)
        t.tableAt(0, p) = -1;
    int next = 0;
    for (int p : table0)
        t.tableAt(0, p) = 0;
    for (int p = 0; p < 12; ++p)
        if (t.tableAt(0, p) < 0)
            t.tableAt(0, p) = 1 + next++ / 4;
    t.playerNumber[9] = -1;
    t.setName(7, cyr("Ёлкина Юлия Эдуардовна"));
    t.normalizeRounds();
    ASSERT_EQ(t.currentRound, 1);

    SlideShow show(nullptr, t, SlideKind::Seating, kFullHd, options(2, 2));
    EXPECT_EQ(show.roundLabel()->text(), QStringLiteral(u"ТУР № 1:"));
    EXPECT_EQ(show.pageCount(), 1);
    EXPECT_FALSE(show.timerActive());
    // round 1: seats follow start numbers, the one without a number first, shown as 0
    EXPECT_EQ(caption(show, 0)->text(), QStringLiteral(u"СТОЛ № 1 "));
    const QStringList names = {nameOf(9), nameOf(0), nameOf(5),
                               QStringLiteral(u"Ёлкина Юлия Эдуардовна")};
    const QStringList numbers = strings({u"0", u"1", u"6", u"8"});
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(name(show, 0, s)->text(), names[s]);
        EXPECT_EQ(value(show, 0, s)->text(), numbers[s]);
    }
    // the fourth card of 12 players is empty, its frame and lines stay
    EXPECT_EQ(caption(show, 2)->text(), QStringLiteral(u"СТОЛ № 3 "));
    EXPECT_TRUE(
        allEmpty({show.contentLabels().begin() + 3 * kLabelsPerCard, show.contentLabels().end()}));
    EXPECT_TRUE(hasFrame(show, QRect(979, 615, 903, 433)));
    show.tick();
    EXPECT_TRUE(show.showing());
    EXPECT_EQ(show.secondsShown(), 0);
}

TEST(TableCards, ResultsShowSignedPointsOfTheLatestRound) {
    Tournament t = seatedTournament(16, 4, 3);
    ASSERT_EQ(t.currentRound, 3);
    const int p0 = t.playerAt(2, 0, 0), p1 = t.playerAt(2, 0, 1);
    const int p2 = t.playerAt(2, 0, 2), p3 = t.playerAt(2, 0, 3);
    t.pointsAt(2, p0) = 32500;
    t.pointsAt(2, p1) = -12300;
    t.pointsAt(2, p2) = -20200;
    t.pointsAt(1, p3) = 777; // an earlier round is not shown; p3 has typed nothing yet
    SlideShow show(nullptr, t, SlideKind::RoundResults, kFullHd, options(2, 2));
    EXPECT_EQ(show.roundLabel()->text(), QStringLiteral(u"ТУР № 3:"));
    EXPECT_EQ(name(show, 0, 0)->text(), nameOf(p0));
    EXPECT_EQ(value(show, 0, 0)->text(), QStringLiteral(u"32500"));
    EXPECT_EQ(value(show, 0, 1)->text(), QStringLiteral(u"-12300"));
    EXPECT_EQ(value(show, 0, 2)->text(), QStringLiteral(u"-20200"));
    EXPECT_EQ(value(show, 0, 3)->text(), QStringLiteral(u"0"));
    EXPECT_EQ(show.pageCount(), 1);
}

TEST(TableCards, UnseatedRoundLeavesCardsEmpty) {
    // Not offered by the menu, but an empty tournament must not crash the show.
    const Tournament t = seatedTournament(12, 2, 0);
    SlideShow show(nullptr, t, SlideKind::RoundResults, kFullHd, options(2, 2));
    EXPECT_EQ(caption(show, 0)->text(), QStringLiteral(u"СТОЛ № 1 "));
    EXPECT_TRUE(name(show, 0, 0)->text().isEmpty());
}

} // namespace
} // namespace quelna::test
