// quelna-cli: plays a simulated tournament or seats the next round of a saved one, without a
// window. Exit status: 0 seated, 1 no seating found, 2 bad usage or unusable input, 3 a file
// could not be written or is in use by another run.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "core/fs_path.h"
#include "core/random.h"
#include "core/settings.h"
#include "core/test_data.h"
#include "core/text.h"
#include "core/tournament.h"
#include "export_rating_command.h"
#include "file_lock.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"
#include "html_command.h"
#include "quelna_version.h"
#include "seating/round_quality.h"
#include "seating_runner.h"

namespace {

using namespace quelna;

constexpr std::string_view kUsage =
    "usage:\n"
    "  quelna-cli simulate --players N --rounds R [--teams] [--seed S]\n"
    "                      [--exhaustive-variants E] [--random-variants P]\n"
    "                      [--exhaustive-seconds A] [--random-seconds B]\n"
    "                      [--fixed-tables K] [--overlap-tables M] [--out FILE.csv]\n"
    "  quelna-cli seat IN.csv [--out OUT.csv] [--seed S]\n"
    "                      [--exhaustive-variants E] [--random-variants P]\n"
    "                      [--exhaustive-seconds A] [--random-seconds B]\n"
    "                      [--fixed-tables K] [--overlap-tables M]\n"
    "  quelna-cli html IN.csv --out DIR [--title TITLE]\n"
    "  quelna-cli export-rating IN.csv --out OUT.csv\n"
    "  quelna-cli --help | --version\n"
    "\n"
    "simulate plays a whole test tournament with random names, teams and results;\n"
    "seat seats the next round of a saved tournament file (replacing it unless --out is given).\n"
    "Players who already have a table in that round (placed by hand) keep it and their\n"
    "table-mates; when the random search was needed, the tables may be renumbered as a whole.\n"
    "A file holding tables or points after a round that is not complete is refused, and\n"
    "nothing is written.\n"
    "While seat runs, the file and --out are locked; a second run on them ends at once.\n"
    "Limits of 0 mean no limit; each phase has 60 seconds by default.\n"
    "Exit status: 0 seated, 1 no seating found, 2 bad usage or unusable input,\n"
    "3 could not write (or the file is in use by another run).\n";

constexpr int kExitSeated = 0;
constexpr int kExitNoSeating = 1;
constexpr int kExitUsage = 2;
constexpr int kExitWrite = 3;

int fail(const std::string& message, int status = kExitUsage) {
    std::cerr << "quelna-cli: " << message << '\n';
    return status;
}

int failWrite(const std::string& target, const std::string& reason) {
    return fail("cannot write " + target + (reason.empty() ? "" : ": " + reason), kExitWrite);
}

struct Options {
    std::string command;
    std::string input;
    std::optional<std::string> out;
    std::optional<long long> players;
    std::optional<long long> rounds;
    bool teams = false;
    std::optional<long long> seed;
    RunnerLimits limits;
    long long fixedTables = 0;
    long long overlapTables = 0;
};

// A whole non-negative decimal number; nothing else is accepted.
std::optional<long long> parseCount(std::string_view text) {
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Fills options from the arguments; returns an error text, or nothing when they are usable.
std::optional<std::string> parseArguments(const std::vector<std::string>& args, Options& o) {
    if (args.empty())
        return std::string("no command given (simulate or seat); see --help");
    o.command = args[0];
    if (o.command != "simulate" && o.command != "seat")
        return "unknown command '" + o.command + "'; see --help";
    const bool simulate = o.command == "simulate";

    const std::map<std::string, long long*, std::less<>> counts = {
        {"--exhaustive-variants", &o.limits.exhaustiveVariants},
        {"--random-variants", &o.limits.randomVariants},
        {"--exhaustive-seconds", &o.limits.exhaustiveSeconds},
        {"--random-seconds", &o.limits.randomSeconds},
        {"--fixed-tables", &o.fixedTables},
        {"--overlap-tables", &o.overlapTables},
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name.rfind("--", 0) != 0) {
            if (simulate || !o.input.empty())
                return "unexpected argument '" + name + "'";
            o.input = name;
            continue;
        }
        if (name == "--teams" && simulate) {
            if (value)
                return std::string("--teams takes no value");
            o.teams = true;
            continue;
        }
        const bool known = counts.count(name) || name == "--seed" || name == "--out" ||
                           (simulate && (name == "--players" || name == "--rounds"));
        if (!known)
            return "unknown option '" + name + "' for " + o.command;
        if (!value) {
            if (i + 1 >= args.size())
                return "option " + name + " needs a value";
            value = args[++i];
        }
        if (name == "--out") {
            if (value->empty())
                return std::string("--out needs a file name");
            o.out = *value;
            continue;
        }
        const std::optional<long long> number = parseCount(*value);
        if (!number)
            return "option " + name + " needs a whole number of 0 or more, not '" + *value + "'";
        if (name == "--seed") {
            if (*number > UINT32_MAX)
                return std::string("--seed must be from 0 to 4294967295");
            o.seed = number;
        } else if (name == "--players") {
            o.players = number;
        } else if (name == "--rounds") {
            o.rounds = number;
        } else {
            *counts.find(name)->second = *number;
        }
    }
    if (simulate && !o.players)
        return std::string("simulate needs --players N");
    if (simulate && !o.rounds)
        return std::string("simulate needs --rounds R");
    if (!simulate && o.input.empty())
        return std::string("seat needs the tournament file to read");
    return std::nullopt;
}

std::optional<std::string> checkSize(long long players, long long rounds, const Options& o) {
    if (players < 12 || players > 200 || players % 4 != 0)
        return "the number of players must be a multiple of 4 from 12 to 200, not " +
               std::to_string(players);
    if (rounds < 2 || rounds > 12)
        return "the number of rounds must be from 2 to 12, not " + std::to_string(rounds);
    const long long tables = players / 4;
    if (o.fixedTables > tables)
        return "--fixed-tables must be from 0 to " + std::to_string(tables);
    if (o.overlapTables > tables)
        return "--overlap-tables must be from 0 to " + std::to_string(tables);
    return std::nullopt;
}

void applyOptions(const Options& o) {
    runRandom().seed(o.seed ? static_cast<std::uint32_t>(*o.seed)
                            : static_cast<std::uint32_t>(std::time(nullptr)));
    settings().fixedTables = static_cast<int>(o.fixedTables);
    settings().overlapTables = static_cast<int>(o.overlapTables);
}

void printReport(const Tournament& t, int round, const SeatingOutcome& outcome) {
    std::cout << "round=" << round + 1 << " result=" << (outcome.seated ? "seated" : "failed")
              << " method=" << (outcome.seated && !outcome.randomUsed ? "exhaustive" : "random")
              << " variants=" << outcome.variants << " repeats=" << countRepeatPairs(t, round)
              << " factor=" << roundDisplayFactor(t, round) << '\n';
    std::cout.flush();
}

// Writes to the named file safely, or to standard output.
bool writeResult(const Tournament& t, const std::optional<std::string>& out, std::string* error) {
    if (out)
        return saveTournamentFile(t, *out, error);
    return writeTournamentCsv(t, std::cout);
}

int simulate(const Options& o) {
    if (auto error = checkSize(*o.players, *o.rounds, o))
        return fail(*error);
    applyOptions(o);
    Random& random = runRandom();
    Tournament t(static_cast<int>(*o.players), static_cast<int>(*o.rounds));
    generateRandomNames(t, random);
    if (o.teams)
        generateRandomTeams(t, random);
    numberPlayersInOrder(t);
    t.purgeUnusedTeams();
    t.rebuildMeetings();

    for (int c = 0; c < t.roundCount; ++c) {
        std::vector<char> placed(t.playerCount);
        for (int p = 0; p < t.playerCount; ++p)
            placed[p] = t.tableAt(c, p) != -1;
        const SeatingOutcome outcome = runSeating(t, c, o.limits);
        if (!outcome.seated) {
            printReport(t, c, outcome);
            for (int p = 0; p < t.playerCount; ++p)
                if (!placed[p])
                    t.tableAt(c, p) = -1;
            std::string why;
            if (!writeResult(t, o.out, &why))
                return failWrite(o.out.value_or("the result"), why);
            return kExitNoSeating;
        }
        t.normalizeRounds();
        generateRandomResults(t, c, random);
        printReport(t, c, outcome);
    }
    std::string why;
    if (!writeResult(t, o.out, &why))
        return failWrite(o.out.value_or("the result"), why);
    return kExitSeated;
}

// Takes the run's lock on a file, or says why not.
std::optional<int> lockFile(FileLock& lock, const std::string& path) {
    std::string why;
    switch (lock.lock(path, &why)) {
    case FileLock::Result::Locked:
        return std::nullopt;
    case FileLock::Result::Busy:
        return fail(path + " is in use by another run", kExitWrite);
    case FileLock::Result::Failed:
        break;
    }
    return fail("cannot read " + path + ": " + why);
}

// Data the seating would drop: refused, so a file is never silently cut back.
std::optional<std::string> checkNothingDropped(const Tournament& raw) {
    const auto dropped = findDroppedRounds(raw, true);
    if (!dropped)
        return std::nullopt;
    return "round " + std::to_string(dropped->round + 1) + " is not complete (line " +
           std::to_string(dropped->incompleteLine) + "), yet line " +
           std::to_string(dropped->dataLine) + " holds a table or points of round " +
           std::to_string(dropped->dataRound + 1) +
           "; seating would drop them, so nothing was written";
}

// Hand placements must fit their tables, as the window allows them.
std::optional<std::string> checkHandPlacements(const Tournament& t, int round) {
    std::vector<int> count(t.tableCount(), 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int table = t.tableAt(round, p);
        if (table >= 0 && ++count[table] > 4)
            return "table " + std::to_string(table + 1) + " of round " + std::to_string(round + 1) +
                   " has more than four players (line " + std::to_string(p + 2) + ")";
    }
    return std::nullopt;
}

int seat(const Options& o) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fsPath(o.input), ec))
        return fail(
            "cannot read " + o.input + ": " +
            (std::filesystem::exists(fsPath(o.input), ec) ? "not a regular file" : "no such file"));
    // An --out that cannot be a tournament file is bad usage, found before any seating.
    if (o.out && std::filesystem::exists(fsPath(*o.out), ec) &&
        !std::filesystem::is_regular_file(fsPath(*o.out), ec))
        return fail("cannot write " + *o.out + ": not a regular file");
    FileLock inputLock, outputLock;
    if (auto status = lockFile(inputLock, o.input))
        return *status;
    // An --out that does not exist yet has nothing to lose; one that is the input is locked.
    if (o.out && std::filesystem::exists(fsPath(*o.out), ec) &&
        !std::filesystem::equivalent(fsPath(o.input), fsPath(*o.out), ec))
        if (auto status = lockFile(outputLock, *o.out))
            return *status;

    std::ifstream file(fsPath(o.input), std::ios::binary);
    std::ostringstream content;
    if (!file || !(content << file.rdbuf()))
        return fail("cannot read " + o.input);
    const std::string bytes = content.str();
    if (!isTournamentCsv(bytes))
        return fail(o.input + " is not a tournament file (its first line must begin with "
                              "МЕСТО;НОМЕР;ИМЯ;КОМАНДА)");
    const CsvShape shape = measureTournamentCsv(bytes);
    const int players = shape.players;
    const int rounds = shape.rounds;
    if (auto error = checkSize(players, rounds, o))
        return fail(o.input + ": " + *error);

    Tournament t(players, rounds);
    readTournamentCsv(t, std::string_view(bytes));
    if (auto error = checkNothingDropped(t))
        return fail(o.input + ": " + *error);
    const std::vector<int> raw = t.tableOf;
    t.normalizeRounds();
    const int c = t.currentRound;
    if (c == t.roundCount)
        return fail(o.input + ": every round is already seated");
    if (c == 0 && !t.hasCompleteNumbering())
        return fail(o.input + ": the start numbers must be exactly 1.." + std::to_string(players) +
                    " before the first round is seated");
    // The players placed by hand in round c keep their tables; the engine seats the others.
    for (int p = 0; p < players; ++p)
        t.tableAt(c, p) = raw[t.index(c, p)];
    if (auto error = checkHandPlacements(t, c))
        return fail(o.input + ": " + *error);
    applyOptions(o);
    if (c == 0) {
        t.purgeUnusedTeams();
        t.rebuildMeetings();
    }
    const SeatingOutcome outcome = runSeating(t, c, o.limits);
    if (!outcome.seated) {
        printReport(t, c, outcome);
        return kExitNoSeating;
    }
    t.normalizeRounds();
    const std::string target = o.out.value_or(o.input);
    inputLock.releaseBeforeReplace();
    outputLock.releaseBeforeReplace();
    std::string why;
    if (!saveTournamentFile(t, target, &why))
        return failWrite(target, why);
    printReport(t, c, outcome);
    return kExitSeated;
}

} // namespace

int main(int argc, char** argv) {
    useBinaryStandardOutput();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args = commandLineArguments(argc, argv);
    if (!args.empty() && args[0] == "html")
        return quelna::runHtmlCommand(args);
    if (!args.empty() && args[0] == "export-rating")
        return quelna::runExportRatingCommand(args);
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--version") {
            std::cout << "quelna-cli " << kVersion << '\n';
            return 0;
        }
    Options options;
    if (auto error = parseArguments(args, options)) {
        std::cerr << "quelna-cli: " << *error << '\n';
        return kExitUsage;
    }
    // One entry per command; parseArguments knows the same names.
    const std::map<std::string, int (*)(const Options&), std::less<>> commands = {
        {"simulate", simulate},
        {"seat", seat},
    };
    return commands.at(options.command)(options);
}
