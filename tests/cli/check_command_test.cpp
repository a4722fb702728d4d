// quelna-cli check end to end: every tournament simulate writes passes, and each fault planted in
// one is found, with the exit status a referee's script relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>

#include "core/random.h"
#include "core/test_data.h"
#include "core/tournament.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using test_support::readFile;
using test_support::writeFile;

class Check : public ::testing::Test {
  protected:
    test_support::RunResult run(const std::string& args) {
        return test_support::runProgram(QUELNA_CLI, args, dir);
    }
    fs::path simulate(const std::string& args, const std::string& name) {
        const fs::path path = dir / name;
        run("simulate " + args + " --out " + path.string());
        return path;
    }
    test_support::ScratchDir scratch{"quelna_check"};
    const fs::path& dir = scratch.path();
};

quelna::Tournament readRecord(const fs::path& path) {
    const std::string bytes = readFile(path);
    const quelna::CsvShape shape = quelna::measureTournamentCsv(bytes);
    quelna::Tournament t(shape.players, shape.rounds);
    quelna::readTournamentCsv(t, std::string_view(bytes));
    t.normalizeRounds();
    return t;
}

// Findings of a kind that break a rule, as "round:kind" from the JSON report.
std::vector<std::string> brokenRules(const std::string& json) {
    std::vector<std::string> found;
    const std::regex finding(R"re("kind":"([a-z-]+)","breaksRule":true,"round":(\d+|null))re");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), finding);
         it != std::sregex_iterator(); ++it)
        found.push_back((*it)[2].str() + ":" + (*it)[1].str());
    return found;
}

bool holds(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

TEST_F(Check, PassesEveryTournamentSimulateWrites) {
    struct Case {
        std::string simulate, check;
    };
    // Sizes and seeds with and without teams; rounds proven to need repeats seated with the
    // fewest; rounds the random search seated (the same exhaustive budget in both, so the check
    // stops where simulate moved on); plan-ahead on and off.
    const Case cases[] = {
        {"--players 16 --rounds 4 --seed 1", ""},
        {"--players 16 --rounds 6 --seed 2 --fewest-repeats --plan-ahead off", "--plan-ahead off"},
        {"--players 40 --rounds 6 --seed 3 --teams", ""},
        {"--players 40 --rounds 6 --seed 3 --teams", "--plan-ahead off"},
        {"--players 64 --rounds 8 --seed 4 --teams --fewest-repeats", "--plan-ahead on"},
        {"--players 48 --rounds 5 --seed 5 --exhaustive-variants 30", "--exhaustive-variants 30"},
        {"--players 32 --rounds 7 --seed 6 --overlap-tables 2 --fewest-repeats",
         "--overlap-tables 2"},
        {"--players 100 --rounds 5 --seed 7 --teams", "--format json"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.simulate + " / " + c.check);
        const fs::path file = simulate(c.simulate, "sim.csv");
        const auto result = run("check " + file.string() + " " + c.check);
        EXPECT_EQ(result.status, 0) << result.out << result.err;
        EXPECT_TRUE(brokenRules(result.out).empty()) << result.out;
        if (c.check != "--format json") {
            EXPECT_NE(result.out.find("нарушений правил: 0."), std::string::npos) << result.out;
        }
    }
}

// Seated a round at a time by quelna-cli seat, the results typed and the file saved in between (so
// each seating read the players in the standings order of the file before it): still the
// program's seating in every round.
TEST_F(Check, PassesATournamentSeatedFileByFile) {
    const fs::path file = dir / "by_file.csv";
    quelna::Random random(17);
    quelna::Tournament t(40, 6);
    quelna::generateRandomNames(t, random);
    quelna::generateRandomTeams(t, random);
    quelna::numberPlayersInOrder(t);
    writeFile(file, tournamentCsvText(t));
    for (int r = 0; r < 6; ++r) {
        ASSERT_EQ(run("seat " + file.string()).status, 0) << "round " << r + 1;
        t = readRecord(file);
        quelna::generateRandomResults(t, r, random);
        writeFile(file, tournamentCsvText(t));
    }
    const auto result = run("check " + file.string());
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_NE(result.out.find("рассадка программы повторена в 6; нарушений правил: 0."),
              std::string::npos)
        << result.out;
}

TEST_F(Check, FindsEachPlantedFault) {
    const fs::path base = simulate("--players 32 --rounds 5 --seed 11 --teams", "base.csv");
    ASSERT_EQ(run("check " + base.string()).status, 0);
    const quelna::Tournament played = readRecord(base);
    ASSERT_EQ(played.currentRound, 5);

    // Swaps the tables of two players in a round, points and all.
    auto swapped = [](quelna::Tournament t, int round, int a, int b) {
        std::swap(t.tableAt(round, a), t.tableAt(round, b));
        return t;
    };
    // A player of another table who met someone at a's table in an earlier round, or -1.
    auto repeatPartner = [&played](int round, int a) {
        for (int b = 0; b < played.playerCount; ++b) {
            if (played.tableAt(round, b) == played.tableAt(round, a))
                continue;
            for (int c = 0; c < played.playerCount; ++c)
                if (c != a && played.tableAt(round, c) == played.tableAt(round, a))
                    for (int k = 0; k < round; ++k)
                        if (played.tableAt(k, b) == played.tableAt(k, c))
                            return b;
        }
        return -1;
    };
    // A player who has a team-mate at another table, and one of that table to change with.
    auto teamMove = [&played](int round) -> std::pair<int, int> {
        for (int a = 0; a < played.playerCount; ++a)
            for (int m = 0; m < played.playerCount; ++m)
                if (m != a && played.team[a] > 0 && played.team[a] == played.team[m] &&
                    played.tableAt(round, a) != played.tableAt(round, m))
                    for (int c = 0; c < played.playerCount; ++c)
                        if (played.tableAt(round, c) == played.tableAt(round, m) &&
                            played.team[c] != played.team[a])
                            return {a, c};
        return {-1, -1};
    };

    struct Planted {
        const char* what;
        std::function<std::string()> file; // the broken file's bytes
        std::string expected;              // "round:kind"
    };
    const int b = repeatPartner(3, 0);
    const auto [mover, other] = teamMove(2);
    ASSERT_GE(b, 0);
    ASSERT_GE(mover, 0);
    const Planted planted[] = {
        {"a repeat pair swapped in", [&] { return tournamentCsvText(swapped(played, 3, 0, b)); },
         "4:repeat-pair"},
        {"a team-mate moved", [&] { return tournamentCsvText(swapped(played, 2, mover, other)); },
         "3:team-mates"},
        {"two players of round 2 swapped",
         [&] {
             quelna::Tournament t = played;
             int x = 0;
             while (t.tableAt(1, x) == t.tableAt(1, 0))
                 ++x;
             return tournamentCsvText(swapped(t, 1, 0, x));
         },
         "2:seating-differs"},
        {"a wrong total",
         [&] {
             std::string text = tournamentCsvText(played);
             const std::size_t lineEnd = text.find("\r\n", text.find("\r\n") + 2); // row 1
             const std::size_t lastField = text.rfind(';', lineEnd);
             return text.replace(lastField + 1, lineEnd - lastField - 1, "123456");
         },
         "null:total-differs"},
        {"a wrong points cell",
         [&] {
             quelna::Tournament t = played;
             t.pointsAt(0, 5) += 1000;
             return tournamentCsvText(t);
         },
         "1:table-sum"},
    };
    for (const Planted& p : planted) {
        SCOPED_TRACE(p.what);
        const fs::path file = dir / "broken.csv";
        writeFile(file, p.file());
        const auto result = run("check " + file.string() + " --format json");
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_TRUE(holds(brokenRules(result.out), p.expected)) << result.out;
    }
}

TEST_F(Check, FindsARoundSeatedWithOtherSettingsUnlessGivenThem) {
    const fs::path base = simulate("--players 32 --rounds 5 --seed 12", "base.csv");
    quelna::Tournament t = readRecord(base);
    // Rounds 4 and 5 seated again by quelna-cli seat with every table open to repeats.
    for (int r = 3; r < t.roundCount; ++r)
        for (int p = 0; p < t.playerCount; ++p)
            t.tableAt(r, p) = -1, t.pointsAt(r, p) = 0;
    const fs::path cut = dir / "cut.csv", other = dir / "other.csv";
    writeFile(cut, tournamentCsvText(t));
    ASSERT_EQ(run("seat " + cut.string() + " --overlap-tables 8 --out " + other.string()).status,
              0);
    ASSERT_NE(readRecord(other).tableOf, readRecord(base).tableOf);

    const auto plain = run("check " + other.string() + " --format json");
    EXPECT_EQ(plain.status, 1);
    EXPECT_TRUE(holds(brokenRules(plain.out), "4:seating-differs")) << plain.out;
    // Given those settings, round 4 is the program's (and rounds 2 and 3, seated without, are not).
    const auto given = run("check " + other.string() + " --overlap-tables 8 --format json");
    const std::vector<std::string> broken = brokenRules(given.out);
    EXPECT_TRUE(holds(broken, "3:seating-differs")) << given.out;
    EXPECT_TRUE(std::none_of(broken.begin(), broken.end(), [](const std::string& b) {
        return b.rfind("4:", 0) == 0;
    })) << given.out;
    // Rounds the random search seated after a short exhaustive budget differ from the seating a
    // longer one finds; the line says they may be its work, and the same budget takes them.
    const fs::path random =
        simulate("--players 48 --rounds 5 --seed 5 --exhaustive-variants 30", "random.csv");
    const auto longer = run("check " + random.string());
    EXPECT_EQ(longer.status, 1);
    EXPECT_NE(longer.out.find("так рассаживает и подбор"), std::string::npos) << longer.out;
    EXPECT_EQ(run("check " + random.string() + " --exhaustive-variants 30").status, 0);
    // A file it refuses, and bad usage.
    writeFile(dir / "not.csv", "hello\r\n");
    EXPECT_EQ(run("check " + (dir / "not.csv").string()).status, 2);
    EXPECT_EQ(run("check " + other.string() + " --plan-ahead maybe").status, 2);
}

} // namespace
