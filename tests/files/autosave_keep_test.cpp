// The load's warning about tables that do not sum to zero, the autosave that keeps an older file
// it would lose, and what a new start finds after an interrupted run.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "core/fs_path.h"
#include "core/random.h"
#include "core/test_data.h"
#include "files/autosave_keep.h"
#include "files/resume_point.h"
#include "files/tournament_csv.h"
#include "files/zero_sum_check.h"
#include "support/files.h"

using namespace quelna;
namespace fs = std::filesystem;

namespace {

// Rounds seated without repeats of a table pattern (seat s of table k in round r is the player
// with p % 4 == s and p / 4 == k - s * r), with random results.
Tournament played(int players, int roundCount, int seated, std::uint32_t seed) {
    Random random(seed);
    Tournament t(players, roundCount);
    generateRandomNames(t, random);
    numberPlayersInOrder(t);
    for (int r = 0; r < seated; ++r)
        for (int p = 0; p < players; ++p)
            t.tableAt(r, p) = ((p % 4) * r + p / 4) % t.tableCount();
    t.normalizeRounds();
    for (int r = 0; r < seated; ++r)
        generateRandomResults(t, r, random);
    return t;
}

TEST(UnbalancedTables, FoundPerRoundAndWordedWithRoundsSharingALine) {
    Tournament t = played(32, 4, 3, 5);
    EXPECT_TRUE(findUnbalancedTables(t).empty());
    EXPECT_EQ(unbalancedTablesWarning({}), "");
    t.pointsAt(0, t.playerAt(0, 3, 0)) += 10;  // table 4 of round 1
    t.pointsAt(0, t.playerAt(0, 6, 2)) -= 500; // table 7 of round 1
    t.pointsAt(2, t.playerAt(2, 3, 1)) += 1;
    t.pointsAt(2, t.playerAt(2, 6, 3)) += 1;
    const auto found = findUnbalancedTables(t);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].round, 0);
    EXPECT_EQ(found[0].table, 3);
    EXPECT_EQ(unbalancedTablesWarning(found), "Туры 1 и 3: столы 4, 7 — сумма не равна нулю.");

    const struct {
        std::vector<UnbalancedTable> tables;
        const char* text;
    } cases[] = {
        {{{1, 0}}, "Тур 2: стол 1 — сумма не равна нулю."},
        {{{0, 1}, {1, 1}, {2, 1}}, "Туры 1, 2 и 3: стол 2 — сумма не равна нулю."},
        {{{0, 1}, {1, 2}, {2, 1}},
         "Туры 1 и 3: стол 2 — сумма не равна нулю.\nТур 2: стол 3 — сумма не равна нулю."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unbalancedTablesWarning(c.tables), c.text);

    // Text and cells not typed yet are named in their own words, not as sums; a latest round
    // with nothing typed has just been seated and is not named at all.
    t.typePoints(1, t.playerAt(1, 2, 0), "abc");
    t.typePoints(1, t.playerAt(1, 5, 1), "");
    t.typePoints(1, t.playerAt(1, 6, 1), "12abc");
    t.typePoints(0, t.playerAt(0, 6, 0), "");
    EXPECT_EQ(unbalancedTablesWarning(findUnbalancedTables(t)),
              "Тур 1: стол 4 — сумма не равна нулю.\nТур 3: столы 4, 7 — сумма не равна нулю.\n"
              "Тур 2: столы 3, 7 — не число в ячейке.\n"
              "Тур 1: стол 7 — результаты не введены.\nТур 2: стол 6 — результаты не введены.");
    t.markRoundUntyped(2);
    EXPECT_EQ(unbalancedTablesWarning(findUnbalancedTables(t)),
              "Тур 1: стол 4 — сумма не равна нулю.\nТур 2: столы 3, 7 — не число в ячейке.\n"
              "Тур 1: стол 7 — результаты не введены.\nТур 2: стол 6 — результаты не введены.");
}

TEST(AutosaveKeep, OnlyAFileOfThisTournamentWithNoMoreInItIsReplaced) {
    const Tournament now = played(16, 4, 2, 9);
    Tournament fewerResults = now;
    for (int p = 0; p < 16; ++p)
        fewerResults.pointsAt(1, p) = 0;
    const Tournament other = played(16, 4, 2, 10);
    const struct {
        const char* what;
        std::string bytes;
        bool lost;
    } cases[] = {
        {"the same state", tournamentCsvText(now), false},
        {"an earlier state of it", tournamentCsvText(fewerResults), false},
        {"nothing at all", "", false},
        {"another tournament's players", tournamentCsvText(other), true},
        {"more players", tournamentCsvText(played(20, 4, 2, 9)), true},
        {"more rounds in the header", tournamentCsvText(played(16, 5, 2, 9)), true},
        {"a round more seated", tournamentCsvText(played(16, 4, 3, 9)), true},
        {"not a tournament file", "notes\r\n", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(autosaveWouldLose(now, c.bytes), c.lost) << c.what;
    EXPECT_TRUE(autosaveWouldLose(fewerResults, tournamentCsvText(now))) << "more results";
}

TEST(AutosaveKeep, TheOlderFileMovesAsideUnderADatedNameAndTheAutosaveGoesOn) {
    test_support::ScratchDir dir("autosave_keep");
    const std::string folder = pathText(dir.path());
    const Tournament older = played(200, 12, 4, 3);
    const Tournament truncated = played(16, 4, 4, 3);
    const std::string path = autosavePath(folder, 4);
    ASSERT_TRUE(saveTournamentFile(older, path));
    ASSERT_TRUE(autosaveRound(truncated, 4, folder, true));
    EXPECT_EQ(test_support::readFile(path), tournamentCsvText(truncated));

    std::tm when{};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 9, when.tm_hour = 14, when.tm_min = 2;
    const std::time_t stamp = std::mktime(&when);
    const std::string kept = keptAutosavePath(path, stamp);
    EXPECT_EQ(fs::path(kept).filename(), "autosave_tour4 (2026-12-09 14-02).csv");
    test_support::writeFile(kept, "taken");
    EXPECT_EQ(fs::path(keptAutosavePath(path, stamp)).filename(),
              "autosave_tour4 (2026-12-09 14-02 2).csv");

    int keptCopies = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (test_support::readFile(entry.path()) == tournamentCsvText(older))
            ++keptCopies;
    EXPECT_EQ(keptCopies, 1) << "the 200-player file is kept once, beside the new autosave";
    // Saving the same tournament again replaces its own file without another copy.
    ASSERT_TRUE(autosaveRound(truncated, 4, folder, true));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST(ResumePoint, TheMarkerAndTheNewestAutosave) {
    test_support::ScratchDir dir("resume_point");
    const std::string folder = pathText(dir.path());
    EXPECT_FALSE(wasInterrupted(folder));
    EXPECT_FALSE(newestAutosave(folder));
    ASSERT_TRUE(markRunning(folder));
    EXPECT_TRUE(wasInterrupted(folder));
    clearRunning(folder);
    EXPECT_FALSE(wasInterrupted(folder));

    const Tournament t = played(16, 4, 2, 1);
    ASSERT_TRUE(saveTournamentFile(t, autosavePath(folder, 2)));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(saveTournamentFile(t, autosavePath(folder, 1)));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    test_support::writeFile(dir.path() / "autosave_tour3 (2026-12-09 14-02).csv", "kept");
    test_support::writeFile(dir.path() / "autosave_tourX.csv", "other");
    const auto found = newestAutosave(folder);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->round, 1);
    EXPECT_EQ(found->path, autosavePath(folder, 1));
    EXPECT_LE(std::abs(std::time(nullptr) - found->saved), 60);
}

} // namespace
