// quelna-cli simulate: a whole test tournament with random names, teams and results, seated round
// by round until a round has no seating.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/seating_command.h"
#include "core/random.h"
#include "core/test_data.h"
#include "files/tournament_csv.h"

namespace quelna::cli {

namespace {

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
    Tournament t = simulatedRegistration(static_cast<int>(*o.players),
                                         static_cast<int>(*o.rounds), o.teams, random);

    for (int c = 0; c < t.roundCount; ++c) {
        const SeatingOutcome outcome = seatNextRound(t, o, random);
        if (!outcome.seated()) {
            printReport(t, c, outcome, o.planAhead);
            std::string why;
            if (!writeResult(t, o.out, &why))
                return failWrite(o.out.value_or("the result"), why);
            return kExitNoSeating;
        }
        generateRandomResults(t, c, random);
        printReport(t, c, outcome, o.planAhead);
    }
    std::string why;
    if (!writeResult(t, o.out, &why))
        return failWrite(o.out.value_or("the result"), why);
    return kExitSeated;
}

} // namespace

int runSimulateCommand(const std::vector<std::string>& args) {
    static const CommandSyntax syntax = [] {
        CommandSyntax syntax = seatingSyntax("simulate", {"--players", "--rounds", "--teams"});
        syntax.required = {{"--players", "simulate needs --players N"},
                           {"--rounds", "simulate needs --rounds R"}};
        return syntax;
    }();
    Arguments a;
    if (auto status = readArguments(syntax, args, kUsage, a))
        return *status;
    return simulate(seatingOptions(a));
}

} // namespace quelna::cli
