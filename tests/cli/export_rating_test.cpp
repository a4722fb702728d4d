// quelna-cli export-rating: the written file is read by the portal's own rules (strict UTF-8,
// csv.DictReader, integer place, two-word name, decimal score), and names that are not two words
// are refused by row.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "core/standings.h"
#include "core/test_data.h"
#include "core/text.h"
#include "files/tournament_csv.h"
#include "support/rating_portal.h"
#include "support/run_program.h"

using namespace quelna;
namespace fs = std::filesystem;

namespace {

// 48 players, 4 rounds, every round played; ties, two substitutes and a penalty.
Tournament played() {
    Tournament t(48, 4);
    Random random(11);
    generateRandomNames(t, random);
    numberPlayersInOrder(t);
    t.setName(5, utf8ToCp1251("Ёлкина,  \"Аня\""));
    const int spread[4] = {1, 5, 7, 11}; // coprime to 48: four players at every table
    for (int r = 0; r < 4; ++r) {
        for (int p = 0; p < 48; ++p)
            t.tableAt(r, p) = (p * spread[r] + 7 * r) % 48 / 4;
        t.normalizeRounds();
        generateRandomResults(t, r, random);
    }
    for (int p : {7, 8, 9}) // three equal totals
        t.pointsAt(3, p) = t.pointsAt(3, p) - t.runningTotal(p, 4) + 1000;
    t.adjustments.setSubstitute(1, 3, Substitute{"", -30000});
    t.adjustments.setSubstitute(2, 3, Substitute{"", -30000});
    t.adjustments.addPenalty(0, 4, Penalty{-20000, "chombo"});
    t.normalizeRounds();
    EXPECT_EQ(t.currentRound, 4);
    return t;
}

} // namespace

TEST(ExportRating, PortalRulesReadEveryRowAndBadNamesAreRefused) {
    if (std::system("python3 -c pass >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not available";
    test_support::ScratchDir dir("export_rating");
    const Tournament t = played();
    ASSERT_TRUE(saveTournamentFile(t, (dir.path() / "in.csv").string()));
    test_support::writeFile(dir.path() / "portal.py", test_support::kRatingPortalRules);

    auto run = test_support::runProgram(QUELNA_CLI,
                                        "export-rating " + (dir.path() / "in.csv").string() +
                                            " --out " + (dir.path() / "out.csv").string(),
                                        dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    const auto portal = test_support::runProgram(
        "python3", (dir.path() / "portal.py").string() + " " + (dir.path() / "out.csv").string(),
        dir.path());
    ASSERT_EQ(portal.status, 0) << portal.err;

    // What the portal read, row by row, against the standings recomputed here.
    std::vector<int> order;
    std::vector<std::string> places;
    ASSERT_FALSE(rankPlayers(t, 4, order, places));
    std::istringstream rows(portal.out);
    std::string row;
    int place = 1, ties = 0;
    for (int i = 0; i < 48; ++i) {
        ASSERT_TRUE(std::getline(rows, row)) << "row " << i;
        const int p = order[i];
        const int total = t.runningTotal(p, 4);
        if (i > 0 && total != t.runningTotal(order[i - 1], 4))
            place = i + 1;
        else if (i > 0)
            ++ties;
        std::string name = cp1251ToUtf8(t.names[p]);
        if (p == 5)
            name = "Ёлкина, \"Аня\"";
        const int games = p == 3 ? 2 : 4;
        EXPECT_EQ(row, std::to_string(place) + '|' + name + '|' + std::to_string(total) + ".0|" +
                           std::to_string(games));
    }
    EXPECT_GE(ties, 2);
    EXPECT_FALSE(std::getline(rows, row));

    // One word and three words: nothing written, both rows named.
    Tournament bad = t;
    bad.setName(order[0], utf8ToCp1251("Иванов"));
    bad.setName(order[47], utf8ToCp1251("Иван Петрович Сидоров"));
    // Names a spreadsheet would run as formulas, two words or not.
    const char* formulas[] = {"=HYPERLINK(\"http://x\";\"y\") Иван", "+7(900) Петров",
                              "-Сидоров Пётр", "@SUM(A1) Анна", "=1+1"};
    for (int i = 0; i < 5; ++i)
        bad.setName(order[10 + i], utf8ToCp1251(formulas[i]));
    ASSERT_TRUE(saveTournamentFile(bad, (dir.path() / "bad.csv").string()));
    run = test_support::runProgram(QUELNA_CLI,
                                   "export-rating " + (dir.path() / "bad.csv").string() +
                                       " --out " + (dir.path() / "bad_out.csv").string(),
                                   dir.path());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("1: \"Иванов\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("48: \"Иван Петрович Сидоров\""), std::string::npos) << run.err;
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(run.err.find(std::to_string(11 + i) + ": \"" +
                               cp1251ToUtf8(bad.names[order[10 + i]]) +
                               "\" would be taken as a formula"),
                  std::string::npos)
            << run.err;
    EXPECT_NE(run.err.find("15: \"=1+1\" is not two words"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "bad_out.csv"));
}
