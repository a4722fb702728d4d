// `quelna-cli seat` on arbitrary files, run in-process. The first byte picks the table options,
// the rest is the tournament file. Whatever the file holds, the runner must end with status 0, 1
// or 2; on 0 the written file holds the earlier rounds unchanged and one more complete round in
// which the players placed by hand keep their tables (renumbered only as a whole after a random
// search) and no other meeting breaks the options; on 1 or 2 nothing is written. The scratch
// folder (under TMPDIR) is removed at exit.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/standings.h"
#include "core/text.h"
#include "core/tournament.h"
#include "files/tournament_csv.h"
#include "files/tournament_extras.h"
#include "fuzz_check.h"

int quelnaCliMain(int argc, char** argv);

using namespace quelna;
namespace fs = std::filesystem;

namespace {

struct TableOptions {
    int fixed, overlap;
};
// Every tournament has at least three tables, so these always fit.
constexpr std::array<TableOptions, 4> kOptions = {{{0, 0}, {1, 0}, {0, 2}, {1, 3}}};

const fs::path& scratchDir() {
    static const fs::path dir = [] {
        std::string d = (fs::temp_directory_path() / "quelna-fuzz-seat-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(d.data()) != nullptr);
        return fs::path(d);
    }();
    static const bool cleanup = [] {
        return std::atexit([] {
                   std::error_code ignored;
                   fs::remove_all(dir, ignored);
               }) == 0;
    }();
    (void)cleanup;
    return dir;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the command line with its standard output and error captured.
int runCli(std::vector<std::string> args, std::string& out) {
    std::vector<char*> argv;
    static std::string program = "quelna-cli";
    argv.push_back(program.data());
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // The program unties the streams from stdio on its first run, which also resets their
    // buffers; done here first, the capture below survives it.
    std::ios::sync_with_stdio(false);
    std::ostringstream captured, errors;
    std::streambuf* coutBuffer = std::cout.rdbuf(captured.rdbuf());
    std::streambuf* cerrBuffer = std::cerr.rdbuf(errors.rdbuf());
    const int status = quelnaCliMain(static_cast<int>(argv.size()) - 1, argv.data());
    std::cout.rdbuf(coutBuffer);
    std::cerr.rdbuf(cerrBuffer);
    out = captured.str();
    if (status == 2)
        FUZZ_CHECK(!errors.str().empty()); // bad input is always explained
    return status;
}

int countRounds(const std::string& header) {
    const std::string table = utf8ToCp1251("СТОЛ");
    int rounds = 0;
    for (std::size_t at = header.find(table); at != std::string::npos;
         at = header.find(table, at + 1))
        ++rounds;
    return rounds;
}

bool metBefore(const Tournament& t, int round, int a, int b) {
    if (t.team[a] > 0 && t.team[a] == t.team[b])
        return true;
    for (int k = 0; k < round; ++k)
        if (t.tableAt(k, a) == t.tableAt(k, b))
            return true;
    return false;
}

void checkSeated(const std::string& input, const std::string& output, const std::string& report,
                 const TableOptions& options) {
    // The written file is the program's own: one header and N player lines, then perhaps the
    // substitutes and penalties.
    std::istringstream lines(output);
    std::string header, line;
    FUZZ_CHECK(std::getline(lines, header));
    int players = 0;
    while (std::getline(lines, line)) {
        FUZZ_CHECK(!line.empty() && line.back() == '\r');
        line.pop_back();
        if (isExtrasMarker(line))
            break;
        ++players;
    }
    const int rounds = countRounds(header);
    FUZZ_CHECK(players % 4 == 0 && players >= 12 && players <= 200);
    FUZZ_CHECK(rounds >= 2 && rounds <= 12);

    Tournament raw(players, rounds), after(players, rounds);
    readTournamentCsv(raw, std::string_view(input));
    readTournamentCsv(after, std::string_view(output));
    Tournament before = raw;
    before.normalizeRounds();
    after.normalizeRounds();
    const int c = before.currentRound;
    FUZZ_CHECK(c < rounds);
    FUZZ_CHECK(after.currentRound == c + 1);
    FUZZ_CHECK(report.rfind("round=" + std::to_string(c + 1) + " result=seated method=", 0) == 0);
    const bool exhaustive = report.find("method=exhaustive") != std::string::npos;

    // Rows follow the standings, which the new round (no points yet) changes only by the
    // substitutes proposed for the players who left.
    Tournament ranked = before;
    for (int p = 0; p < players; ++p)
        ranked.tableAt(c, p) = 0;
    proposeSubstitutes(ranked, c, kDefaultSubstituteResult);
    std::vector<int> order;
    std::vector<std::string> places;
    rankPlayers(ranked, rounds, order, places);
    std::vector<char> handPlaced(players, 0); // by the output's rows
    // Hand-placed players keep their tables; after a random search the tables are renumbered,
    // but only as a whole: one new number per old one, and no two old ones merged.
    std::map<int, int> renumbered;
    std::set<int> targets;
    for (int i = 0; i < players; ++i) {
        const int p = order[i];
        FUZZ_CHECK(after.names[i] == before.names[p]);
        FUZZ_CHECK(after.playerNumber[i] == before.playerNumber[p]);
        FUZZ_CHECK(after.teams.name(after.team[i]) == before.teams.name(before.team[p]));
        for (int r = 0; r < c; ++r) {
            FUZZ_CHECK(after.tableAt(r, i) == before.tableAt(r, p));
            FUZZ_CHECK(after.pointsAt(r, i) == before.pointsAt(r, p));
        }
        handPlaced[i] = raw.tableAt(c, p) != -1;
        if (!handPlaced[i])
            continue;
        const int from = raw.tableAt(c, p), to = after.tableAt(c, i);
        if (exhaustive) {
            FUZZ_CHECK(to == from);
            continue;
        }
        const auto [it, added] = renumbered.emplace(from, to);
        FUZZ_CHECK(it->second == to);
        if (added)
            FUZZ_CHECK(targets.insert(to).second);
    }
    // Substitutes, penalties and players who left come through at their players' new rows.
    std::vector<int> rowOf(players);
    for (int i = 0; i < players; ++i)
        rowOf[order[i]] = i;
    const Adjustments& was = before.adjustments;
    const Adjustments& is = after.adjustments;
    for (const auto& [key, sub] : was.allSubstitutes()) {
        const Substitute* kept = is.substitute(key.first, rowOf[key.second]);
        FUZZ_CHECK(kept && *kept == sub);
    }
    for (const auto& [key, list] : was.allPenalties())
        FUZZ_CHECK(is.penalties(key.first, rowOf[key.second]) == list);
    for (const auto& [player, from] : was.allLeft())
        FUZZ_CHECK(is.leftFrom(rowOf[player]) == from);
    FUZZ_CHECK(is.allPenalties().size() == was.allPenalties().size());
    FUZZ_CHECK(is.allLeft().size() == was.allLeft().size());
    const int tables = players / 4;
    for (int a = 0; a < players; ++a)
        for (int b = a + 1; b < players; ++b) {
            const int table = after.tableAt(c, a);
            if (table != after.tableAt(c, b) || !metBefore(after, c, a, b))
                continue;
            if (handPlaced[a] && handPlaced[b])
                continue; // the organiser's choice
            const bool bottom = table >= tables - options.overlap;
            FUZZ_CHECK(bottom && (exhaustive || table < options.fixed));
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const TableOptions options = kOptions[data[0] % kOptions.size()];
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const fs::path in = scratchDir() / "in.csv";
    const fs::path out = scratchDir() / "out.csv";
    {
        std::ofstream file(in, std::ios::binary | std::ios::trunc);
        file.write(input.data(), static_cast<std::streamsize>(input.size()));
        FUZZ_CHECK(file.good());
    }
    fs::remove(out);

    std::string report;
    const int status =
        runCli({"seat", in.string(), "--out", out.string(), "--seed", "1", "--exhaustive-variants",
                "2000", "--random-variants", "20000", "--exhaustive-seconds", "2",
                "--random-seconds", "2", "--fixed-tables", std::to_string(options.fixed),
                "--overlap-tables", std::to_string(options.overlap)},
               report);
    FUZZ_CHECK(status == 0 || status == 1 || status == 2);
    FUZZ_CHECK(readFile(in) == input); // --out given: the input file is left alone
    if (status == 0)
        checkSeated(input, readFile(out), report, options);
    else
        FUZZ_CHECK(!fs::exists(out));
    return 0;
}
