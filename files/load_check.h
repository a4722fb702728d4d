#pragma once
// What a tournament file holds that a load would not take: the file's own size, tables or points
// in or after the first round that is not complete, numbers the reader would change, and lines of
// the substitutes and penalties that cannot be used. Shared
// by the window's load command and quelna-cli, so both judge a file alike.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tournament.h"

namespace quelna {

// True when the first line begins with the header's fixed part МЕСТО;НОМЕР;ИМЯ;КОМАНДА (CP1251).
[[nodiscard]] bool isTournamentCsv(std::string_view bytes);

// True when the file is a tournament file whose text looks like UTF-8 rather than CP1251 (see
// looksLikeUtf8), so that reading it as CP1251 would garble its names.
[[nodiscard]] bool isUtf8TournamentCsv(std::string_view bytes);

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

// A number field the reader would take as another value: not a whole number ("5,5", "1e5", a
// word), or one beyond the record's 32-bit range.
struct ValueChange {
    enum class Why {
        NotWhole,
        OutOfRange,
        Dash,           // "–5000": a dash as word processors type it, not a minus sign
        BlankAfterSign, // "- 5"
        Empty,          // only where a number is needed (findUnreadField)
    };
    int line = 0;       // the file's line; the header is line 1
    std::string column; // as the header names it: НОМЕР, СТОЛ2, ИО2 (UTF-8)
    std::string text;   // the field as the file holds it (UTF-8, control bytes as blanks)
    Why why = Why::NotWhole;
};

// Every start number, table and points field of the players and rounds a record of this size
// reads that the reader would change. Empty fields are not changes: they read as nothing.
std::vector<ValueChange> findValueChanges(std::string_view bytes, int players, int rounds);

// The field that kept the reader from taking round `round` of file line `line`: the reader stops
// at the first table or points field of a line that holds no number, so it is the first such
// field up to that round's pair. Nothing when each holds one (the round is not complete for
// another reason) or the line ends before.
std::optional<ValueChange> findUnreadField(std::string_view bytes, int line, int round);

// A section of substitutes and penalties that the reader does not find, so that its lines would
// be taken for player lines.
struct SectionProblem {
    enum class Why {
        Utf8,   // its marker line is UTF-8 text, not CP1251
        CrOnly, // its lines end with CR alone
    };
    int line = 0; // the marker's line, or the first line of the section that holds a CR
    Why why = Why::Utf8;
};
std::optional<SectionProblem> findSectionProblem(std::string_view bytes);

// A line after ЗАМЕНЫ_И_ШТРАФЫ that a load leaves out, or whose substitute counts another result
// than the player line's points field holds.
struct ExtrasProblem {
    enum class Why {
        UnknownKind,      // not a ЗАМЕНА, ШТРАФ or ВЫБЫЛ line
        Fields,           // too few fields, or a ВЫБЫЛ line with more than three
        NotNumber,        // a round, row or amount that is not a whole number
        OutOfRange,       // a round, row or amount beyond the record's 32-bit range
        ResultOutOfRange, // a penalty that puts the seat's table or counted result beyond it
        NoSuchRound,      // a round the file has no columns for
        NoSuchRow,        // a row beyond the player lines the load takes
        Repeated,         // a second substitute for a seat, a second ВЫБЫЛ for a player
        RoundNotSeated,   // a substitute or penalty in a round normalizing drops
        CountedDiffers,   // kept, but the player's points field said otherwise
    };
    int line = 0;     // the file's line; the header is line 1
    std::string text; // the line (UTF-8, control bytes as blanks, long lines cut with "…")
    Why why = Why::UnknownKind;
    // CountedDiffers: the player's line, the round (0-based), the points field as the file holds
    // it and the result the substitute line makes count.
    int playerLine = 0;
    int round = 0;
    int fileValue = 0;
    int counted = 0;
};

struct ExtrasProblems {
    std::vector<ExtrasProblem> first; // in the file's order, at most as many as asked for
    std::size_t count = 0;            // all of them
};

// Looks at the section of a file read into raw by readTournamentCsv (before normalizeRounds).
ExtrasProblems findExtrasProblems(std::string_view bytes, const Tournament& raw, std::size_t limit);

} // namespace quelna
