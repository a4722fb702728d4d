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

using Fault = ValueChange::Why;

// A dash where a minus belongs, as word processors type it: an en or em dash in CP1251, or one
// of the dashes or the minus sign in UTF-8 bytes.
std::size_t dashLength(std::string_view field) {
    if (!field.empty() && (field[0] == '\x96' || field[0] == '\x97'))
        return 1;
    for (std::string_view dash : {"\xE2\x80\x93", "\xE2\x80\x94", "\xE2\x88\x92"})
        if (field.starts_with(dash))
            return dash.size();
    return 0;
}

// Blanks around an optionally signed run of digits that fits the record's 32-bit numbers; else
// what is wrong with the field. Nothing for a whole number.
std::optional<Fault> judgeNumber(std::string_view field) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!field.empty() && blank(field.front()))
        field.remove_prefix(1);
    while (!field.empty() && blank(field.back()))
        field.remove_suffix(1);
    if (field.empty())
        return Fault::Empty;
    if (dashLength(field) > 0)
        return Fault::Dash;
    const bool negative = field.front() == '-';
    if (field.front() == '-' || field.front() == '+') {
        field.remove_prefix(1);
        if (!field.empty() && blank(field.front()) && holdsNumber(field))
            return Fault::BlankAfterSign;
    }
    if (field.empty())
        return Fault::NotWhole;
    long long value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return Fault::NotWhole;
        value = std::min(value * 10 + (c - '0'), 1LL << 40);
    }
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    if (value > limit)
        return Fault::OutOfRange;
    return std::nullopt;
}

// The file's line `number` (1-based) without its line end; empty past the end.
std::string_view fileLine(std::string_view bytes, int number) {
    for (int n = 1; n < number; ++n) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos)
            return {};
        bytes.remove_prefix(end + 1);
    }
    return withoutLineEnd(bytes.substr(0, bytes.find('\n')));
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

// Control bytes as blanks and at most 60 bytes, so that a stray binary line stays readable in a
// message.
std::string shownLine(std::string_view line) {
    constexpr std::size_t kShown = 60;
    std::string text(line.substr(0, kShown));
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    return cp1251ToUtf8(text) + (line.size() > kShown ? "…" : "");
}

// A line that opens the section as the reader would not see it, or nothing.
std::optional<SectionProblem::Why> sectionProblemOf(std::string_view line) {
    static const std::string utf8Marker = "ЗАМЕНЫ_И_ШТРАФЫ";
    static const std::string marker = utf8ToCp1251(utf8Marker);
    if (isExtrasMarker(line))
        return std::nullopt;
    std::string_view text = line;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (!text.empty() && text.front() == '"')
        text.remove_prefix(1);
    if (text.starts_with(utf8Marker))
        return SectionProblem::Why::Utf8;
    const std::size_t cr = line.find('\r');
    if (cr != std::string_view::npos && isExtrasMarker(line.substr(0, cr)))
        return SectionProblem::Why::CrOnly;
    return std::nullopt;
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
        const std::string_view bare = withoutLineEnd(row);
        if (isExtrasMarker(bare) || sectionProblemOf(bare))
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
        const std::optional<Fault> fault = judgeNumber(fields[at]);
        if (!fault || *fault == Fault::Empty)
            return;
        changes.push_back({line, column, cp1251ToUtf8(sanitizeName(fields[at])), *fault});
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

std::optional<ValueChange> findUnreadField(std::string_view bytes, int line, int round) {
    const std::vector<std::string> fields = splitCsvFields(fileLine(bytes, line));
    if (fields.size() < 4)
        return std::nullopt;
    for (int r = 0; r <= round; ++r)
        for (std::size_t at :
             {4 + 2 * static_cast<std::size_t>(r), 5 + 2 * static_cast<std::size_t>(r)}) {
            if (at >= fields.size())
                return std::nullopt;
            if (holdsNumber(fields[at]))
                continue;
            const std::string column = (at % 2 == 0 ? "СТОЛ" : "ИО") + std::to_string(r + 1);
            return ValueChange{line, column, cp1251ToUtf8(sanitizeName(fields[at])),
                               judgeNumber(fields[at]).value_or(Fault::NotWhole)};
        }
    return std::nullopt;
}

std::optional<SectionProblem> findSectionProblem(std::string_view bytes) {
    int line = 1;
    bool inSection = false;
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos;) {
        const std::size_t end = bytes.find('\n', at + 1);
        const std::string_view row = withoutLineEnd(bytes.substr(
            at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1));
        ++line;
        if (inSection && row.find('\r') != std::string_view::npos)
            return SectionProblem{line, SectionProblem::Why::CrOnly};
        if (isExtrasMarker(row))
            inSection = true;
        else if (const auto why = inSection ? std::nullopt : sectionProblemOf(row))
            return SectionProblem{line, *why};
        at = end;
    }
    return std::nullopt;
}

ExtrasProblems findExtrasProblems(std::string_view bytes, const Tournament& raw,
                                  std::size_t limit) {
    ExtrasProblems found;
    // The marker's line: the first after the header, as the reader finds it.
    const std::size_t headerEnd = bytes.find('\n');
    if (headerEnd == std::string_view::npos)
        return found;
    int markerLine = 1;
    std::string_view rest = bytes.substr(headerEnd + 1);
    bool marker = false;
    while (!rest.empty() && !marker) {
        const std::size_t end = rest.find('\n');
        ++markerLine;
        marker = isExtrasMarker(withoutLineEnd(rest.substr(0, end)));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    if (!marker)
        return found;
    int seated = 0;
    while (seated < raw.roundCount && raw.isRoundComplete(seated))
        ++seated;

    using Why = ExtrasProblem::Why;
    forEachExtrasLine(rest, raw.playerCount, raw.roundCount, [&](const ExtrasLine& e) {
        ExtrasProblem p;
        switch (e.problem) {
        case ExtrasLine::Problem::None:
            p.why = Why::UnknownKind; // unless the line is used, below
            break;
        case ExtrasLine::Problem::Fields:
            p.why = Why::Fields;
            break;
        case ExtrasLine::Problem::NotNumber:
            p.why = Why::NotNumber;
            break;
        case ExtrasLine::Problem::OutOfRange:
            p.why = Why::OutOfRange;
            break;
        case ExtrasLine::Problem::NoSuchRound:
            p.why = Why::NoSuchRound;
            break;
        case ExtrasLine::Problem::NoSuchRow:
            p.why = Why::NoSuchRow;
            break;
        case ExtrasLine::Problem::Repeated:
            p.why = Why::Repeated;
            break;
        }
        if (e.used() && e.kind != ExtrasLine::Kind::Left) {
            if (e.round >= seated) {
                p.why = Why::RoundNotSeated;
            } else if (e.kind == ExtrasLine::Kind::Penalty &&
                       raw.adjustments.penalties(e.round, e.player).empty()) {
                p.why = Why::ResultOutOfRange; // the only reason the reader leaves one out
                p.round = e.round;
            } else if (e.kind == ExtrasLine::Kind::Substitute) {
                // The points field the reader of the player lines takes for the round.
                p.playerLine = e.player + 2;
                const std::vector<std::string> fields =
                    splitCsvFields(fileLine(bytes, p.playerLine));
                const std::size_t at = 5 + 2 * static_cast<std::size_t>(e.round);
                if (at >= fields.size() || judgeNumber(fields[at]))
                    return; // a number findValueChanges names
                p.why = Why::CountedDiffers;
                p.round = e.round;
                p.fileValue = parseLeadingInt(fields[at]);
                p.counted = raw.countedPointsAt(e.round, e.player);
                if (p.fileValue == p.counted)
                    return;
            } else {
                return;
            }
        } else if (e.used()) {
            return;
        }
        if (found.count++ >= limit)
            return;
        p.line = markerLine + e.line;
        p.text = shownLine(e.text);
        found.first.push_back(std::move(p));
    });
    return found;
}

} // namespace quelna
