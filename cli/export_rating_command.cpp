#include "cli/export_rating_command.h"

#include <iostream>
#include <memory>
#include <string_view>

#include "cli/command_input.h"
#include "files/rating_export.h"

namespace quelna {

namespace {

constexpr std::string_view kUsage =
    "usage: quelna-cli export-rating IN.csv --out OUT.csv\n"
    "writes the results of a saved tournament for the rating portal: UTF-8, comma-separated,\n"
    "place,name,scores,games in standings order. Every name must be two words (Surname Name).\n"
    "Exit status: 0 written, 2 bad usage, unusable input or names, 3 OUT.csv cannot be written.\n";

} // namespace

int runExportRatingCommand(const std::vector<std::string>& args) {
    std::string input, out;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (a == "--out" && i + 1 < args.size())
            out = args[++i];
        else if (a.rfind("--", 0) == 0)
            return usageError("unknown or incomplete option '" + a + "' for export-rating");
        else if (input.empty())
            input = a;
        else
            return usageError("unexpected argument '" + a + "'");
    }
    if (input.empty() || out.empty())
        return usageError("export-rating needs IN.csv and --out OUT.csv; see export-rating --help");

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
    std::cerr << "quelna-cli: the rating portal needs every name as two words (Surname Name); "
                 "nothing written. Rows of the standings:\n";
    for (const RatingNameProblem& p : problems)
        std::cerr << "  " << p.position << ": \"" << p.name << "\"\n";
    return 2;
}

} // namespace quelna
