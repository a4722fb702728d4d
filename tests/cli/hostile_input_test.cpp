// quelna-cli seat and html judge a file alike: each hostile file below is refused by both with
// exit 2 and the same reason, and neither writes anything. The real binary on real files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "files/tournament_csv.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
using test_support::readFile;
using test_support::RunResult;
using test_support::writeFile;

class HostileInput : public ::testing::Test {
  protected:
    // Bounded, so a command that waits on a FIFO fails the test instead of hanging it.
    RunResult run(const std::string& args, const std::string& limits = "") {
        return test_support::runProgram(limits + "timeout 60 " QUELNA_CLI, args, dir);
    }

    // A played tournament's lines (header first), each with its CR LF.
    std::vector<std::string> played(int players, int rounds) {
        const fs::path file = dir / "played.csv";
        const RunResult r = run("simulate --players " + std::to_string(players) + " --rounds " +
                                std::to_string(rounds) + " --seed 5 --out " + file.string());
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> lines;
        std::istringstream in(readFile(file));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line + "\n");
        return lines;
    }

    test_support::ScratchDir scratch{"quelna_hostile_input"};
    const fs::path& dir = scratch.path();
};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l;
    return text;
}

// Field `at` (0-based) of a line.
std::string field(const std::string& line, int at) {
    std::size_t from = 0;
    for (int i = 0; i < at; ++i)
        from = line.find(';', from) + 1;
    return line.substr(from, line.find_first_of(";\r\n", from) - from);
}

// The lines with field `field` (0-based) of line `line` (1-based) replaced by text.
std::string edited(std::vector<std::string> lines, int line, int field, const std::string& text) {
    std::string& l = lines[line - 1];
    std::size_t at = 0;
    for (int i = 0; i < field; ++i)
        at = l.find(';', at) + 1;
    l.replace(at, l.find_first_of(";\r\n", at) - at, text);
    return joined(lines);
}

} // namespace

TEST_F(HostileInput, SeatAndHtmlRefuseTheSameFilesForTheSameReasons) {
    const std::vector<std::string> rows = played(16, 3);
    // Round 1 open with five players placed by hand at table 1.
    quelna::Tournament open(16, 3);
    for (int p = 0; p < 16; ++p)
        open.playerNumber[p] = p;
    for (int p = 0; p < 5; ++p)
        open.tableAt(0, p) = 0;
    std::vector<std::string> utf8 = rows;
    for (std::size_t i = 1; i < utf8.size(); ++i)
        utf8[i] = quelna::cp1251ToUtf8(utf8[i]);
    std::vector<std::string> cut = rows; // line 6 ends after the name
    cut[5] =
        cut[5].substr(0, cut[5].find(';', cut[5].find(';', cut[5].find(';') + 1) + 1)) + "\r\n";
    // A penalty on a player whose round-1 result is not negative: the smallest amount puts the
    // table result it implies beyond 32 bits.
    int notNegative = 2;
    while (field(rows[notNegative - 1], 5).front() == '-')
        ++notNegative;
    const std::string marker = quelna::utf8ToCp1251("ЗАМЕНЫ_И_ШТРАФЫ");
    const std::string penalty = quelna::utf8ToCp1251("ШТРАФ");
    const std::string overflow = penalty + ";1;" + std::to_string(notNegative - 1) +
                                 ";-2147483648;" + quelna::utf8ToCp1251("опоздание");
    const fs::path fifo = dir / "fifo.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(dir / "folder.csv");

    const struct {
        const char* name;
        std::string bytes; // written to in.csv, unless path is given
        std::string path;
        const char* reason;
    } cases[] = {
        {"bad table number in round 1", edited(rows, 4, 4, "9"), "",
         "round 1 is not complete (line 4)"},
        {"table of five in round 1", quelna::tournamentCsvText(open), "",
         "table 1 of round 1 has more than four players (line 6)"},
        {"missing fields", joined(cut), "", "round 1 is not complete (line 6)"},
        {"points with a decimal comma", edited(rows, 7, 7, "5,5"), "",
         "line 7, ИО2: '5,5' is not a whole number"},
        {"points in exponent form", edited(rows, 3, 5, "1e5"), "",
         "line 3, ИО1: '1e5' is not a whole number"},
        {"a huge number", edited(rows, 9, 9, "99999999999999999999999"), "",
         "line 9, ИО3: '99999999999999999999999' is beyond the range of numbers"},
        {"names in UTF-8", joined(utf8), "", "its names look like UTF-8 text, not CP1251"},
        {"larger than the limit", joined(rows) + std::string(4 << 20, ' '), "",
         "larger than 4 MiB, so not a tournament file"},
        {"points after an en dash", edited(rows, 5, 7, quelna::utf8ToCp1251("–5000")), "",
         "round 2 is not complete (line 5, ИО2: '–5000' begins with a dash, not a minus sign)"},
        {"a blank after the sign", edited(rows, 6, 5, "- 5"), "",
         "round 1 is not complete (line 6, ИО1: '- 5' has a blank between its sign and its "
         "digits)"},
        {"an empty points field", edited(rows, 8, 9, ""), "",
         "round 3 is not complete (line 8, ИО3: '' is empty)"},
        {"the section in UTF-8", joined(rows) + "ЗАМЕНЫ_И_ШТРАФЫ\r\nШТРАФ;1;2;-1000;опоздание\r\n",
         "", "line 18: the substitutes and penalties are UTF-8 text, not CP1251"},
        {"the section with CR alone", joined(rows) + marker + "\r" + penalty + ";1;2;-1000;\r", "",
         "line 18: the substitutes and penalties have line ends of CR alone"},
        {"a penalty beyond the range of results",
         joined(rows) + marker + "\r\n" + overflow + "\r\n", "",
         "puts the result of round 1 beyond the range of numbers"},
        {"a penalty amount beyond 32 bits",
         joined(rows) + marker + "\r\n" + penalty + ";1;2;99999999999;\r\n", "",
         "holds a round, row or amount beyond the range of numbers"},
        {"FIFO", "", fifo.string(), "not a regular file"},
        {"kernel messages, which never end", "", "/proc/kmsg", "not a regular file"},
        {"a file of /proc", "", "/proc/self/status", "not a regular file"},
        {"endless device", "", "/dev/zero", "not a regular file"},
        {"folder", "", (dir / "folder.csv").string(), "not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.path.empty() ? (dir / "in.csv").string() : c.path;
        if (c.path.empty())
            writeFile(path, c.bytes);
        const fs::path site = dir / "site";
        const RunResult html = run("html " + path + " --out " + site.string());
        const RunResult seat = run("seat " + path);
        for (const RunResult* r : {&html, &seat}) {
            EXPECT_EQ(r->status, 2);
            EXPECT_NE(r->err.find(c.reason), std::string::npos) << r->err;
            EXPECT_TRUE(r->out.empty()) << r->out;
        }
        EXPECT_FALSE(fs::exists(site));
        if (c.path.empty()) {
            EXPECT_EQ(readFile(path), c.bytes);
        }
    }

    // Read as UTF-8 when asked, the file gives the pages of the CP1251 original.
    writeFile(dir / "utf8.csv", joined(utf8));
    ASSERT_EQ(
        run("html " + (dir / "played.csv").string() + " --out " + (dir / "a").string()).status, 0);
    const RunResult r = run("html " + (dir / "utf8.csv").string() + " --encoding utf-8 --out " +
                            (dir / "b").string());
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* page : {"index.html", "standings.html"})
        EXPECT_EQ(readFile(dir / "b" / page), readFile(dir / "a" / page)) << page;
}

TEST_F(HostileInput, AFileSizeLimitEndsTheSaveWithThreeAndLeavesNothingBehind) {
    const std::vector<std::string> rows = played(40, 3);
    std::vector<std::string> open = rows;
    for (std::size_t i = 1; i < open.size(); ++i) // round 3 not seated yet
        open[i] = edited({edited({open[i]}, 1, 8, "0")}, 1, 9, "0");
    const fs::path file = dir / "t.csv";
    writeFile(file, joined(open));
    // 512-byte blocks: the seated file does not fit, standard error does.
    const RunResult r = run("seat " + file.string(), "ulimit -f 2; ");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("File too large"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(file), joined(open));
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().string().find(".saving"), std::string::npos) << e.path();
}

TEST_F(HostileInput, ASeatingThatWouldOutgrowTheReadLimitWritesNothing) {
    std::vector<std::string> rows = played(200, 2);
    for (std::size_t i = 1; i < rows.size(); ++i) // round 2 not seated yet
        rows[i] = edited({edited({rows[i]}, 1, 6, "0")}, 1, 7, "0");
    // Penalties of nothing fill the file to just below the limit; the seated round's table
    // numbers then push it over.
    std::string text = joined(rows) + quelna::utf8ToCp1251("ЗАМЕНЫ_И_ШТРАФЫ") + "\r\n";
    const std::string line = quelna::utf8ToCp1251("ШТРАФ;1;1;0;") + std::string(40, 'x') + "\r\n";
    while (text.size() + line.size() <= quelna::kMaxTournamentFileBytes - 100)
        text += line;
    const std::size_t gap = quelna::kMaxTournamentFileBytes - 100 - text.size(); // < 54
    if (gap > 14)
        text += quelna::utf8ToCp1251("ШТРАФ;1;1;0;") + std::string(gap - 14, 'x') + "\r\n";
    const fs::path file = dir / "t.csv";
    writeFile(file, text);
    const RunResult r =
        run("seat " + file.string() + " --exhaustive-seconds 2 --random-seconds 2 --seed 1");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("larger than 4 MiB"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(file), text);
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().string().find(".saving"), std::string::npos) << e.path();
}
