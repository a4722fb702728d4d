#include "files/load_check.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/text.h"
#include "files/tournament_extras.h"

namespace quelna {

namespace {

const std::string& headerStart() {
    static const std::string head = utf8ToCp1251("МЕСТО;НОМЕР;ИМЯ;КОМАНДА");
    return head;
}

std::string_view firstLine(std::string_view bytes) {
    std::string_view line = bytes.substr(0, bytes.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
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
    return firstLine(bytes).substr(0, headerStart().size()) == headerStart();
}

CsvShape measureTournamentCsv(std::string_view bytes) {
    CsvShape shape;
    const std::string_view line = firstLine(bytes);
    const std::string table = utf8ToCp1251("СТОЛ");
    std::size_t start = headerStart().size();
    while (start < line.size()) {
        const std::size_t end = std::min(line.find(';', start + 1), line.size());
        if (line.substr(start + 1, table.size()) == table)
            ++shape.rounds;
        start = end;
    }
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

} // namespace quelna
