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
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "cli/options.h"
#include "core/fs_path.h"
#include "core/text.h"
#include "publish/player_pages.h"
#include "publish/server/local_addresses.h"
#include "publish/server/page_server.h"
#endif

namespace quelna::cli {

namespace {

constexpr int kExitStopped = 0;
[[maybe_unused]] constexpr int kExitPort = 3;

constexpr std::string_view kServeUsage =
    "usage: quelna-cli serve FILE.csv [--port P] [--host ADDR] [--title TITLE]\n"
    "serves index.html, standings.html, teams.html and seating.json of a saved tournament\n"
    "on http://ADDR:P/ (all IPv4 interfaces and port 8080 by default; ADDR may be an IPv4 or\n"
    "IPv6 address or localhost; port 0 picks a free one), with each player's own page p/N,\n"
    "in Russian or English (?lang=en), and publishes them anew within a second or two\n"
    "whenever the content of FILE.csv changes (an autosave, say); open pages follow within a\n"
    "few seconds. The first line lists the addresses a phone can open. TITLE (UTF-8) heads\n"
    "every page. Ctrl+C stops it.\n"
    "Exit status: 0 stopped, 2 bad usage or unusable input, 3 the port cannot be opened.\n";

#if QUELNA_PLAYER_PAGE

std::atomic<bool> stopRequested{false};

extern "C" void requestStop(int) {
    stopRequested = true;
}

// What identifies one version of the file: its content, since a save within the same second
// and of the same size leaves time and size as they were. A tournament file is small enough to
// read once a second.
struct FileStamp {
    std::uint64_t hash = 0;
    std::uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stampOf(const std::string& path) {
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    FileStamp s;
    s.hash = 14695981039346656037ull; // FNV-1a
    char buffer[8192];
    while (in) {
        in.read(buffer, sizeof buffer);
        const std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i) {
            s.hash ^= static_cast<unsigned char>(buffer[i]);
            s.hash *= 1099511628211ull;
        }
        s.size += static_cast<std::uintmax_t>(n);
    }
    if (in.bad())
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
    slot.publish(makePageSnapshot(renderServedPages(*t, title)));
    PageServer server(slot);
    const ServerStart started = server.start(port, host);
    if (started == ServerStart::BadAddress)
        return usageError("--host takes an IP address (such as 0.0.0.0, 127.0.0.1, :: or ::1) "
                          "or localhost, not '" +
                          host + "'");
    if (started != ServerStart::Started) {
        std::cerr << "quelna-cli: cannot listen on " << host << ':' << port
                  << (started == ServerStart::PortInUse        ? ": the port is in use"
                      : started == ServerStart::NotPermitted   ? ": not permitted"
                      : started == ServerStart::AddressNotHere ? ": no interface of this computer "
                                                                 "has that address"
                                                               : "")
                  << '\n';
        return kExitPort;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    // The addresses a phone can open, as the QR slide shows them, not the wildcard.
    std::string urls;
    for (const std::string& url : pageUrls(host, server.port()))
        urls += (urls.empty() ? "" : " ") + url;
    note("quelna-cli: serving " + input + " round=" + std::to_string(t->currentRound) + " at " +
         urls);

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
            slot.publish(makePageSnapshot(renderServedPages(*next, title), slot.current()));
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
