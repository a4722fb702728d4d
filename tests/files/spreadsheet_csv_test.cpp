// Tournament files as a spreadsheet saves them (text cells quoted, LF or CR LF), files in UTF-8,
// and the numbers a load would change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "files/csv_encoding.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"

using namespace quelna;

namespace {

// 12 players, 2 rounds played; names and teams with quotes; players 0 and 1 tie for first.
Tournament quotedTournament() {
    Tournament t(12, 2);
    for (int p = 0; p < 12; ++p) {
        const std::string name = p == 0 ? "Иван \"Туз\" Петров" : "Игрок " + std::to_string(p);
        t.setRegistration(p, utf8ToCp1251(name), p % 2 ? utf8ToCp1251("«Сила» \"A;B\"") : "",
                          p + 1);
        for (int r = 0; r < 2; ++r) {
            t.tableAt(r, p) = (r == 0 ? p : p + p / 4) % 3;
            t.pointsAt(r, p) = p < 2 ? 200 : (p % 4 == 0 ? -300 : 10 * p);
        }
    }
    t.purgeUnusedTeams();
    t.normalizeRounds();
    return t;
}

// What a spreadsheet writes: every cell that is not a number quoted, quotes doubled.
std::string asSpreadsheetSaves(const std::string& csv, const std::string& lineEnd) {
    std::string out, field;
    auto flush = [&] {
        const bool number =
            !field.empty() && field.find_first_not_of("-0123456789") == std::string::npos;
        if (number || field.empty()) {
            out += field;
        } else {
            out += '"';
            for (char c : field)
                out += c == '"' ? std::string("\"\"") : std::string(1, c);
            out += '"';
        }
        field.clear();
    };
    for (char c : csv) {
        if (c == ';') {
            flush();
            out += ';';
        } else if (c == '\n') {
            flush();
            out += lineEnd;
        } else if (c != '\r') {
            field += c;
        }
    }
    return out;
}

std::string readBack(const std::string& bytes) {
    Tournament t(12, 2);
    readTournamentCsv(t, std::string_view(bytes));
    t.normalizeRounds();
    return tournamentCsvText(t);
}

} // namespace

TEST(SpreadsheetCsv, QuotedFilesReadAsThePlainOne) {
    const std::string plain = tournamentCsvText(quotedTournament());
    ASSERT_NE(plain.find(utf8ToCp1251("Иван \"Туз\" Петров")), std::string::npos);
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        std::string quoted = asSpreadsheetSaves(plain, lineEnd);
        ASSERT_NE(quoted.find("\"\""), std::string::npos);
        // As typed into the spreadsheet: a ';' inside a team's quotes.
        for (std::size_t at; (at = quoted.find("A,B")) != std::string::npos;)
            quoted[at + 1] = ';';
        EXPECT_TRUE(isTournamentCsv(quoted));
        EXPECT_EQ(measureTournamentCsv(quoted).players, 12);
        EXPECT_EQ(measureTournamentCsv(quoted).rounds, 2);
        EXPECT_TRUE(findValueChanges(quoted, 12, 2).empty());
        // The ';' stays in its field; the record stores it as ','.
        EXPECT_EQ(readBack(quoted), readBack(plain));
    }
}

TEST(SpreadsheetCsv, EveryNumberTheReaderWouldChangeIsNamed) {
    const std::string header =
        utf8ToCp1251("МЕСТО;НОМЕР;ИМЯ;КОМАНДА;СТОЛ1;ИО1;СТОЛ2;ИО2;ИО_ИТОГ\n");
    auto line = [](const std::string& number, const std::string& table, const std::string& points) {
        return "1;" + number + ";A;;" + table + ";" + points + ";0;0;" + points + "\n";
    };
    using Why = ValueChange::Why;
    const struct {
        std::string number, table, points;
        std::vector<std::pair<std::string, Why>> changes; // column and why
    } cases[] = {
        {"3", "1", "5,5", {{"ИО1", Why::NotWhole}}},
        {"3", "1e5", "1e5", {{"СТОЛ1", Why::NotWhole}, {"ИО1", Why::NotWhole}}},
        {"3", "2", "99999999999999999999999", {{"ИО1", Why::OutOfRange}}},
        {"3", "2", "2147483648", {{"ИО1", Why::OutOfRange}}},
        {"3", "2", "-2147483648", {}},
        {" +7 ", "\t2", " -300", {}},
        {"", "", "", {}},
        {"x3", "2", "\"100\"", {{"НОМЕР", Why::NotWhole}}},
        {"3", "2", "-", {{"ИО1", Why::NotWhole}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number + "|" + c.table + "|" + c.points);
        const std::string bytes = header + line("1", "1", "0") + line(c.number, c.table, c.points);
        const std::vector<ValueChange> found = findValueChanges(bytes, 12, 2);
        ASSERT_EQ(found.size(), c.changes.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].line, 3);
            EXPECT_EQ(found[i].column, c.changes[i].first);
            EXPECT_EQ(found[i].why, c.changes[i].second);
        }
    }
    // Only the players and rounds of the record are read, so only they are judged.
    const std::string extra = header + line("1", "1", "0") + line("1,5", "1", "0");
    EXPECT_EQ(findValueChanges(extra, 12, 1).size(), 1u);
    EXPECT_TRUE(findValueChanges(extra, 1, 2).empty());
}

TEST(SpreadsheetCsv, Utf8FilesAreFoundAndTurnedIntoCp1251) {
    const std::string plain = tournamentCsvText(quotedTournament());
    const std::size_t headerEnd = plain.find('\n') + 1;
    const std::string utf8Names =
        plain.substr(0, headerEnd) + cp1251ToUtf8(plain.substr(headerEnd));
    const std::string allUtf8 = "\xEF\xBB\xBF" + cp1251ToUtf8(plain);
    EXPECT_FALSE(looksLikeUtf8(plain));
    for (const std::string& bytes : {utf8Names, allUtf8}) {
        EXPECT_TRUE(looksLikeUtf8(bytes));
        EXPECT_TRUE(isUtf8TournamentCsv(bytes));
        const Utf8Conversion converted = utf8FileToCp1251(bytes);
        EXPECT_EQ(converted.bytes, plain);
        EXPECT_TRUE(converted.lossyLines.empty());
    }
    // A character CP1251 has not is reported by its line.
    const std::string polish = utf8Names + "0;13;\xC5\x81ukasz?;;0;0;0;0;0\r\n";
    EXPECT_EQ(utf8FileToCp1251(polish).lossyLines, std::vector<int>{14});
    EXPECT_FALSE(isUtf8TournamentCsv("name;score\r\n\xD0\x98\r\n"));
}
