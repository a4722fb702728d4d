// quelna-cli end to end: the real binary, real files, its output and exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

using Result = test_support::RunResult;
using test_support::readFile;
using test_support::writeFile;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

class Cli : public ::testing::Test {
  protected:
    Result run(const std::string& args) { return test_support::runProgram(QUELNA_CLI, args, dir); }

    // A tournament in registration: start numbers 1..n, no rounds.
    fs::path registration(int players, int rounds, bool numbered = true,
                          const std::string& name = "registration.csv") {
        std::string text = quelna::utf8ToCp1251("МЕСТО;НОМЕР;ИМЯ;КОМАНДА");
        for (int r = 1; r <= rounds; ++r)
            text += quelna::utf8ToCp1251(";СТОЛ" + std::to_string(r) + ";ИО" + std::to_string(r));
        text += quelna::utf8ToCp1251(";ИО_ИТОГ") + "\r\n";
        for (int p = 0; p < players; ++p) {
            text += "0;" + std::to_string(numbered ? p + 1 : 1) + ";Player " +
                    std::to_string(p + 1) + ";";
            for (int r = 0; r < rounds; ++r)
                text += ";0;0";
            text += ";0\r\n";
        }
        const fs::path path = dir / name;
        writeFile(path, text);
        return path;
    }

    test_support::ScratchDir scratch{"quelna_cli"};
    const fs::path& dir = scratch.path();
};

const std::regex kReport(R"(round=(\d+) result=(seated|failed) method=(exhaustive|random) )"
                         R"(variants=(\d+) repeats=(-?\d+) factor=(-?\d+)( ahead=\d+)?)");

TEST_F(Cli, SimulateIsReproducibleAndReportsEveryRound) {
    const std::string args = "simulate --players 32 --rounds 5 --teams --seed 3 "
                             "--exhaustive-variants 5000 --random-variants 20000 "
                             "--exhaustive-seconds 0 --random-seconds 0";
    const Result first = run(args);
    const Result second = run(args);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    EXPECT_TRUE(first.err.empty());

    const std::vector<std::string> out = lines(first.out);
    ASSERT_EQ(out.size(), 5u + 1 + 32);
    for (int c = 0; c < 5; ++c) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(out[c], m, kReport)) << out[c];
        EXPECT_EQ(m[1], std::to_string(c + 1));
        EXPECT_EQ(m[2], "seated");
        EXPECT_EQ(m[5], "0") << out[c];
    }
    EXPECT_EQ(out[5].rfind(quelna::utf8ToCp1251("МЕСТО;НОМЕР;ИМЯ;КОМАНДА;СТОЛ1"), 0), 0u);

    // --out writes the same file and leaves only the report on standard output.
    const Result toFile = run(args + " --out " + (dir / "t.csv").string());
    ASSERT_EQ(toFile.status, 0);
    EXPECT_EQ(lines(toFile.out), std::vector<std::string>(out.begin(), out.begin() + 5));
    const std::string csv = readFile(dir / "t.csv");
    EXPECT_EQ(first.out.substr(first.out.size() - csv.size()), csv);
}

TEST_F(Cli, SimulateStopsAtTheFirstRoundWithoutASeating) {
    // Twelve players have no second round without a repeat meeting.
    const Result r =
        run("simulate --players 12 --rounds 3 --seed 1 --out " + (dir / "t.csv").string());
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(out[1], m, kReport));
    EXPECT_EQ(m[2], "failed");
    EXPECT_EQ(m[3], "random");
    EXPECT_EQ(m[5], "-1");
    EXPECT_EQ(m[6], "-1");
    // The file was written with round 1 and nobody seated in round 2.
    const std::vector<std::string> csv = lines(readFile(dir / "t.csv"));
    ASSERT_EQ(csv.size(), 13u);
    for (std::size_t i = 1; i < csv.size(); ++i)
        EXPECT_NE(csv[i].find(";0;0;0;0;"), std::string::npos) << csv[i];
}

TEST_F(Cli, SeatAdvancesASavedTournamentRoundByRound) {
    const fs::path file = registration(16, 2);
    const std::string before = readFile(file);

    Result r = run("seat " + file.string() + " --out " + (dir / "other.csv").string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(file), before); // --out leaves the input alone
    // Planned ahead by default: the one round after it shown seatable.
    EXPECT_EQ(r.out,
              "round=1 result=seated method=exhaustive variants=1 repeats=0 factor=0 ahead=1\n");

    r = run("seat " + file.string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(file), readFile(dir / "other.csv"));
    EXPECT_FALSE(fs::exists(file.string() + ".saving"));

    r = run("seat " + file.string() + " --seed 4");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("round=2 result=seated", 0), 0u) << r.out;

    r = run("seat " + file.string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("every round is already seated"), std::string::npos) << r.err;
}

TEST_F(Cli, SeatWithoutASeatingLeavesTheFileAlone) {
    const fs::path file = registration(12, 3);
    ASSERT_EQ(run("seat " + file.string()).status, 0);
    const std::string seated = readFile(file);
    // The plain search counts every dead end; the fast one proves the same at once.
    Result r = run("seat " + file.string() + " --search text");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "round=2 result=failed method=random variants=32 repeats=-1 factor=-1 ahead=0\n");
    EXPECT_EQ(readFile(file), seated);
    r = run("seat " + file.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("round=2 result=failed method=random", 0), 0u) << r.out;
    EXPECT_EQ(readFile(file), seated);

    // Proven impossible: --fewest-repeats seats anyway and lists every repeat pair.
    r = run("seat " + file.string() + " --fewest-repeats");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> out = lines(r.out);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(out.at(0), m,
                                 std::regex(R"(round=2 result=seated method=fewest-repeats )"
                                            R"(variants=\d+ repeats=(\d+) factor=\d+ ahead=0)")))
        << r.out;
    EXPECT_GT(std::stoi(m[1]), 0);
    EXPECT_EQ(out.size(), 1u + std::stoul(m[1]));
    for (std::size_t i = 1; i < out.size(); ++i)
        EXPECT_EQ(out[i].rfind("repeat: ", 0), 0u) << out[i];
    EXPECT_NE(readFile(file), seated);
}

TEST_F(Cli, BadUsageAndUnusableInputExitWithTwoAndSayWhy) {
    const fs::path good = registration(12, 2);
    const fs::path badNumbers = registration(12, 2, false, "numbers.csv");
    const fs::path odd = dir / "odd.csv";
    writeFile(odd, readFile(good) + "0;13;Extra;;0;0;0;0;0\r\n");
    const fs::path foreign = dir / "foreign.csv";
    writeFile(foreign, "name;score\r\nA;1\r\n");
    fs::create_directories(dir / "folder");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "no command"},
        {"play", "unknown command"},
        {"simulate --rounds 4", "--players"},
        {"simulate --players 12", "--rounds"},
        {"simulate --players 14 --rounds 4", "multiple of 4"},
        {"simulate --players 204 --rounds 4", "multiple of 4"},
        {"simulate --players 12 --rounds 13", "rounds must be from 2 to 12"},
        {"simulate --players 12 --rounds 4 --seed -1", "--seed"},
        {"simulate --players 12 --rounds 4 --seed 4294967296", "--seed"},
        {"simulate --players 12 --rounds 4 --random-seconds x", "--random-seconds"},
        {"simulate --players 12 --rounds 4 --fixed-tables 4", "--fixed-tables"},
        {"simulate --players 12 --rounds 4 --overlap-tables", "needs a value"},
        {"simulate --players 12 --rounds 4 --colour red", "unknown option"},
        {"seat", "tournament file"},
        {"seat " + good.string() + " --players 12", "unknown option"},
        {"seat " + good.string() + " extra.csv", "unexpected argument"},
        {"seat " + (dir / "missing.csv").string(), "cannot read"},
        {"seat " + (dir / "folder").string(), "cannot read"},
        {"seat " + odd.string(), "multiple of 4"},
        {"seat " + foreign.string(), "not a tournament file"},
        {"seat " + badNumbers.string(), "start numbers"},
        {"seat " + good.string() + " --out " + (dir / "folder").string(), "cannot write"},
    };
    for (const auto& [args, message] : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    EXPECT_EQ(readFile(good), readFile(registration(12, 2))); // nothing was written

    const Result help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("quelna-cli simulate --players N --rounds R"), std::string::npos);
}

// The version is set once, in project(VERSION ...) of the top CMakeLists.txt.
TEST_F(Cli, VersionIsTheProjectVersion) {
    const std::string cmake = readFile(fs::path(QUELNA_TEST_DATA) / ".." / ".." / "CMakeLists.txt");
    std::smatch match;
    ASSERT_TRUE(
        std::regex_search(cmake, match, std::regex(R"(project\(quelna VERSION ([0-9.]+))")));
    const Result r = run("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "quelna-cli " + match[1].str() + "\n");
    EXPECT_TRUE(r.err.empty());
}

TEST_F(Cli, GoldenSeatings) {
    const fs::path data = fs::path(QUELNA_TEST_DATA) / "seating";
    std::ifstream cases(data / "cases.txt");
    int count = 0;
    for (std::string line; std::getline(cases, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> field;
        std::istringstream parts(line);
        for (std::string f; std::getline(parts, f, '|');)
            field.push_back(f.substr(f.find_first_not_of(' '),
                                     f.find_last_not_of(' ') - f.find_first_not_of(' ') + 1));
        ASSERT_EQ(field.size(), 4u) << line;
        const fs::path out = dir / "out.csv";
        const Result r =
            run("seat " + (data / field[0]).string() + " --out " + out.string() + " " + field[2]);
        EXPECT_EQ(r.status, 0) << line << r.err;
        EXPECT_EQ(r.out, field[3] + "\n") << line;
        EXPECT_TRUE(readFile(out) == readFile(data / field[1])) << "differs from " << field[1];
        ++count;
    }
    EXPECT_GE(count, 4);
}

} // namespace
