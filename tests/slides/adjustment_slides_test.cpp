// The round's tables show who played for whom, and the standings mark a total with penalties.
// With QUELNA_SLIDES_SHOTS set, the two slides are also saved as pictures.
#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

#include "slide_test_support.h"

namespace quelna::test {
namespace {

// Each label's text as one line: a substitute's seat that does not fit one line in the slide's
// font (the fonts differ between systems) takes two, the player over the substitute.
QStringList labelTexts(const SlideShow& show) {
    QStringList out;
    for (const QLabel* l : show.findChildren<QLabel*>())
        out << QString(l->text()).replace(QStringLiteral("\n→"), QStringLiteral(" →"));
    return out;
}

TEST(AdjustmentSlides, SubstituteOnTheTablesAndPenaltyMarkInTheStandings) {
    Tournament t = seatedTournament(16, 2, 2);
    for (int r = 0; r < 2; ++r)
        for (int table = 0; table < 4; ++table)
            for (int s = 0; s < 4; ++s)
                t.pointsAt(r, t.playerAt(r, table, s)) = (3 - 2 * s) * 1000 * (table + 1);
    const int sub = t.playerAt(1, 2, 1);
    t.adjustments.setSubstitute(1, sub, Substitute{cyr("Петров Пётр"), -30000});
    t.adjustments.addPenalty(0, 7, Penalty{-20000, cyr("Чомбо")});
    const QString dir = qEnvironmentVariable("QUELNA_SLIDES_SHOTS");

    SlideShow tables(nullptr, t, SlideKind::RoundResults, kFullHd, options(2, 2, 8, 7));
    EXPECT_TRUE(
        labelTexts(tables).contains(nameOf(sub) + QStringLiteral(u" → замена: Петров Пётр")));
    SlideShow standings(nullptr, t, SlideKind::Standings, kFullHd, options(2, 2, 16, 7));
    const QString total = QString::number(t.runningTotal(7, 2)) + QLatin1Char('*');
    EXPECT_TRUE(labelTexts(standings).contains(total))
        << labelTexts(standings).join(u'|').toStdString();
    EXPECT_TRUE(labelTexts(standings).contains(QString::number(t.runningTotal(sub, 2))));
    if (!dir.isEmpty()) {
        ASSERT_TRUE(QDir().mkpath(dir));
        EXPECT_TRUE(
            tables.grab().save(QDir(dir).filePath(QStringLiteral("slides_substitute.png"))));
        EXPECT_TRUE(
            standings.grab().save(QDir(dir).filePath(QStringLiteral("slides_penalty.png"))));
    }
}

} // namespace
} // namespace quelna::test
