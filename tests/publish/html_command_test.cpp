// quelna-cli html end to end: the real binary on a saved tournament, the files it writes and its
// exit status for bad input and a folder it cannot write.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/text.h"
#include "files/tournament_csv.h"
#include "played_tournament.h"
#include "publish/player_pages.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using namespace quelna;

using test_support::readFile;

class HtmlCommand : public ::testing::Test {
  protected:
    int run(const std::string& args, std::string* err = nullptr) {
        const test_support::RunResult r = test_support::runProgram(QUELNA_CLI, "html " + args, dir);
        if (err)
            *err = r.err;
        return r.status;
    }

    test_support::ScratchDir scratch{"quelna_html"};
    const fs::path& dir = scratch.path();
};

TEST_F(HtmlCommand, WritesTheFourPagesOfASavedTournament) {
    Tournament played = test::tournamentAwaitingResults(24, 5, 3, test::Seed{7}, test::Teams::With);
    const fs::path csv = dir / "event.csv";
    ASSERT_TRUE(saveTournamentFile(played, csv.string()));
    // What the program itself would show for the file it saved.
    Tournament loaded(24, 5);
    ASSERT_TRUE(loadTournamentFile(loaded, csv.string()));
    loaded.normalizeRounds();
    const PlayerPages expected =
        renderPlayerPages(loaded, utf8ToCp1251("Кубок & Ко"), nullptr, {.served = false});

    const fs::path out = dir / "site" / "2026";
    ASSERT_EQ(run(csv.string() + " --out " + out.string() + " --title 'Кубок & Ко'"), 0);
    EXPECT_EQ(readFile(out / "index.html"), expected.indexHtml);
    EXPECT_EQ(readFile(out / "standings.html"), expected.standingsHtml);
    EXPECT_EQ(readFile(out / "teams.html"), expected.teamsHtml);
    EXPECT_EQ(readFile(out / "seating.json"), expected.seatingJson);
    EXPECT_NE(expected.indexHtml.find("<h2>ТУР № 3</h2>"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 4)
        << "no temporary file stays behind";

    // Writing again replaces the pages.
    ASSERT_EQ(run(csv.string() + " --out " + out.string()), 0);
    EXPECT_EQ(readFile(out / "index.html"),
              renderIndexHtml(loaded, "", nullptr, {.served = false}));
}

TEST_F(HtmlCommand, BadInputIsTwoAndAnUnwritableFolderIsThree) {
    Tournament played =
        test::tournamentAwaitingResults(12, 2, 1, test::Seed{7}, test::Teams::Without);
    const fs::path csv = dir / "event.csv";
    ASSERT_TRUE(saveTournamentFile(played, csv.string()));
    std::ofstream(dir / "notes.txt") << "not a tournament\n";
    std::ofstream(dir / "tiny.csv", std::ios::binary) << utf8ToCp1251(
        "МЕСТО;НОМЕР;ИМЯ;КОМАНДА;СТОЛ1;ИО1;СТОЛ2;ИО2;ИО_ИТОГ\r\n0;1;A;;0;0;0;0;0\r\n");
    const std::string out = (dir / "out").string();
    std::string err;
    EXPECT_EQ(run((dir / "missing.csv").string() + " --out " + out, &err), 2);
    EXPECT_NE(err.find("cannot read"), std::string::npos) << err;
    EXPECT_EQ(run((dir / "notes.txt").string() + " --out " + out, &err), 2);
    EXPECT_NE(err.find("is not a tournament file"), std::string::npos) << err;
    EXPECT_EQ(run((dir / "tiny.csv").string() + " --out " + out, &err), 2);
    EXPECT_NE(err.find("multiple of 4"), std::string::npos) << err;
    EXPECT_EQ(run(csv.string(), &err), 2);
    EXPECT_NE(err.find("needs --out"), std::string::npos) << err;
    EXPECT_EQ(run(csv.string() + " --out " + out + " --colour red", &err), 2);
    EXPECT_FALSE(fs::exists(out));

    // A folder below a plain file can never be made.
    EXPECT_EQ(run(csv.string() + " --out " + (dir / "notes.txt" / "site").string(), &err), 3);
    EXPECT_NE(err.find("cannot write the pages"), std::string::npos) << err;
    // A page name taken by a folder cannot be replaced; nothing is reported as written.
    fs::create_directories(dir / "taken" / "teams.html");
    EXPECT_EQ(run(csv.string() + " --out " + (dir / "taken").string(), &err), 3);
    EXPECT_NE(err.find("teams.html"), std::string::npos) << err;
}

} // namespace
