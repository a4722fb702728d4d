#include "files/load_check.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "core/text.h"
#include "files/csv_encoding.h"
#include "files/csv_fields.h"
#include "files/tournament_extras.h"

namespace quelna {

namespace {

const std::string& headerStart() {
    static const std::string head = utf8ToCp1251("МЕСТО;НОМЕР;ИМЯ;КОМАНДА");
    return head;
}

std::string_view withoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

// The header's fields, unquoted as a spreadsheet may have quoted them.
std::vector<std::string> headerFields(std::string_view bytes) {
    return splitCsvFields(withoutLineEnd(bytes.substr(0, bytes.find('\n'))));
}

enum class NumberText { Whole, NotWhole, OutOfRange, Empty };

// Blanks around an optionally signed run of digits that fits the record's 32-bit numbers.
NumberText judgeNumber(std::string_view field) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!field.empty() && blank(field.front()))
        field.remove_prefix(1);
    while (!field.empty() && blank(field.back()))
        field.remove_suffix(1);
    if (field.empty())
        return NumberText::Empty;
    const bool negative = field.front() == '-';
    if (field.front() == '-' || field.front() == '+')
        field.remove_prefix(1);
    if (field.empty())
        return NumberText::NotWhole;
    long long value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return NumberText::NotWhole;
        value = std::min(value * 10 + (c - '0'), 1LL << 40);
    }
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    return value > limit ? NumberText::OutOfRange : NumberText::Whole;
}

// A line of the round that keeps it from being complete: an unseated player, else one at a
// table that does not have exactly four.
int incompleteLine(const Tournament& t, int round) {
    std::vector<int> count(t.tableCount(), 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int table = t.tableAt(round, p);
        if (table < 0 || table >= t.tableCount())
            return p + 2;
        ++count[table];
    }
    for (int p = 0; p < t.playerCount; ++p)
        if (count[t.tableAt(round, p)] != 4)
            return p + 2;
    return 2;
}

} // namespace

bool isTournamentCsv(std::string_view bytes) {
    std::string line;
    for (const std::string& field : headerFields(bytes))
        line += (line.empty() ? "" : ";") + field;
    return line.compare(0, headerStart().size(), headerStart()) == 0;
}

bool isUtf8TournamentCsv(std::string_view bytes) {
    return looksLikeUtf8(bytes) && isTournamentCsv(utf8FileToCp1251(bytes).bytes);
}

CsvShape measureTournamentCsv(std::string_view bytes) {
    CsvShape shape;
    const std::vector<std::string> header = headerFields(bytes);
    const std::string table = utf8ToCp1251("СТОЛ");
    for (std::size_t i = 4; i < header.size(); ++i)
        shape.rounds += header[i].compare(0, table.size(), table) == 0;
    std::size_t at = bytes.find('\n');
    int blankRun = 0;
    while (at != std::string_view::npos && at + 1 < bytes.size()) {
        const std::size_t end = bytes.find('\n', at + 1);
        const std::string_view row = bytes.substr(
            at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
        if (isExtrasMarker(row.substr(0, row.size() - (row.ends_with('\r') ? 1 : 0))))
            break; // substitutes and penalties follow the player lines
        if (row.empty() || row == "\r") {
            ++blankRun;
        } else {
            shape.players += blankRun + 1;
            blankRun = 0;
        }
        at = end;
    }
    return shape;
}

std::optional<DroppedRounds> findDroppedRounds(const Tournament& raw, bool keepHandPlaced) {
    int c = 0;
    while (c < raw.roundCount && raw.isRoundComplete(c))
        ++c;
    if (c == raw.roundCount)
        return std::nullopt;
    bool pointsInFirst = false;
    for (int p = 0; p < raw.playerCount && !pointsInFirst; ++p)
        pointsInFirst = raw.pointsAt(c, p) != 0;
    const bool tablesKept = keepHandPlaced && !pointsInFirst;
    for (int r = c; r < raw.roundCount; ++r)
        for (int p = 0; p < raw.playerCount; ++p) {
            const bool table = raw.tableAt(r, p) != -1 && !(r == c && tablesKept);
            if (table || raw.pointsAt(r, p) != 0)
                return DroppedRounds{c, incompleteLine(raw, c), r, p + 2};
        }
    return std::nullopt;
}

std::vector<ValueChange> findValueChanges(std::string_view bytes, int players, int rounds) {
    std::vector<ValueChange> changes;
    auto judge = [&](const std::vector<std::string>& fields, std::size_t at, int line,
                     const std::string& column) {
        if (at >= fields.size())
            return;
        const NumberText kind = judgeNumber(fields[at]);
        if (kind == NumberText::Whole || kind == NumberText::Empty)
            return;
        changes.push_back({line, column, cp1251ToUtf8(sanitizeName(fields[at])),
                           kind == NumberText::NotWhole ? ValueChange::Why::NotWhole
                                                        : ValueChange::Why::OutOfRange});
    };
    // Lines as the reader takes them: the header, then one per player.
    std::size_t at = bytes.find('\n');
    for (int slot = 0; slot < players && at != std::string_view::npos && at + 1 < bytes.size();
         ++slot) {
        const std::size_t end = bytes.find('\n', at + 1);
        const std::string_view row = withoutLineEnd(bytes.substr(
            at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1));
        const std::vector<std::string> fields = splitCsvFields(row);
        const int line = slot + 2;
        judge(fields, 1, line, "НОМЕР");
        for (int r = 0; r < rounds && fields.size() >= 4; ++r) {
            const std::string number = std::to_string(r + 1);
            judge(fields, 4 + 2 * static_cast<std::size_t>(r), line, "СТОЛ" + number);
            judge(fields, 5 + 2 * static_cast<std::size_t>(r), line, "ИО" + number);
        }
        at = end;
    }
    return changes;
}

} // namespace quelna
