#pragma once
// What a tournament file holds that a load would not take: the file's own size, and tables or
// points in or after the first round that is not complete. Shared by the window's load command
// and quelna-cli, so both judge a file alike.
#include <optional>
#include <string_view>

#include "core/tournament.h"

namespace quelna {

// True when the first line begins with the header's fixed part МЕСТО;НОМЕР;ИМЯ;КОМАНДА (CP1251).
[[nodiscard]] bool isTournamentCsv(std::string_view bytes);

struct CsvShape {
    int players = 0; // player lines; blank lines count only when a player line follows
    int rounds = 0;  // table columns of the header
};
CsvShape measureTournamentCsv(std::string_view bytes);

// Rows are the file's line numbers (the header is line 1); rounds count from 0.
struct DroppedRounds {
    int round = 0;          // the first round that is not complete
    int incompleteLine = 0; // a line that makes it so
    int dataRound = 0;      // the first round holding data that is dropped
    int dataLine = 0;       // and a line holding it
};

// Looks at a record as readTournamentCsv left it, before normalizeRounds. Returns what
// normalizing would drop, or nothing when it drops nothing. With keepHandPlaced, tables of the
// first incomplete round count as players placed by hand while that round has no points.
std::optional<DroppedRounds> findDroppedRounds(const Tournament& raw, bool keepHandPlaced);

} // namespace quelna
