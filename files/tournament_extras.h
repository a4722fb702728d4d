#pragma once
// The part of a tournament file after the player lines: substitutes (with the seat's real table
// result), penalties with their reasons, and players who left for good. A reader that takes only
// the header and the player lines never reaches it; the points columns already hold what counts.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/tournament.h"

namespace quelna {

// True for the line that opens the section (CP1251, line end removed), also as a spreadsheet
// saves it: quoted, or followed by empty cells.
bool isExtrasMarker(std::string_view line);

// What follows the marker line in bytes, or nothing when no line of bytes is the marker.
std::string_view extrasSection(std::string_view bytes);

// The section's lines, players named by their 1-based row among the player lines (rowOf[slot]);
// empty when the record holds nothing of the kind.
std::string tournamentExtrasText(const Tournament& t, const std::vector<int>& rowOf);

// One non-blank line of the section as read: what it records, or why it cannot be used.
struct ExtrasLine {
    // Untyped and Text say what a points cell held as typed: nothing yet, or text that is not a
    // whole number.
    enum class Kind { Unknown, Substitute, Penalty, Left, Untyped, Text };
    enum class Problem {
        None,
        Fields,      // too few fields for its kind, or a leaving line with more
        NotNumber,   // a round, row or amount that is not a whole number
        OutOfRange,  // a whole number beyond the record's 32-bit range
        NoSuchRound, // a round beyond the file's rounds
        NoSuchRow,   // a row beyond the file's player lines
        Repeated,    // a second substitute for a seat, a second leaving of a player, or a
                     // second typed state of a cell
    };
    int line = 0;          // 1-based, counted from the line after the marker
    std::string_view text; // the line without its line end (a view into the section)
    Kind kind = Kind::Unknown;
    Problem problem = Problem::None; // Unknown lines are never used, whatever this says
    int round = -1, player = -1;     // record indices (the player is the row's slot)
    int realResult = 0;              // a substitute's real table result
    Substitute substitute;
    Penalty penalty;
    std::string typedText; // a Text line's text
    bool used() const { return kind != Kind::Unknown && problem == Problem::None; }
};

// Hands every non-blank line of the section (the bytes after the marker line) of a file with the
// given numbers of player lines and rounds to use, in order. One line at a time, so that a huge
// section of garbage costs no memory.
void forEachExtrasLine(std::string_view section, int players, int rounds,
                       const std::function<void(ExtrasLine&)>& use);

// A seat (round, player) whose counted result, its table result or a substitute's with every
// penalty, does not fit 32 bits: the points column would hold a clamped value that reads back as
// another table result. Nothing when every one fits.
std::optional<std::pair<int, int>> countedBeyondRange(const Tournament& t);

// Reads the section into a record whose slots follow the file's rows and whose points hold the
// file's counted results, which become the real table results again. Lines that cannot be used
// are left out; forEachExtrasLine says which and why. So are the penalties of a seat in a seated
// round whose table result or counted result they would put beyond 32 bits: nothing is clamped.
void readTournamentExtras(Tournament& t, std::string_view section);

} // namespace quelna
