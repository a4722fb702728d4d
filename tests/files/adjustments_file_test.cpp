// The section of substitutes and penalties in files shorter than the record and among lines that
// cannot be used, and dropped with the rounds it belongs to. The 200 x 12 tournament with
// substitutes and penalties is tests/print/adjusted_tournament_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/text.h"
#include "files/tournament_csv.h"

using namespace quelna;

TEST(AdjustmentsFile, SectionSurvivesShortFilesAndBadLinesAndIsDroppedWithItsRounds) {
    Tournament t(12, 3);
    for (int p = 0; p < 12; ++p) {
        t.setRegistration(p, "P" + std::to_string(p), "", p + 1);
        t.tableAt(0, p) = p / 4;
        t.tableAt(1, p) = p % 3;
        t.pointsAt(0, p) = p % 4 == 0 ? 300 : -100;
    }
    t.normalizeRounds();
    t.adjustments.setSubstitute(0, 5, Substitute{"S;x", -300});
    t.adjustments.addPenalty(1, 4, Penalty{-20, "late"});
    std::string text = tournamentCsvText(t);
    // Names and reasons never break the section's fields.
    EXPECT_NE(text.find("S,x"), std::string::npos);

    // A record with more slots than the file has rows stops at the section.
    Tournament bigger(16, 3);
    readTournamentCsv(bigger, text);
    EXPECT_TRUE(bigger.names[12].empty());
    const auto row = std::ranges::find(bigger.names, "P5") - bigger.names.begin();
    EXPECT_NE(bigger.adjustments.substitute(0, static_cast<int>(row)), nullptr);

    // Lines that cannot be used are skipped; the others still count.
    text += utf8ToCp1251("ШТРАФ;9;1;-5;beyond the rounds\r\nЗАМЕНА;1;x;0;0;bad\r\nmisc\r\n");
    Tournament back(12, 3);
    readTournamentCsv(back, text);
    back.normalizeRounds();
    EXPECT_EQ(back.adjustments.allPenalties().size(), 1u);

    // Dropping round 2's seating drops its penalty with it.
    for (int p = 0; p < 12; ++p)
        back.tableAt(1, p) = -1;
    back.normalizeRounds();
    EXPECT_TRUE(back.adjustments.allPenalties().empty());
    EXPECT_EQ(back.adjustments.allSubstitutes().size(), 1u);

    // Written, read back (slots now in standings order) and written again, the section comes out
    // the same: lines follow the rows they name, a seat's penalties in the order given.
    Tournament many = t;
    many.adjustments.addPenalty(0, 11, Penalty{-10, "b"});
    many.adjustments.addPenalty(0, 0, Penalty{-30, "a"});
    many.adjustments.addPenalty(0, 0, Penalty{-40, "a2"});
    many.adjustments.setSubstitute(1, 2, Substitute{"Q", -300});
    many.adjustments.setLeftFrom(9, 1);
    many.adjustments.setLeftFrom(1, 2);
    const std::string first = tournamentCsvText(many);
    Tournament again(12, 3);
    readTournamentCsv(again, first);
    again.normalizeRounds();
    EXPECT_EQ(tournamentCsvText(again), first);

    // A result the penalties push past 32 bits is never saved clamped: the save is refused.
    Tournament beyond = t;
    beyond.pointsAt(0, 3) = -2'147'000'000;
    beyond.adjustments.addPenalty(0, 3, Penalty{-9'999'999, "x"});
    const std::string path = testing::TempDir() + "quelna_beyond_range.csv";
    std::string why;
    EXPECT_FALSE(saveTournamentFile(beyond, path, &why));
    EXPECT_NE(why.find("P3 in round 1 with its penalties is beyond the range"), std::string::npos)
        << why;
    EXPECT_FALSE(std::filesystem::exists(path));
}
