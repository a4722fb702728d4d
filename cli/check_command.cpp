// quelna-cli check FILE.csv: a referee's check of a saved tournament, round by round.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audit/check_report.h"
#include "audit/fairness.h"
#include "audit/tournament_check.h"
#include "cli/commands.h"
#include "cli/seating_command.h"
#include "files/tournament_csv.h"
#include "files/written_standings.h"

namespace quelna::cli {

namespace {

constexpr std::string_view kCheckUsage =
    "usage: quelna-cli check FILE.csv [--plan-ahead on|off] [--format text|json]\n"
    "                      [--fixed-tables K] [--overlap-tables M] [--search fast|text]\n"
    "                      [--exhaustive-seconds A] [--exhaustive-variants E] [--encoding utf-8]\n"
    "seats every round of a saved tournament again from the standings before it, as quelna-cli\n"
    "seat would with the file's settings (--fixed-tables, --overlap-tables, --plan-ahead, on by\n"
    "default), and names the tables that differ; also repeat meetings, team-mates at one table,\n"
    "tables that do not sum to zero or have no results, substitutes and penalties, and totals or\n"
    "places the file holds otherwise than the program computes them. Only the exhaustive search\n"
    "is redone (60 seconds a round unless --exhaustive-seconds says otherwise, 0 = no limit): a\n"
    "round the program would have seated by its random search is checked for its meetings only.\n"
    "The report is in Russian, one line per finding, a summary last; --format json for programs.\n"
    "Exit status: 0 nothing breaks a rule, 1 something does, 2 bad usage or a file it refuses.\n";

constexpr int kExitClean = 0;
constexpr int kExitBroken = 1;

int check(const Arguments& a) {
    const Options o = seatingOptions(a);
    std::optional<Tournament> t;
    {
        TournamentInput input = openTournamentInput(o.input, o.encoding);
        if (!input.raw)
            return fail(input.refusal);
        t = std::move(input.raw);
    }
    if (auto error = checkSize(t->playerCount, t->roundCount, o))
        return fail(o.input + ": " + *error);
    t->normalizeRounds();
    // The places and totals the file wrote are ASCII whatever its encoding.
    std::string bytes;
    if (readTournamentFile(o.input, bytes) != FileReadError::None)
        return fail("cannot read " + o.input);
    const WrittenStandings written = readWrittenStandings(bytes, t->playerCount, t->roundCount);

    RederiveSettings settings;
    settings.seating.method = o.search;
    settings.seating.fixedTables = static_cast<int>(o.fixedTables);
    settings.seating.overlapTables = static_cast<int>(o.overlapTables);
    settings.seating.planAhead = a.text("--plan-ahead").value_or("on") == "on";
    settings.exhaustiveSeconds = o.limits.exhaustiveSeconds;
    settings.exhaustiveVariants = o.limits.exhaustiveVariants;
    const CheckReport report = checkTournament(*t, settings, &written);
    const FairnessFigures fairness = fairnessOf(*t);
    if (a.text("--format") == "json")
        std::cout << checkReportJson(*t, report, fairness);
    else
        std::cout << checkReportText(report, fairness);
    std::cout.flush();
    return report.breaksRules() ? kExitBroken : kExitClean;
}

} // namespace

int runCheckCommand(const std::vector<std::string>& args) {
    static const CommandSyntax syntax{
        .command = "check",
        .options = {"--plan-ahead", "--format", "--fixed-tables", "--overlap-tables", "--search",
                    "--exhaustive-seconds", "--exhaustive-variants", "--encoding"},
        .positionals = 1,
        .missingPositional = "check needs the tournament file to read"};
    Arguments a;
    if (auto status = readArguments(syntax, args, kCheckUsage, a))
        return *status;
    return check(a);
}

} // namespace quelna::cli
