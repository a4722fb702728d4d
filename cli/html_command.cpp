#include "cli/html_command.h"

#include <iostream>
#include <string_view>

#include "cli/command_input.h"
#include "core/text.h"
#include "core/tournament.h"
#include "publish/export_pages.h"
#include "publish/player_pages.h"

namespace quelna {

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitCannotWrite = 3;

constexpr std::string_view kHtmlUsage =
    "usage: quelna-cli html IN.csv --out DIR [--title TITLE] [--encoding utf-8]\n"
    "writes index.html, standings.html, teams.html and seating.json of a saved tournament\n"
    "into DIR (created when missing). TITLE (UTF-8) heads every page. A file that seat\n"
    "refuses is refused here too; --encoding reads its names as UTF-8 (or cp1251).\n"
    "Exit status: 0 written, 2 bad usage or unusable input, 3 DIR cannot be written.\n";

} // namespace

int runHtmlCommand(const std::vector<std::string>& args) {
    std::string input;
    std::string out;
    std::string title;
    std::string encodingName = "auto";
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::cout << kHtmlUsage;
            return kExitWritten;
        }
        if (a == "--out" || a == "--title" || a == "--encoding") {
            if (i + 1 >= args.size())
                return usageError("option " + a + " needs a value");
            (a == "--out" ? out : a == "--title" ? title : encodingName) = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            return usageError("unknown option '" + a + "' for html");
        } else if (input.empty()) {
            input = a;
        } else {
            return usageError("unexpected argument '" + a + "'");
        }
    }
    if (input.empty())
        return usageError("html needs the tournament file to read; see html --help");
    if (out.empty())
        return usageError("html needs --out DIR");

    const std::optional<TextEncoding> encoding =
        encodingName == "auto" ? TextEncoding::Auto : parseTextEncoding(encodingName);
    if (!encoding)
        return usageError("--encoding must be utf-8 or cp1251, not '" + encodingName + "'");
    std::optional<Tournament> record;
    if (auto problem = readTournamentInput(input, *encoding, record))
        return usageError(*problem);
    const Tournament& t = *record;
    std::string error;
    if (!exportPlayerPages(renderPlayerPages(t, utf8ToCp1251(title)), out, &error)) {
        std::cerr << "quelna-cli: cannot write the pages: " << error << '\n';
        return kExitCannotWrite;
    }
    std::cout << "round=" << t.currentRound << " players=" << t.playerCount << " written=" << out
              << '\n';
    return kExitWritten;
}

} // namespace quelna
