// quelna-cli html IN.csv --out DIR: the players' pages of a saved tournament as files.
#include <iostream>
#include <string_view>

#include "cli/command_input.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "core/text.h"
#include "core/tournament.h"
#include "publish/export_pages.h"
#include "publish/player_pages.h"

namespace quelna::cli {

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
    static const CommandSyntax syntax{.command = "html",
                                      .options = {"--out", "--title", "--encoding"},
                                      .positionals = 1,
                                      .missingPositional =
                                          "html needs the tournament file to read; see html --help",
                                      .required = {{"--out", "html needs --out DIR"}}};
    Arguments a;
    if (auto status = readArguments(syntax, args, kHtmlUsage, a))
        return *status;
    const std::string& input = a.positionals.front();
    const std::string out = *a.text("--out");
    const std::string title = a.text("--title").value_or("");
    const TextEncoding encoding =
        parseTextEncoding(a.text("--encoding").value_or("auto")).value_or(TextEncoding::Auto);

    std::optional<Tournament> record;
    if (auto problem = readTournamentInput(input, encoding, record))
        return usageError(*problem);
    const Tournament& t = *record;
    std::string error;
    if (!exportPlayerPages(renderPlayerPages(t, utf8ToCp1251(title), nullptr, {.served = false}),
                           out, &error)) {
        std::cerr << "quelna-cli: cannot write the pages: " << error << '\n';
        return kExitCannotWrite;
    }
    std::cout << "round=" << t.currentRound << " players=" << t.playerCount << " written=" << out
              << '\n';
    return kExitWritten;
}

} // namespace quelna::cli
