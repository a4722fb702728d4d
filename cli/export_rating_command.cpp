// quelna-cli export-rating IN.csv --out OUT.csv: a saved tournament's results for the rating
// portal.
#include <iostream>
#include <memory>
#include <string_view>

#include "cli/command_input.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "files/rating_export.h"

namespace quelna::cli {

namespace {

constexpr std::string_view kExportUsage =
    "usage: quelna-cli export-rating IN.csv --out OUT.csv\n"
    "writes the results of a saved tournament for the rating portal: UTF-8, comma-separated,\n"
    "place,name,scores,games in standings order. Every name must be two words (Surname Name).\n"
    "Exit status: 0 written, 2 bad usage, unusable input or names, 3 OUT.csv cannot be written.\n";

} // namespace

int runExportRatingCommand(const std::vector<std::string>& args) {
    static constexpr std::string_view kMissing =
        "export-rating needs IN.csv and --out OUT.csv; see export-rating --help";
    static const CommandSyntax syntax{.command = "export-rating",
                                      .options = {"--out"},
                                      .positionals = 1,
                                      .missingPositional = kMissing,
                                      .required = {{"--out", kMissing}}};
    Arguments a;
    if (auto status = readArguments(syntax, args, kExportUsage, a))
        return *status;
    const std::string& input = a.positionals.front();
    const std::string out = *a.text("--out");

    std::optional<Tournament> t;
    if (auto problem = readTournamentInput(input, TextEncoding::Auto, t))
        return usageError(*problem);
    std::vector<RatingNameProblem> problems;
    std::string error;
    if (exportRatingFile(*t, out, problems, error)) {
        std::cout << "players=" << t->playerCount << " written=" << out << '\n';
        return 0;
    }
    if (problems.empty()) {
        std::cerr << "quelna-cli: cannot write " << out << ": " << error << '\n';
        return 3;
    }
    std::cerr << "quelna-cli: the rating portal needs every name as two words (Surname Name), "
                 "and none may begin with = + - or @, which a spreadsheet would run as a formula; "
                 "nothing written. Rows of the standings:\n";
    for (const RatingNameProblem& p : problems)
        std::cerr << "  " << p.position << ": \"" << p.name << "\""
                  << (p.why == RatingNameProblem::Why::Formula ? " would be taken as a formula"
                                                               : " is not two words")
                  << '\n';
    return 2;
}

} // namespace quelna::cli
