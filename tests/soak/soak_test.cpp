// Soak: many whole tournaments played by `quelna-cli simulate`, from 12 players and 2 rounds to
// 200 players and 12 rounds, with and without teams, fixed and overlap tables, and variant budgets
// small enough to drive the engine through every fallback. Every run is checked from the outside:
// the report lines, the saved file and what the seating rules allow.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/settings.h"
#include "core/tournament.h"
#include "files/tournament_csv.h"
#include "seating/exhaustive_seating.h"
#include "seating/seating_driver.h"
#include "seating/seating_job.h"
#include "support/files.h"
#include "support/played_tournament.h"
#include "support/run_program.h"

using namespace quelna;
namespace fs = std::filesystem;

namespace {

struct SoakConfig {
    int players = 12;
    int rounds = 2;
    bool teams = false;
    unsigned seed = 1;
    long long exhaustiveVariants = 1000; // always a limit: runs must end and be reproducible
    long long randomVariants = 10000;
    int fixedTables = 0;
    int overlapTables = 0;
    // A backstop only: the improvement phase counts just the moves that add no meeting, so on a
    // crowded late round its variant budget alone can take minutes.
    int seconds = 3;

    std::string limits() const {
        // The plain search: the fallbacks on purpose and the checks below count its dead ends;
        // each round by the plain rule alone, as the counts and the seatings compared assume.
        return " --search text --plan-ahead off --seed " + std::to_string(seed) + " --exhaustive-variants " +
               std::to_string(exhaustiveVariants) + " --random-variants " +
               std::to_string(randomVariants) + " --exhaustive-seconds " + std::to_string(seconds) +
               " --random-seconds " + std::to_string(seconds) + " --fixed-tables " +
               std::to_string(fixedTables) + " --overlap-tables " + std::to_string(overlapTables);
    }
    std::string arguments() const {
        return "simulate --players " + std::to_string(players) + " --rounds " +
               std::to_string(rounds) + (teams ? " --teams" : "") + limits();
    }
    std::string seatArguments(const std::filesystem::path& in) const {
        return "seat '" + in.string() + "'" + limits();
    }
};

struct ReportLine {
    int round = 0;
    bool seated = false;
    bool exhaustive = false;
    long long variants = 0;
    int repeats = 0;
    int factor = 0;
};

struct CliRun {
    int exitStatus = -1;
    std::string output;
    std::vector<ReportLine> report;
    std::string file;
};

// What the current test has played, printed at its end.
struct Tally {
    int tournaments = 0;
    int roundsSeated = 0;
    int roundsFailed = 0;
    int exhaustiveRounds = 0;
    int randomRounds = 0;
    int roundsWithAllowedRepeats = 0;
    int seatingsCompared = 0; // seat command against simulation, exhaustive both times
};
Tally tally;

using test_support::readFile;

// The running test's scratch folder: the test fixture below makes it and removes it.
const fs::path* currentScratch = nullptr;

const fs::path& scratchDir() {
    return *currentScratch;
}

// "round=3 result=seated method=random variants=12 repeats=0 factor=4", exactly these keys.
bool parseReportLine(const std::string& line, ReportLine& out) {
    static const std::array<std::string, 6> keys = {"round",    "result",  "method",
                                                    "variants", "repeats", "factor"};
    std::istringstream words(line);
    std::string word;
    std::map<std::string, std::string> values;
    std::size_t i = 0;
    while (words >> word) {
        const auto eq = word.find('=');
        if (i >= keys.size() || eq == std::string::npos || word.substr(0, eq) != keys[i])
            return false;
        values[keys[i++]] = word.substr(eq + 1);
    }
    if (i != keys.size())
        return false;
    const std::string& result = values["result"];
    const std::string& method = values["method"];
    if ((result != "seated" && result != "failed") ||
        (method != "exhaustive" && method != "random"))
        return false;
    try {
        out.round = std::stoi(values["round"]);
        out.variants = std::stoll(values["variants"]);
        out.repeats = std::stoi(values["repeats"]);
        out.factor = std::stoi(values["factor"]);
    } catch (...) {
        return false;
    }
    out.seated = result == "seated";
    out.exhaustive = method == "exhaustive";
    return true;
}

// Runs quelna-cli with the arguments; `out` is the file it is told to write.
CliRun runCli(const std::string& arguments, const fs::path& out) {
    CliRun run;
    fs::remove(out);
    // The outer time limit only turns a hang into a failure; the budgets are variant counts.
    const test_support::RunResult result =
        test_support::runProgram("timeout 120 '" + std::string(QUELNA_CLI) + "'",
                                 arguments + " --out '" + out.string() + "'", scratchDir());
    std::cerr << result.err;
    run.exitStatus = result.status;
    run.output = result.out;
    std::istringstream lines(run.output);
    std::string line;
    while (std::getline(lines, line)) {
        ReportLine r;
        if (parseReportLine(line, r))
            run.report.push_back(r);
        else
            ADD_FAILURE() << "not a report line: '" << line << "'";
    }
    run.file = readFile(out);
    return run;
}

// One letter per round of a run: E seated by the exhaustive search, R by the random search, in
// lower case when the seating has repeat meetings (where the settings allow them), x failed.
std::string roundCodes(const CliRun& run) {
    std::string codes;
    for (const ReportLine& r : run.report) {
        const char c = !r.seated ? 'x' : (r.exhaustive ? 'E' : 'R');
        codes += r.seated && r.repeats > 0 ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return codes;
}

CliRun runSimulate(const SoakConfig& c, const std::string& name) {
    return runCli(c.arguments(), scratchDir() / (name + ".csv"));
}

// Pairs at one table of round c who met before it (team-mates count as having met).
struct Repeat {
    int table, a, b;
};
std::vector<Repeat> repeatsOf(const Tournament& t, int c) {
    std::vector<Repeat> found;
    for (int a = 0; a < t.playerCount; ++a)
        for (int b = a + 1; b < t.playerCount; ++b) {
            const int table = t.tableAt(c, a);
            if (table < 0 || table != t.tableAt(c, b))
                continue;
            bool met = t.team[a] > 0 && t.team[a] == t.team[b];
            for (int k = 0; k < c && !met; ++k)
                met = t.tableAt(k, a) == t.tableAt(k, b);
            if (met)
                found.push_back({table, a, b});
        }
    return found;
}

// (F - 10T) / T of the sum of rank distances at each table, ranks by totals before round c,
// highest first, equal totals by smaller start number.
int displayFactorOf(const Tournament& t, int c) {
    std::vector<int> order(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        order[p] = p;
    std::sort(order.begin(), order.end(), [&](int x, int y) {
        const int tx = t.runningTotal(x, c), ty = t.runningTotal(y, c);
        return tx != ty ? tx > ty : t.playerNumber[x] < t.playerNumber[y];
    });
    std::vector<int> rank(t.playerCount);
    for (int i = 0; i < t.playerCount; ++i)
        rank[order[i]] = i;
    int sum = 0;
    for (int a = 0; a < t.playerCount; ++a)
        for (int b = a + 1; b < t.playerCount; ++b)
            if (t.tableAt(c, a) == t.tableAt(c, b))
                sum += std::abs(rank[a] - rank[b]);
    const int tables = t.tableCount();
    return (sum - 10 * tables) / tables;
}

// The record as it stood before round c was seated.
Tournament before(const Tournament& played, int c) {
    Tournament t = played;
    for (int r = c; r < t.roundCount; ++r)
        for (int p = 0; p < t.playerCount; ++p) {
            t.tableAt(r, p) = -1;
            t.pointsAt(r, p) = 0;
        }
    t.normalizeRounds();
    return t;
}

// The top tables the fallback seats exhaustively: repeated here with the engine's own search
// (which is deterministic) and compared with what the random search left in place.
// The same tournament with the slots in start-number order, as the simulation holds it: the
// search breaks ties by slot, so it must see the slots the runner saw.
Tournament inNumberOrder(const Tournament& t) {
    Tournament u(t.playerCount, t.roundCount);
    u.teams = t.teams;
    for (int p = 0; p < t.playerCount; ++p) {
        const int q = t.playerNumber[p];
        u.playerNumber[q] = q;
        u.names[q] = t.names[p];
        u.team[q] = t.team[p];
        for (int r = 0; r < t.roundCount; ++r) {
            u.tableAt(r, q) = t.tableAt(r, p);
            u.pointsAt(r, q) = t.pointsAt(r, p);
        }
    }
    u.normalizeRounds();
    return u;
}

void checkFixedTablesKept(const Tournament& seen, const SoakConfig& config, int c,
                          bool simulationSlots) {
    const Tournament played = simulationSlots ? inNumberOrder(seen) : seen;
    Tournament t = before(played, c);
    ASSERT_EQ(t.currentRound, c);
    std::vector<int> totals(t.playerCount);
    std::vector<char> seated(t.playerCount, 0);
    for (int p = 0; p < t.playerCount; ++p)
        totals[p] = t.runningTotal(p, c);
    std::atomic<bool> stop{false};
    SeatingJob job;
    job.round = c;
    job.stopFlag = &stop;
    long long variants = 0;
    job.onVariant = [&](SeatingJob&) {
        if (++variants > config.randomVariants + 1)
            stop = true; // the runner would have stopped it by now
    };
    job.options.overlapTables = config.overlapTables;
    const int fixed = std::min(config.fixedTables, t.tableCount());
    ASSERT_TRUE(seatTopTables(t, c, totals, seated, fixed, job))
        << "round " << c + 1 << ": the fixed tables were seated by the runner but not here";
    for (int table = 0; table < fixed; ++table) {
        std::set<int> expected, actual;
        for (int p = 0; p < t.playerCount; ++p) {
            if (t.tableAt(c, p) == table)
                expected.insert(p);
            if (played.tableAt(c, p) == table)
                actual.insert(p);
        }
        EXPECT_EQ(actual, expected) << "round " << c + 1 << ", fixed table " << table + 1;
    }
}

// Round c of a played tournament against the rules its seating had to keep, and against its
// report line.
void checkSeatedRound(const Tournament& t, const SoakConfig& config, int c, const ReportLine& r,
                      bool simulationSlots) {
    const int tables = t.tableCount();
    std::vector<int> sums(tables, 0);
    for (int p = 0; p < t.playerCount; ++p)
        sums[t.tableAt(c, p)] += t.pointsAt(c, p);
    for (int x = 0; x < tables; ++x)
        EXPECT_EQ(sums[x], 0) << "round " << c + 1 << " table " << x + 1;

    // Repeat meetings only where the settings allow them: on the bottom tables of an
    // exhaustive seating (which in the fallback covers only the fixed top tables).
    const std::vector<Repeat> repeats = repeatsOf(t, c);
    EXPECT_EQ(r.repeats, static_cast<int>(repeats.size())) << "round " << c + 1;
    for (const Repeat& rep : repeats) {
        const bool bottom = rep.table >= tables - config.overlapTables;
        const bool exhaustiveTable = r.exhaustive || rep.table < config.fixedTables;
        EXPECT_TRUE(bottom && exhaustiveTable)
            << "round " << c + 1 << ": players " << rep.a << " and " << rep.b
            << " meet again at table " << rep.table + 1 << " ("
            << (r.exhaustive ? "exhaustive" : "random") << ")";
    }
    EXPECT_EQ(r.factor, displayFactorOf(t, c)) << "round " << c + 1;
    if (!r.exhaustive && config.fixedTables > 0)
        checkFixedTablesKept(t, config, c, simulationSlots);

    ++tally.roundsSeated;
    ++(r.exhaustive ? tally.exhaustiveRounds : tally.randomRounds);
    if (!repeats.empty())
        ++tally.roundsWithAllowedRepeats;
}

void checkRun(const SoakConfig& config, const CliRun& run) {
    const int n = config.players;
    const int tables = n / 4;
    const int R = config.rounds;
    ASSERT_TRUE(run.exitStatus == 0 || run.exitStatus == 1) << "exit status " << run.exitStatus;
    ASSERT_FALSE(run.report.empty());
    ASSERT_FALSE(run.file.empty()) << "no file written";

    // The report: rounds 1.. in order, all seated, except a last failed one on exit status 1.
    const int lines = static_cast<int>(run.report.size());
    if (run.exitStatus == 0) {
        ASSERT_EQ(lines, R);
    }
    ASSERT_LE(lines, R);
    for (int i = 0; i < lines; ++i) {
        const ReportLine& r = run.report[i];
        EXPECT_EQ(r.round, i + 1);
        EXPECT_EQ(r.seated, run.exitStatus == 0 || i + 1 < lines) << "round " << i + 1;
        EXPECT_GE(r.variants, 1);
    }
    const int seatedRounds = run.exitStatus == 0 ? R : lines - 1;
    if (run.exitStatus == 1) {
        const ReportLine& failed = run.report.back();
        EXPECT_FALSE(failed.exhaustive);
        // Unseated (-1), or the random search's last seating, which still had a repeat.
        if (failed.repeats == -1) {
            EXPECT_EQ(failed.factor, -1);
        } else {
            EXPECT_TRUE(failed.repeats >= 1 && failed.factor >= 0);
        }
    }

    Tournament raw(n, R);
    {
        std::istringstream in(run.file);
        readTournamentCsv(raw, in);
    }
    Tournament t = raw;
    t.normalizeRounds();
    ASSERT_EQ(t.currentRound, seatedRounds);

    // Registration as the simulation makes it.
    EXPECT_TRUE(t.hasCompleteNumbering());
    for (int p = 0; p < n; ++p)
        EXPECT_FALSE(t.names[p].empty()) << "player " << p;
    if (config.teams) {
        EXPECT_EQ(t.teams.count(), tables);
        for (int k = 1; k <= t.teams.count(); ++k)
            EXPECT_EQ(std::count(t.team.begin(), t.team.end(), k), 4) << "team " << k;
    } else {
        EXPECT_EQ(t.teams.count(), 0);
    }

    for (int c = 0; c < R; ++c) {
        if (c >= seatedRounds) {
            // A failed round and the rounds after it are left unseated in the file.
            for (int p = 0; p < n; ++p)
                ASSERT_TRUE(raw.tableAt(c, p) == -1 && raw.pointsAt(c, p) == 0)
                    << "round " << c + 1 << " player " << p;
            continue;
        }
        ASSERT_TRUE(raw.isRoundComplete(c)) << "round " << c + 1;
        for (int p = 0; p < n; ++p)
            ASSERT_NE(raw.tableAt(c, p), -1) << "round " << c + 1 << " player " << p;
        checkSeatedRound(t, config, c, run.report[c], true);
    }
    if (run.exitStatus == 1)
        ++tally.roundsFailed;

    // The saved file reads back to the same tournament, byte for byte.
    std::ostringstream again;
    ASSERT_TRUE(writeTournamentCsv(t, again));
    EXPECT_TRUE(again.str() == run.file) << "the file does not read back to itself";
    ++tally.tournaments;
}

void soak(const std::vector<SoakConfig>& configs, const std::string& group) {
    tally = Tally{};
    for (std::size_t i = 0; i < configs.size(); ++i) {
        const SoakConfig& c = configs[i];
        SCOPED_TRACE("quelna-cli " + c.arguments());
        const CliRun run = runSimulate(c, group + "-" + std::to_string(i));
        if (std::getenv("QUELNA_SOAK_VERBOSE")) {
            std::cout << c.arguments() << "\n  exit " << run.exitStatus << ":";
            std::cout << ' ' << roundCodes(run) << '\n';
        }
        checkRun(c, run);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

// A saved tournament cut back to its first k rounds and seated again with `quelna-cli seat`. Where
// the simulation seated round k by the exhaustive search and the seat command does too, from the
// same slots, the two seatings are the same: that search draws no random numbers.
void checkSeatFrom(const SoakConfig& config, const Tournament& played, const ReportLine& original,
                   int k, const std::string& name) {
    SCOPED_TRACE("seat from round " + std::to_string(k + 1));
    Tournament cut = before(played, k);
    const fs::path in = scratchDir() / (name + "-in.csv");
    const fs::path out = scratchDir() / (name + "-out.csv");
    ASSERT_TRUE(saveTournamentFile(cut, in.string()));
    const std::string input = readFile(in);
    const CliRun run = runCli(config.seatArguments(in), out);
    EXPECT_EQ(readFile(in), input) << "the input file changed although --out was given";
    ASSERT_TRUE(run.exitStatus == 0 || run.exitStatus == 1) << "exit status " << run.exitStatus;
    ASSERT_EQ(run.report.size(), 1u);
    const ReportLine& r = run.report[0];
    EXPECT_EQ(r.round, k + 1);
    EXPECT_EQ(r.seated, run.exitStatus == 0);
    if (run.exitStatus == 1) {
        EXPECT_FALSE(fs::exists(out)) << "a failed seating wrote a file";
        ++tally.roundsFailed;
        return;
    }

    Tournament seated(cut.playerCount, cut.roundCount);
    {
        Tournament fromFile(cut.playerCount, cut.roundCount);
        std::istringstream text(input);
        readTournamentCsv(fromFile, text);
        cut = fromFile; // slots in the order of the input file
        cut.normalizeRounds();
        std::istringstream result(run.file);
        readTournamentCsv(seated, result);
    }
    seated.normalizeRounds();
    ASSERT_EQ(seated.currentRound, k + 1);
    // The new round has no points, so the rows keep their order and the earlier rounds their data.
    for (int p = 0; p < cut.playerCount; ++p) {
        ASSERT_EQ(seated.playerNumber[p], cut.playerNumber[p]) << "row " << p;
        EXPECT_EQ(seated.names[p], cut.names[p]);
        EXPECT_EQ(seated.teams.name(seated.team[p]), cut.teams.name(cut.team[p]));
        for (int round = 0; round < k; ++round) {
            EXPECT_EQ(seated.tableAt(round, p), cut.tableAt(round, p));
            EXPECT_EQ(seated.pointsAt(round, p), cut.pointsAt(round, p));
        }
    }
    checkSeatedRound(seated, config, k, r, false); // the seat command keeps the file's slots

    // The exhaustive search breaks ties by slot, so the comparison holds only when the file's
    // rows are in the simulation's slot order (start numbers), as before the first round.
    bool sameSlots = true;
    for (int p = 0; p < cut.playerCount; ++p)
        sameSlots = sameSlots && cut.playerNumber[p] == p; // the simulation numbers slot i as i
    if (sameSlots && original.exhaustive && r.exhaustive) {
        ++tally.seatingsCompared;
        std::map<int, int> tableByNumber;
        for (int p = 0; p < played.playerCount; ++p)
            tableByNumber[played.playerNumber[p]] = played.tableAt(k, p);
        for (int p = 0; p < seated.playerCount; ++p)
            EXPECT_EQ(seated.tableAt(k, p), tableByNumber[seated.playerNumber[p]])
                << "round " << k + 1 << ", start number " << seated.playerNumber[p] + 1;
    }
}

void soakSeat(const std::vector<SoakConfig>& configs, const std::string& group) {
    tally = Tally{};
    for (std::size_t i = 0; i < configs.size(); ++i) {
        const SoakConfig& c = configs[i];
        SCOPED_TRACE("quelna-cli " + c.arguments());
        const std::string name = group + "-" + std::to_string(i);
        const CliRun run = runSimulate(c, name);
        ASSERT_TRUE(run.exitStatus == 0 || run.exitStatus == 1);
        Tournament played(c.players, c.rounds);
        std::istringstream text(run.file);
        readTournamentCsv(played, text);
        played.normalizeRounds();
        // From registration, from the middle and from the last round seated.
        std::set<int> starts = {0, played.currentRound / 2, std::max(0, played.currentRound - 1)};
        for (int k : starts) {
            if (k >= c.rounds || k >= static_cast<int>(run.report.size()))
                continue;
            checkSeatFrom(c, played, run.report[k], k, name + "-" + std::to_string(k));
            if (::testing::Test::HasFatalFailure())
                return;
        }
        ++tally.tournaments;
    }
}

void printTally(const std::string& group) {
    std::cout << "[soak " << group << "] tournaments=" << tally.tournaments
              << " rounds seated=" << tally.roundsSeated << " (exhaustive "
              << tally.exhaustiveRounds << ", random " << tally.randomRounds
              << ", with allowed repeats " << tally.roundsWithAllowedRepeats
              << ") failed seatings=" << tally.roundsFailed
              << " seatings compared with the simulation's=" << tally.seatingsCompared << '\n';
}

// Random configurations from a fixed seed, so every run of the soak plays the same tournaments.
std::vector<SoakConfig> drawConfigs(unsigned seed, int count, int minPlayers, int maxPlayers,
                                    int maxRounds) {
    std::mt19937 draw(seed);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<>(low, high)(draw); };
    const std::array<long long, 5> exhaustiveBudgets = {1, 10, 100, 1000, 20000};
    const std::array<long long, 5> randomBudgets = {1, 100, 1000, 5000, 30000};
    std::vector<SoakConfig> configs;
    for (int i = 0; i < count; ++i) {
        SoakConfig c;
        c.players = 4 * pick(minPlayers / 4, maxPlayers / 4);
        // Mostly as many rounds as the field can play without meeting again, sometimes more.
        const int fresh = std::clamp((c.players - 4) / 3, 2, maxRounds);
        c.rounds = pick(0, 3) == 0 ? pick(2, maxRounds) : pick(2, fresh);
        c.teams = pick(0, 1) == 1;
        c.seed = static_cast<unsigned>(pick(1, 1000000));
        c.exhaustiveVariants = exhaustiveBudgets[pick(0, 4)];
        c.randomVariants = randomBudgets[pick(0, 4)];
        const int tables = c.players / 4;
        // Mostly none, sometimes a few, sometimes all.
        const int k = pick(0, 5);
        c.fixedTables = k < 3 ? 0 : (k < 5 ? pick(1, tables) : tables);
        const int m = pick(0, 5);
        c.overlapTables = m < 3 ? 0 : (m < 5 ? pick(1, tables) : tables);
        configs.push_back(c);
    }
    return configs;
}

class Soak : public ::testing::Test {
  protected:
    Soak() { currentScratch = &scratch.path(); }
    ~Soak() override { currentScratch = nullptr; }

    // Named by process too: a soak run takes minutes, and another checkout may run it meanwhile.
    test_support::ScratchDir scratch{"quelna_soak_" + std::to_string(::getpid())};
};

} // namespace

namespace {

struct Fallback {
    const char* why;
    SoakConfig config;
    const char* rounds; // the round codes the budgets force
};

} // namespace

// Each way a round can be seated or fail, forced on purpose: each configuration states the methods
// and results it forces, so a change that no longer reaches a fallback fails here.
TEST_F(Soak, EveryFallbackOnPurpose) {
    const std::vector<Fallback> fallbacks = {
        {"the exhaustive search alone, with a budget it does not reach before the last round, "
         "which the random search cannot seat",
         {20, 4, false, 11, 100000, 1000, 0, 0},
         "EEEx"},
        {"switched after the first dead end; the random search seats every later round",
         {40, 6, true, 12, 1, 20000, 0, 0},
         "EERRRR"},
        {"the fallback seats a few top tables exhaustively before the random search",
         {48, 6, true, 13, 5, 5000, 3, 0},
         "EEERRR"},
        {"every table fixed: the fallback repeats the exhaustive search over all tables, until "
         "even that fails",
         {24, 5, false, 14, 3, 20000, 6, 0},
         "EERRx"},
        {"the random search stopped after one move: the round fails and stays unseated",
         {32, 4, true, 15, 1, 1, 0, 0},
         "Ex"},
        {"twelve players in three teams of four: no table avoids team-mates, the first round fails",
         {12, 3, true, 16, 100000, 1000, 0, 0},
         "x"},
        {"one bottom table that allows meetings, and the exhaustive search uses it",
         {24, 9, false, 17, 100000, 1000, 0, 1},
         "EEeeEx"},
        {"every table allowing meetings: every round seated, with repeats",
         {12, 12, true, 18, 100000, 1000, 0, 3},
         "eeeeeeeeeeee"},
        {"fixed tables that are partly bottom tables: repeats allowed there, nowhere else",
         {24, 7, false, 19, 2, 30000, 3, 4},
         "Eeeeeex"},
        {"many rounds for few players: the fourth round runs out of fresh opponents",
         {16, 12, false, 20, 5000, 30000, 0, 0},
         "EEEx"},
        {"the same with fixed and bottom tables", {16, 12, false, 21, 5000, 30000, 2, 2}, "EEex"},
    };
    tally = Tally{};
    for (Fallback f : fallbacks) {
        SCOPED_TRACE(f.why);
        // Only the variant budgets may decide here: the clock is a backstop far away.
        f.config.seconds = 120;
        const CliRun run = runSimulate(f.config, "fallback");
        EXPECT_EQ(roundCodes(run), f.rounds) << "quelna-cli " << f.config.arguments();
        checkRun(f.config, run);
    }
    printTally("fallbacks");
}

TEST_F(Soak, SmallTournaments) {
    soak(drawConfigs(2026, 320, 12, 48, 12), "small");
    printTally("small");
}

TEST_F(Soak, MediumTournaments) {
    soak(drawConfigs(99, 120, 52, 96, 12), "medium");
    printTally("medium");
}

TEST_F(Soak, LargeTournaments) {
    std::vector<SoakConfig> configs = drawConfigs(77, 48, 100, 200, 12);
    configs.push_back({200, 12, true, 1, 2000, 20000, 0, 0});
    configs.push_back({200, 12, false, 2, 50, 5000, 10, 2});
    soak(configs, "large");
    printTally("large");
}

// Without a time limit the whole run is a function of its options: twice the same, byte for byte.
TEST_F(Soak, SameOptionsGiveTheSameTournament) {
    tally = Tally{};
    // No seconds limit at all here (budgets small enough to end quickly by variants alone).
    for (const SoakConfig& c : {SoakConfig{40, 8, true, 5, 20, 2000, 2, 0, 0},
                                SoakConfig{100, 6, false, 6, 3, 3000, 0, 0, 0},
                                SoakConfig{64, 9, false, 9, 50, 2000, 3, 2, 0}}) {
        SCOPED_TRACE("quelna-cli " + c.arguments());
        const CliRun first = runSimulate(c, "same-a");
        const CliRun second = runSimulate(c, "same-b");
        checkRun(c, first);
        EXPECT_EQ(first.exitStatus, second.exitStatus);
        EXPECT_EQ(first.output, second.output);
        EXPECT_TRUE(first.file == second.file);
    }
    printTally("determinism");
}

// Saved tournaments carried on with `quelna-cli seat`, from registration and from later rounds.
TEST_F(Soak, SeatContinuesSavedTournaments) {
    std::vector<SoakConfig> configs = drawConfigs(4242, 80, 12, 120, 12);
    configs.push_back({200, 10, true, 3, 2000, 20000, 0, 0});
    soakSeat(configs, "seat");
    printTally("seat");
}

namespace {

// One seating under the variant budgets and the clock of the config, switched on exactly as
// quelna-cli switches it.
test_support::LimitedSeating seatWatched(Tournament& t, const SoakConfig& config) {
    SeatingOptions options;
    options.fixedTables = config.fixedTables;
    options.overlapTables = config.overlapTables;
    return test_support::seatWithinLimits(t,
                                          {.exhaustiveVariants = config.exhaustiveVariants,
                                           .randomVariants = config.randomVariants,
                                           .seconds = config.seconds},
                                          options);
}

// Players placed by hand before a seating: a few at random tables, at most four to a table,
// team-mates and old opponents together as often as chance has it.
std::vector<int> placeByHand(Tournament& t, int round, std::mt19937& draw) {
    const int tables = t.tableCount();
    std::vector<int> count(tables, 0), placed;
    const int wanted = std::uniform_int_distribution<>(1, std::min(12, t.playerCount / 2))(draw);
    std::vector<int> players(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        players[p] = p;
    std::shuffle(players.begin(), players.end(), draw);
    // Crowd a few tables sometimes, spread out other times.
    const int spread = std::uniform_int_distribution<>(1, tables)(draw);
    for (int i = 0; i < wanted; ++i) {
        const int table = std::uniform_int_distribution<>(0, spread - 1)(draw);
        if (count[table] == 4)
            continue;
        ++count[table];
        t.tableAt(round, players[i]) = table;
        placed.push_back(players[i]);
    }
    return placed;
}

// One seating with players placed by hand, checked against what the rules promise them.
void checkHandPlaced(const Tournament& played, int k, const SoakConfig& config,
                     std::mt19937& draw) {
    SCOPED_TRACE("round " + std::to_string(k + 1));
    Tournament t = before(played, k);
    const std::vector<int> hand = placeByHand(t, k, draw);
    const Tournament entry = t;
    std::vector<char> isHand(t.playerCount, 0);
    for (int p : hand)
        isHand[p] = 1;

    // The top tables the fallback fills around the hand-placed players, replayed here.
    std::vector<char> fixed = isHand;
    if (config.fixedTables > 0) {
        Tournament replay = entry;
        std::vector<int> totals(t.playerCount);
        std::vector<char> seated(t.playerCount);
        for (int p = 0; p < t.playerCount; ++p) {
            totals[p] = replay.runningTotal(p, k);
            seated[p] = isHand[p];
        }
        SeatingJob job;
        job.options.overlapTables = config.overlapTables;
        if (seatTopTables(replay, k, totals, seated, std::min(config.fixedTables, t.tableCount()),
                          job))
            for (int p = 0; p < t.playerCount; ++p)
                if (replay.tableAt(k, p) >= 0 && replay.tableAt(k, p) < config.fixedTables)
                    fixed[p] = 1;
    }

    const test_support::LimitedSeating w = seatWatched(t, config);
    const int tables = t.tableCount();
    if (!w.seated) {
        // Placed players stay exactly where they were; the rest is unseated, or the random
        // search's last complete seating.
        for (int p : hand)
            EXPECT_EQ(t.tableAt(k, p), entry.tableAt(k, p)) << "hand-placed player " << p;
        bool untouched = true;
        for (int p = 0; p < t.playerCount; ++p)
            untouched = untouched && t.tableAt(k, p) == entry.tableAt(k, p);
        EXPECT_TRUE(untouched || (w.random && t.isRoundComplete(k)));
        ++tally.roundsFailed;
        return;
    }
    ASSERT_TRUE(t.isRoundComplete(k));
    // Hand-placed players keep their tables; the random search may renumber the tables, but
    // only as a whole.
    std::map<int, int> renumbered;
    std::set<int> targets;
    for (int p : hand) {
        const int from = entry.tableAt(k, p), to = t.tableAt(k, p);
        if (!w.random) {
            EXPECT_EQ(to, from) << "hand-placed player " << p;
            continue;
        }
        const auto [it, added] = renumbered.emplace(from, to);
        EXPECT_EQ(it->second, to) << "hand-placed player " << p << " left his table-mates";
        if (added) {
            EXPECT_TRUE(targets.insert(to).second) << "two hand-placed tables merged";
        }
    }
    // New meetings only where allowed: bottom tables of an exhaustive seating, and among the
    // players the random search found already placed.
    const std::vector<Repeat> repeats = repeatsOf(t, k);
    if (!repeats.empty())
        ++tally.roundsWithAllowedRepeats;
    for (const Repeat& rep : repeats) {
        bool allowed;
        if (!w.random)
            allowed =
                rep.table >= tables - config.overlapTables || (isHand[rep.a] && isHand[rep.b]);
        else
            allowed = fixed[rep.a] && fixed[rep.b];
        EXPECT_TRUE(allowed) << "players " << rep.a << " and " << rep.b << " meet again at table "
                             << rep.table + 1 << (w.random ? " (random)" : " (exhaustive)");
    }
    ++tally.roundsSeated;
    ++(w.random ? tally.randomRounds : tally.exhaustiveRounds);
}

} // namespace

// Players placed by hand before a seating, in the rounds of simulated tournaments: seated with
// the engine in this process, under the same variant budgets as the runner.
TEST_F(Soak, HandPlacedPlayersKeepTheirTables) {
    tally = Tally{};
    std::mt19937 draw(31337);
    for (SoakConfig c : drawConfigs(555, 160, 12, 200, 12)) {
        c.randomVariants = std::min(c.randomVariants, 5000LL);
        SCOPED_TRACE("quelna-cli " + c.arguments());
        const CliRun run = runSimulate(c, "hand");
        ASSERT_TRUE(run.exitStatus == 0 || run.exitStatus == 1);
        Tournament played(c.players, c.rounds);
        std::istringstream text(run.file);
        readTournamentCsv(played, text);
        played = inNumberOrder(played);
        runRandom().seed(c.seed);
        for (int k = 0; k <= std::min(played.currentRound, c.rounds - 1); ++k) {
            checkHandPlaced(played, k, c, draw);
            if (::testing::Test::HasFatalFailure())
                return;
        }
        ++tally.tournaments;
    }
    printTally("hand-placed");
}
