// quelna-cli: plays a simulated tournament or seats the next round of a saved one, without a
// window. Exit status: 0 seated, 1 no seating found, 2 bad usage or unusable input, 3 a file
// could not be written or is in use by another run.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
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
#include "files/tournament_csv.h"
#include "files/tournament_input.h"
#include "html_command.h"
#include "quelna_version.h"
#include "seating/seat_next_round.h"
#include "seating/round_quality.h"
#include "serve_command.h"

namespace {

using namespace quelna;

constexpr std::string_view kUsage =
    "usage:\n"
    "  quelna-cli simulate --players N --rounds R [--teams] [--seed S]\n"
    "                      [--exhaustive-variants E] [--random-variants P]\n"
    "                      [--exhaustive-seconds A] [--random-seconds B]\n"
    "                      [--fixed-tables K] [--overlap-tables M] [--out FILE.csv]\n"
    "                      [--search fast|text] [--fewest-repeats]\n"
    "  quelna-cli seat IN.csv [--out OUT.csv] [--seed S]\n"
    "                      [--exhaustive-variants E] [--random-variants P]\n"
    "                      [--exhaustive-seconds A] [--random-seconds B]\n"
    "                      [--fixed-tables K] [--overlap-tables M] [--encoding utf-8]\n"
    "                      [--search fast|text] [--fewest-repeats]\n"
    "  quelna-cli html IN.csv --out DIR [--title TITLE] [--encoding utf-8]\n"
    "  quelna-cli export-rating IN.csv --out OUT.csv\n"
    "  quelna-cli serve FILE.csv [--port P] [--host ADDR] [--title TITLE]\n"
    "  quelna-cli --help | --version\n"
    "\n"
    "simulate plays a whole test tournament with random names, teams and results;\n"
    "seat seats the next round of a saved tournament file (replacing it unless --out is given).\n"
    "Players who already have a table in that round (placed by hand) keep it and their\n"
    "table-mates; when the random search was needed, the tables may be renumbered as a whole.\n"
    "A file holding tables or points after a round that is not complete, or a number that is\n"
    "not a whole number (5,5 or 1e5), is refused, and nothing is written. Names are read as\n"
    "CP1251; a file whose names look like UTF-8 is refused unless --encoding utf-8 (or\n"
    "cp1251) says how to read them.\n"
    "While seat runs, the file and --out are locked; a second run on them ends at once.\n"
    "Limits of 0 mean no limit; each phase has 60 seconds by default.\n"
    "--search text is the plain depth-first search, whose variants --exhaustive-variants\n"
    "counts; --search fast (the default) reaches the same seating sooner.\n"
    "--fewest-repeats: when a round is proven to have no seating without repeat meetings,\n"
    "seat it with the fewest (team-mates apart whenever possible) and list the repeat pairs.\n"
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
    PhaseLimits limits;
    long long fixedTables = 0;
    long long overlapTables = 0;
    ExhaustiveMethod search = ExhaustiveMethod::Fast;
    bool fewestRepeats = false;
    TextEncoding encoding = TextEncoding::Auto;
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
        if ((name == "--teams" && simulate) || name == "--fewest-repeats") {
            if (value)
                return name + " takes no value";
            (name == "--teams" ? o.teams : o.fewestRepeats) = true;
            continue;
        }
        const bool known = counts.count(name) || name == "--seed" || name == "--out" ||
                           name == "--search" ||
                           (simulate && (name == "--players" || name == "--rounds")) ||
                           (!simulate && name == "--encoding");
        if (!known)
            return "unknown option '" + name + "' for " + o.command;
        if (!value) {
            if (i + 1 >= args.size())
                return "option " + name + " needs a value";
            value = args[++i];
        }
        if (name == "--search") {
            if (*value != "fast" && *value != "text")
                return "--search must be fast or text, not '" + *value + "'";
            o.search = *value == "fast" ? ExhaustiveMethod::Fast : ExhaustiveMethod::Plain;
            continue;
        }
        if (name == "--out") {
            if (value->empty())
                return std::string("--out needs a file name");
            o.out = *value;
            continue;
        }
        if (name == "--encoding") {
            const std::optional<TextEncoding> encoding = parseTextEncoding(*value);
            if (!encoding)
                return "--encoding must be utf-8 or cp1251, not '" + *value + "'";
            o.encoding = *encoding;
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
    if (auto problem = tournamentSizeProblem(players, rounds))
        return problem;
    const long long tables = players / 4;
    if (o.fixedTables > tables)
        return "--fixed-tables must be from 0 to " + std::to_string(tables);
    if (o.overlapTables > tables)
        return "--overlap-tables must be from 0 to " + std::to_string(tables);
    return std::nullopt;
}

std::uint32_t seedOf(const Options& o) {
    return o.seed ? static_cast<std::uint32_t>(*o.seed)
                  : static_cast<std::uint32_t>(std::time(nullptr));
}

NextRoundOptions nextRoundOptions(const Options& o) {
    NextRoundOptions options;
    options.seating.method = o.search;
    options.seating.fixedTables = static_cast<int>(o.fixedTables);
    options.seating.overlapTables = static_cast<int>(o.overlapTables);
    options.fewestRepeats = o.fewestRepeats;
    return options;
}

const char* methodName(const SeatingOutcome& outcome) {
    if (outcome.fewestRepeats)
        return "fewest-repeats";
    return outcome.seated() && !outcome.randomUsed ? "exhaustive" : "random";
}

void printReport(const Tournament& t, int round, const SeatingOutcome& outcome) {
    // A failed seating is reported as the search left it, before it was undone.
    const bool seated = outcome.seated();
    std::cout << "round=" << round + 1 << " result=" << (seated ? "seated" : "failed")
              << " method=" << methodName(outcome) << " variants=" << outcome.variants
              << " repeats=" << (seated ? countRepeatPairs(t, round) : outcome.repeatsLeft)
              << " factor=" << (seated ? roundDisplayFactor(t, round) : outcome.factorLeft)
              << '\n';
    if (outcome.fewestRepeats)
        for (const RepeatPair& pair : outcome.repeats)
            std::cout << "repeat: " << t.playerNumber[pair.a] + 1 << ' ' << t.names[pair.a] << " - "
                      << t.playerNumber[pair.b] + 1 << ' ' << t.names[pair.b]
                      << (pair.teamMates ? " (team-mates)" : "") << '\n';
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
    Random random(seedOf(o));
    Tournament t(static_cast<int>(*o.players), static_cast<int>(*o.rounds));
    generateRandomNames(t, random);
    if (o.teams)
        generateRandomTeams(t, random);
    numberPlayersInOrder(t);
    t.purgeUnusedTeams();
    t.rebuildMeetings();

    for (int c = 0; c < t.roundCount; ++c) {
        const SeatingOutcome outcome = seatNextRoundUnattended(t, nextRoundOptions(o), o.limits, random);
        if (!outcome.seated()) {
            printReport(t, c, outcome);
            std::string why;
            if (!writeResult(t, o.out, &why))
                return failWrite(o.out.value_or("the result"), why);
            return kExitNoSeating;
        }
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

    TournamentInput input = openTournamentInput(o.input, o.encoding);
    if (!input.raw)
        return fail(input.refusal);
    Tournament& t = *input.raw;
    const int players = t.playerCount;
    if (auto error = checkSize(players, t.roundCount, o))
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
    Random random(seedOf(o));
    const SeatingOutcome outcome = seatNextRoundUnattended(t, nextRoundOptions(o), o.limits, random);
    if (!outcome.seated()) {
        printReport(t, c, outcome);
        return kExitNoSeating;
    }
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
    if (!args.empty() && args[0] == "serve")
        return quelna::runServeCommand(args);
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
