// quelna-cli: the engine, the pages and the files of the program without a window. Here only the
// command named first is found and handed the arguments; --help and --version alone are answered.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_input.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/options.h"

namespace quelna::cli {

const std::string_view kUsage =
    "usage:\n"
    "  quelna-cli simulate --players N --rounds R [--teams] [--seed S]\n"
    "                      [--exhaustive-variants E] [--random-variants P]\n"
    "                      [--exhaustive-seconds A] [--random-seconds B]\n"
    "                      [--fixed-tables K] [--overlap-tables M] [--out FILE.csv]\n"
    "                      [--search fast|text] [--fewest-repeats] [--plan-ahead on|off]\n"
    "  quelna-cli seat IN.csv [--out OUT.csv] [--seed S]\n"
    "                      [--exhaustive-variants E] [--random-variants P]\n"
    "                      [--exhaustive-seconds A] [--random-seconds B]\n"
    "                      [--fixed-tables K] [--overlap-tables M] [--encoding utf-8]\n"
    "                      [--search fast|text] [--fewest-repeats] [--plan-ahead on|off]\n"
    "  quelna-cli html IN.csv --out DIR [--title TITLE] [--encoding utf-8]\n"
    "  quelna-cli export-rating IN.csv --out OUT.csv\n"
    "  quelna-cli serve FILE.csv [--port P] [--host ADDR] [--title TITLE]\n"
    "  quelna-cli check FILE.csv [--plan-ahead on|off] [--format text|json]\n"
    "                      [--fixed-tables K] [--overlap-tables M] [--search fast|text]\n"
    "                      [--exhaustive-seconds A] [--exhaustive-variants E] [--encoding utf-8]\n"
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
    "--plan-ahead on (the default) accepts a seating only when the rounds after it can still be\n"
    "seated without repeat meetings, as far ahead as a schedule for them is found (ahead= in\n"
    "the report); off seats each round by the plain rule alone.\n"
    "Exit status: 0 seated, 1 no seating found, 2 bad usage or unusable input,\n"
    "3 could not write (or the file is in use by another run).\n";

} // namespace quelna::cli

int main(int argc, char** argv) {
    using namespace quelna::cli;
    quelna::useBinaryStandardOutput();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args = quelna::commandLineArguments(argc, argv);
    static const struct {
        std::string_view name;
        int (*run)(const std::vector<std::string>&);
    } commands[] = {
        {"simulate", runSimulateCommand},
        {"seat", runSeatCommand},
        {"html", runHtmlCommand},
        {"serve", runServeCommand},
        {"export-rating", runExportRatingCommand},
        {"check", runCheckCommand},
    };
    for (const auto& command : commands)
        if (!args.empty() && args[0] == command.name)
            return command.run(args);
    if (auto status = answerRequest(requestOf(args), kUsage))
        return *status;
    if (args.empty())
        return quelna::usageError("no command given (simulate or seat); see --help");
    return quelna::usageError("unknown command '" + args[0] + "'; see --help");
}
