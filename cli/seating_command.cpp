#include "cli/seating_command.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <iostream>
#include <vector>

#include "core/random.h"
#include "seating/fewest_repeats.h"
#include "seating/round_quality.h"

namespace quelna::cli {

int fail(const std::string& message, int status) {
    std::cerr << "quelna-cli: " << message << '\n';
    return status;
}

int failWrite(const std::string& target, const std::string& reason) {
    return fail("cannot write " + target + (reason.empty() ? "" : ": " + reason), kExitWrite);
}

CommandSyntax seatingSyntax(std::string_view command, std::vector<std::string_view> ownOptions) {
    CommandSyntax syntax{.command = command,
                         .options = {"--out", "--seed", "--exhaustive-variants",
                                     "--random-variants", "--exhaustive-seconds",
                                     "--random-seconds", "--fixed-tables", "--overlap-tables",
                                     "--search", "--fewest-repeats", "--plan-ahead"}};
    syntax.options.insert(syntax.options.end(), ownOptions.begin(), ownOptions.end());
    return syntax;
}

Options seatingOptions(const Arguments& a) {
    Options o;
    if (!a.positionals.empty())
        o.input = a.positionals.front();
    o.out = a.text("--out");
    o.players = a.count("--players");
    o.rounds = a.count("--rounds");
    o.teams = a.has("--teams");
    o.seed = a.count("--seed");
    PhaseLimits& l = o.limits;
    l.exhaustiveVariants = a.count("--exhaustive-variants").value_or(l.exhaustiveVariants);
    l.randomVariants = a.count("--random-variants").value_or(l.randomVariants);
    l.exhaustiveSeconds = a.count("--exhaustive-seconds").value_or(l.exhaustiveSeconds);
    l.randomSeconds = a.count("--random-seconds").value_or(l.randomSeconds);
    o.fixedTables = a.count("--fixed-tables").value_or(0);
    o.overlapTables = a.count("--overlap-tables").value_or(0);
    if (a.text("--search") == "text")
        o.search = ExhaustiveMethod::Plain;
    o.fewestRepeats = a.has("--fewest-repeats");
    o.planAhead = a.text("--plan-ahead") != "off";
    if (const std::optional<std::string> name = a.text("--encoding"))
        o.encoding = parseTextEncoding(*name).value_or(TextEncoding::Auto);
    return o;
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

namespace {

const char* methodName(const SeatingOutcome& outcome) {
    if (outcome.fewestRepeats)
        return "fewest-repeats";
    return outcome.seated() && !outcome.randomUsed ? "exhaustive" : "random";
}

} // namespace

void printReport(const Tournament& t, int round, const SeatingOutcome& outcome, bool planAhead) {
    // A failed seating is reported as the search left it, before it was undone.
    const bool seated = outcome.seated();
    std::cout << "round=" << round + 1 << " result=" << (seated ? "seated" : "failed")
              << " method=" << methodName(outcome) << " variants=" << outcome.variants
              << " repeats=" << (seated ? countRepeatPairs(t, round) : outcome.repeatsLeft)
              << " factor=" << (seated ? roundDisplayFactor(t, round) : outcome.factorLeft);
    if (planAhead)
        std::cout << " ahead=" << std::max(outcome.aheadRounds, 0);
    std::cout << '\n';
    if (outcome.fewestRepeats)
        for (const RepeatPair& pair : outcome.repeats)
            std::cout << "repeat: " << t.playerNumber[pair.a] + 1 << ' ' << t.names[pair.a] << " - "
                      << t.playerNumber[pair.b] + 1 << ' ' << t.names[pair.b]
                      << (pair.teamMates ? " (team-mates)" : "") << '\n';
    std::cout.flush();
}

SeatingOutcome seatNextRound(Tournament& t, const Options& o, Random& random) {
    NextRoundOptions options;
    options.seating.method = o.search;
    options.seating.fixedTables = static_cast<int>(o.fixedTables);
    options.seating.overlapTables = static_cast<int>(o.overlapTables);
    options.fewestRepeats = o.fewestRepeats;
    options.seating.planAhead = o.planAhead;
    return seatNextRoundUnattended(t, options, o.limits, random);
}

} // namespace quelna::cli
