// quelna-cli seat: the next round of a saved tournament, written back to the file (or to --out)
// under a lock on both.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/file_lock.h"
#include "cli/seating_command.h"
#include "core/fs_path.h"
#include "files/tournament_csv.h"

namespace quelna::cli {

namespace {

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
    const SeatingOutcome outcome = seatNextRound(t, o, random);
    if (!outcome.seated()) {
        printReport(t, c, outcome, o.planAhead);
        return kExitNoSeating;
    }
    const std::string target = o.out.value_or(o.input);
    inputLock.releaseBeforeReplace();
    outputLock.releaseBeforeReplace();
    std::string why;
    if (!saveTournamentFile(t, target, &why))
        return failWrite(target, why);
    printReport(t, c, outcome, o.planAhead);
    return kExitSeated;
}

} // namespace

int runSeatCommand(const std::vector<std::string>& args) {
    static const CommandSyntax syntax = [] {
        CommandSyntax syntax = seatingSyntax("seat", {"--encoding"});
        syntax.positionals = 1;
        syntax.missingPositional = "seat needs the tournament file to read";
        return syntax;
    }();
    Arguments a;
    if (auto status = readArguments(syntax, args, kUsage, a))
        return *status;
    return seat(seatingOptions(a));
}

} // namespace quelna::cli
