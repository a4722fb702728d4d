// A tournament saved into a folder with a Cyrillic name reads back unchanged; on Windows this
// runs the UTF-8 to UTF-16 path of every file call (the test runs under Wine there).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/fs_path.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/test_data.h"
#include "core/text.h"
#include "files/tournament_csv.h"

using namespace quelna;
namespace fs = std::filesystem;

namespace {

std::string csv(const Tournament& t) {
    std::ostringstream out;
    EXPECT_TRUE(writeTournamentCsv(t, out));
    return out.str();
}

TEST(CyrillicFolder, TournamentSettingsAndAutosaveReadBack) {
    // Built from char8_t so the folder on disk has the Cyrillic name whatever the program does.
    const fs::path folder = fs::temp_directory_path() / fs::path(u8"Турнир");
    fs::remove_all(folder);
    ASSERT_TRUE(fs::create_directories(folder));
    const std::string dir = pathText(fs::temp_directory_path()) + "/Турнир";

    Random random(7);
    Tournament t(16, 3);
    generateRandomNames(t, random);
    generateRandomTeams(t, random);
    numberPlayersInOrder(t);
    for (int p = 0; p < t.playerCount; ++p)
        t.tableAt(0, p) = p / 4;
    t.purgeUnusedTeams();
    t.normalizeRounds();
    generateRandomResults(t, 0, random);

    const std::string file = dir + "/Итоги тура.csv";
    ASSERT_TRUE(saveTournamentFile(t, file));
    EXPECT_TRUE(fs::is_regular_file(folder / fs::path(u8"Итоги тура.csv")));
    ASSERT_TRUE(saveTournamentFile(t, file)) << "replacing the file failed";
    Tournament back(16, 3);
    ASSERT_TRUE(loadTournamentFile(back, file));
    EXPECT_EQ(csv(back), csv(t));

    EXPECT_TRUE(autosaveRound(t, 1, dir, true));
    Tournament autosaved(16, 3);
    ASSERT_TRUE(loadTournamentFile(autosaved, autosavePath(dir, 1)));
    EXPECT_EQ(csv(autosaved), csv(t));

    Settings s;
    loadSettings(s, dir + "/quelna.ini");
    s.slideLines = 16;
    s.tournamentTitle = utf8ToCp1251("Кубок города");
    ASSERT_TRUE(saveSettings(s));
    Settings again;
    loadSettings(again, dir + "/quelna.ini");
    EXPECT_EQ(again.slideLines, 16);
    EXPECT_EQ(again.tournamentTitle, s.tournamentTitle);

    // Exactly the three files: no temporary file stayed behind, nothing went elsewhere.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 3);
    fs::remove_all(folder);
}

} // namespace
