// quelna-cli serve FILE.csv: the players' pages of a saved tournament on the web, published anew
// whenever the file changes.
#include <iostream>
#include <string_view>

#include "cli/command_input.h"
#include "cli/commands.h"

#if QUELNA_PLAYER_PAGE
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <thread>

#include "cli/options.h"
#include "core/fs_path.h"
#include "core/text.h"
#include "publish/player_pages.h"
#include "publish/server/page_server.h"
#endif

namespace quelna::cli {

namespace {

constexpr int kExitStopped = 0;
[[maybe_unused]] constexpr int kExitPort = 3;

constexpr std::string_view kServeUsage =
    "usage: quelna-cli serve FILE.csv [--port P] [--host ADDR] [--title TITLE]\n"
    "serves index.html, standings.html, teams.html and seating.json of a saved tournament\n"
    "on http://ADDR:P/ (all interfaces and port 8080 by default; port 0 picks a free one)\n"
    "and publishes them anew within a second or two whenever FILE.csv changes (an autosave,\n"
    "say). TITLE (UTF-8) heads every page. Ctrl+C stops it.\n"
    "Exit status: 0 stopped, 2 bad usage or unusable input, 3 the port cannot be opened.\n";

#if QUELNA_PLAYER_PAGE

std::atomic<bool> stopRequested{false};

extern "C" void requestStop(int) {
    stopRequested = true;
}

// What identifies one version of the file without reading it.
struct FileStamp {
    std::filesystem::file_time_type time{};
    std::uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stampOf(const std::string& path) {
    std::error_code ec;
    FileStamp s;
    s.time = std::filesystem::last_write_time(fsPath(path), ec);
    if (ec)
        return std::nullopt;
    s.size = std::filesystem::file_size(fsPath(path), ec);
    if (ec)
        return std::nullopt;
    return s;
}

void note(const std::string& line) {
    std::cout << line << std::endl; // flushed: a supervising program reads it as it comes
}

#endif

} // namespace

int runServeCommand(const std::vector<std::string>& args) {
#if QUELNA_PLAYER_PAGE
    static const CommandSyntax syntax{
        .command = "serve",
        .options = {"--port", "--host", "--title"},
        .positionals = 1,
        .missingPositional = "serve needs the tournament file to read; see serve --help"};
    Arguments a;
    if (auto status = readArguments(syntax, args, kServeUsage, a))
        return *status;
    const std::string& input = a.positionals.front();
    const std::string host = a.text("--host").value_or("0.0.0.0");
    const int port = static_cast<int>(a.count("--port").value_or(8080));

    std::optional<FileStamp> stamp = stampOf(input);
    std::optional<Tournament> t;
    if (auto problem = readTournamentInput(input, TextEncoding::Auto, t))
        return usageError(*problem);
    const std::string title = utf8ToCp1251(a.text("--title").value_or(""));
    SnapshotSlot slot;
    slot.publish(makePageSnapshot(renderPlayerPages(*t, title)));
    PageServer server(slot);
    const ServerStart started = server.start(port, host);
    if (started != ServerStart::Started) {
        std::cerr << "quelna-cli: cannot listen on " << host << ':' << port
                  << (started == ServerStart::PortInUse      ? ": the port is in use"
                      : started == ServerStart::NotPermitted ? ": not permitted"
                                                             : "")
                  << '\n';
        return kExitPort;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    note("quelna-cli: serving " + input + " round=" + std::to_string(t->currentRound) +
         " at http://" + host + ':' + std::to_string(server.port()) + '/');

    // The file is looked at once a second; the stop request several times as often, so that
    // Ctrl+C ends the program well within a second.
    using namespace std::chrono_literals;
    std::optional<FileStamp> reported = stamp;
    for (int tick = 1; !stopRequested; ++tick) {
        std::this_thread::sleep_for(100ms);
        if (tick % 10 != 0)
            continue;
        const std::optional<FileStamp> now = stampOf(input);
        if (now == stamp)
            continue;
        // A refused version keeps the pages as they were; it is tried again at the next look,
        // and reported once.
        std::optional<Tournament> next;
        const std::optional<std::string> problem =
            readTournamentInput(input, TextEncoding::Auto, next);
        if (!problem) {
            slot.publish(makePageSnapshot(renderPlayerPages(*next, title)));
            stamp = reported = now;
            note("quelna-cli: published round=" + std::to_string(next->currentRound));
        } else if (now != reported) {
            reported = now;
            std::cerr << "quelna-cli: " << *problem << "; the pages stay as they were\n";
        }
    }
    server.stop();
    note("quelna-cli: stopped");
    return kExitStopped;
#else
    (void)args;
    return usageError("this quelna-cli was built without the players' page server");
#endif
}

} // namespace quelna::cli
