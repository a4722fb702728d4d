// quelna-cli seat never cuts a file back, keeps hand placements, and shares no file with another
// run: the real binary on real files.
#include <gtest/gtest.h>
#include <sys/file.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/tournament.h"
#include "files/tournament_csv.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using quelna::Tournament;
using test_support::readFile;
using test_support::writeFile;

using Result = test_support::RunResult;

class CliSafety : public ::testing::Test {
  protected:
    Result run(const std::string& args) { return test_support::runProgram(QUELNA_CLI, args, dir); }

    // A whole tournament played by the simulator: every round seated and scored.
    std::string played(int players, int rounds) {
        const fs::path file = dir / "played.csv";
        const Result r = run("simulate --players " + std::to_string(players) + " --rounds " +
                             std::to_string(rounds) + " --seed 5 --out " + file.string());
        EXPECT_EQ(r.status, 0) << r.err;
        return readFile(file);
    }

    test_support::ScratchDir scratch{"quelna_cli_safety"};
    const fs::path& dir = scratch.path();
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line + "\n");
    return result;
}

std::string joined(const std::vector<std::string>& ls) {
    std::string text;
    for (const std::string& l : ls)
        text += l;
    return text;
}

// The position of field `index` (0-based, ';'-separated) in a line.
std::size_t fieldAt(const std::string& line, int index) {
    std::size_t at = 0;
    for (int i = 0; i < index; ++i)
        at = line.find(';', at) + 1;
    return at;
}

} // namespace

TEST_F(CliSafety, DataAfterAnIncompleteRoundIsRefusedAndTheFileStaysByteForByte) {
    // Five rounds played; one fault in round 2 would make a seat run drop rounds 2 to 5.
    const std::vector<std::string> rows = lines(played(16, 5));
    auto edited = [&](int row, int field, const std::string& text) {
        std::vector<std::string> copy = rows;
        std::string& line = copy[row - 1];
        const std::size_t at = fieldAt(line, field);
        line.replace(at, line.find(';', at) - at, text);
        return joined(copy);
    };
    std::string truncated = joined(rows);
    truncated.resize(truncated.size() - rows.back().size() + fieldAt(rows.back(), 7));
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"bad table number in round 2", edited(4, 6, "99"),
         "round 2 is not complete (line 4), yet line 2 holds a table or points of round 2"},
        {"truncated last line", truncated, "round 2 is not complete (line 17, ИО2: '' is empty)"},
        {"NUL byte in round 2", edited(9, 6, std::string("\0", 1)),
         "round 2 is not complete (line 9, СТОЛ2: ' ' is not a whole number)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir / "t.csv";
        writeFile(file, c.bytes);
        const Result r = run("seat " + file.string());
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(readFile(file), c.bytes);
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_EQ(e.path().string().find(".saving"), std::string::npos) << e.path();
    }
}

TEST_F(CliSafety, HandPlacedPlayersKeepTheirTablesAndPointsThereAreRefused) {
    // Round 1 played, round 2 open with three players placed by hand at table 3.
    Tournament t(16, 3);
    {
        std::istringstream in(played(16, 3));
        quelna::readTournamentCsv(t, in);
    }
    for (int r = 1; r < 3; ++r)
        for (int p = 0; p < 16; ++p) {
            t.tableAt(r, p) = -1;
            t.pointsAt(r, p) = 0;
        }
    const std::vector<int> hand = {0, 5, 9};
    for (int p : hand)
        t.tableAt(1, p) = 2;
    const fs::path file = dir / "t.csv";
    writeFile(file, quelna::tournamentCsvText(t));
    const std::string placed = readFile(file);

    Result r = run("seat " + file.string() + " --seed 3");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("round=2 result=seated", 0), 0u) << r.out;
    Tournament seated(16, 3);
    {
        std::istringstream in(readFile(file));
        quelna::readTournamentCsv(seated, in);
    }
    seated.normalizeRounds();
    EXPECT_EQ(seated.currentRound, 2);
    for (int p : hand) {
        const auto row = std::find(seated.names.begin(), seated.names.end(), t.names[p]);
        ASSERT_NE(row, seated.names.end());
        EXPECT_EQ(seated.tableAt(1, static_cast<int>(row - seated.names.begin())), 2) << t.names[p];
    }

    // Points at a hand-placed player are results the seating would drop.
    t.pointsAt(1, hand[0]) = 100;
    writeFile(file, quelna::tournamentCsvText(t));
    const std::string scored = readFile(file);
    r = run("seat " + file.string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("holds a table or points of round 2"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(file), scored);
    EXPECT_NE(placed, scored);
}

TEST_F(CliSafety, AFileInUseEndsTheSecondRunAndAFailedWriteExitsWithThree) {
    const fs::path file = dir / "t.csv";
    Tournament t(12, 2);
    for (int p = 0; p < 12; ++p)
        t.playerNumber[p] = p;
    writeFile(file, quelna::tournamentCsvText(t));
    const std::string before = readFile(file);
    const fs::path other = dir / "other.csv";
    writeFile(other, before);

    // Another run holds the lock on the input, then on --out.
    for (const fs::path& held : {file, other}) {
        SCOPED_TRACE(held.string());
        const int fd = ::open(held.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        const Result busy = run("seat " + file.string() + " --out " + other.string());
        ::close(fd);
        EXPECT_EQ(busy.status, 3);
        EXPECT_NE(busy.err.find(held.string() + " is in use by another run"), std::string::npos)
            << busy.err;
        EXPECT_EQ(readFile(file), before);
        EXPECT_EQ(readFile(other), before);
    }
    // Once the lock is free, the run goes ahead.
    EXPECT_EQ(run("seat " + file.string() + " --out " + other.string()).status, 0);

    const Result failed =
        run("seat " + file.string() + " --out " + (dir / "missing" / "x.csv").string());
    EXPECT_EQ(failed.status, 3);
    EXPECT_NE(failed.err.find("cannot write"), std::string::npos) << failed.err;
    EXPECT_NE(failed.err.find("No such file or directory"), std::string::npos) << failed.err;
    EXPECT_EQ(readFile(file), before);
    EXPECT_TRUE(run("--help").out.find("3 could not write") != std::string::npos);
}
