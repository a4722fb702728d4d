#include "cli/serve_command.h"

#include <iostream>
#include <string_view>

#include "cli/command_input.h"

#if QUELNA_PLAYER_PAGE
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <thread>

#include "core/fs_path.h"
#include "core/text.h"
#include "publish/player_pages.h"
#include "publish/server/page_server.h"
#endif

namespace quelna {

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

struct ServeOptions {
    std::string input;
    std::string host = "0.0.0.0";
    int port = 8080;
    std::string title;
};

// Fills o; returns an error text, an empty one for --help, nothing when usable.
std::optional<std::string> parseServeArguments(const std::vector<std::string>& args,
                                               ServeOptions& o) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h")
            return std::string();
        if (a == "--port" || a == "--host" || a == "--title") {
            if (i + 1 >= args.size())
                return "option " + a + " needs a value";
            const std::string& value = args[++i];
            if (a == "--host") {
                o.host = value;
            } else if (a == "--title") {
                o.title = value;
            } else {
                if (value.empty() || value.size() > 5 ||
                    value.find_first_not_of("0123456789") != std::string::npos ||
                    std::stoi(value) > 65535)
                    return "--port must be from 0 to 65535, not '" + value + "'";
                o.port = std::stoi(value);
            }
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option '" + a + "' for serve";
        } else if (o.input.empty()) {
            o.input = a;
        } else {
            return "unexpected argument '" + a + "'";
        }
    }
    if (o.input.empty())
        return std::string("serve needs the tournament file to read; see serve --help");
    return std::nullopt;
}

void note(const std::string& line) {
    std::cout << line << std::endl; // flushed: a supervising program reads it as it comes
}

#endif

} // namespace

int runServeCommand(const std::vector<std::string>& args) {
#if QUELNA_PLAYER_PAGE
    ServeOptions o;
    if (auto error = parseServeArguments(args, o)) {
        if (error->empty()) {
            std::cout << kServeUsage;
            return kExitStopped;
        }
        return usageError(*error);
    }
    std::optional<FileStamp> stamp = stampOf(o.input);
    std::optional<Tournament> t;
    if (auto problem = readTournamentInput(o.input, TextEncoding::Auto, t))
        return usageError(*problem);
    const std::string title = utf8ToCp1251(o.title);
    SnapshotSlot slot;
    slot.publish(makePageSnapshot(renderPlayerPages(*t, title)));
    PageServer server(slot);
    const ServerStart started = server.start(o.port, o.host);
    if (started != ServerStart::Started) {
        std::cerr << "quelna-cli: cannot listen on " << o.host << ':' << o.port
                  << (started == ServerStart::PortInUse      ? ": the port is in use"
                      : started == ServerStart::NotPermitted ? ": not permitted"
                                                             : "")
                  << '\n';
        return kExitPort;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    note("quelna-cli: serving " + o.input + " round=" + std::to_string(t->currentRound) +
         " at http://" + o.host + ':' + std::to_string(server.port()) + '/');

    // The file is looked at once a second; the stop request several times as often, so that
    // Ctrl+C ends the program well within a second.
    using namespace std::chrono_literals;
    std::optional<FileStamp> reported = stamp;
    for (int tick = 1; !stopRequested; ++tick) {
        std::this_thread::sleep_for(100ms);
        if (tick % 10 != 0)
            continue;
        const std::optional<FileStamp> now = stampOf(o.input);
        if (now == stamp)
            continue;
        // A refused version keeps the pages as they were; it is tried again at the next look,
        // and reported once.
        std::optional<Tournament> next;
        const std::optional<std::string> problem =
            readTournamentInput(o.input, TextEncoding::Auto, next);
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

} // namespace quelna
