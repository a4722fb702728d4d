#pragma once
// One line of a referee's check of a tournament: what was found, where, and whether it breaks a
// rule of the seating or the results (the check's exit status counts those).
#include <string>
#include <vector>

#include "core/tournament.h"

namespace quelna {

enum class FindingKind {
    RepeatPair,       // two players at one table who shared one before
    TeamMates,        // team-mates at one table
    SeatingMatches,   // the round is the seating the program gives
    SeatingDiffers,   // it is not; `tables` names where
    SeatingNotRedone, // the program would have needed its random search, which cannot be redone
    NoSeating,        // the program cannot seat the round with these settings
    TableSum,         // a table's points do not sum to zero
    TableNotTyped,    // a table without results
    Substitute,
    Penalty,
    TotalDiffers, // the file's total of a player is not the program's
    PlaceDiffers, // the file's place of a player is not the program's
    Standing,     // a line of the standings as the program computes them
};

struct Finding {
    FindingKind kind = FindingKind::Standing;
    bool breaksRule = false;
    int round = -1;           // from 0; -1 for the tournament as a whole
    std::vector<int> tables;  // from 0
    std::vector<int> players; // player slots
    std::string text;         // UTF-8, one line, in Russian
};

// The kind as programs read it: "repeat-pair", "seating-differs"...
const char* findingKindName(FindingKind kind);

// "15 Иванов И." (UTF-8): the start number and the name, as the referee finds the player.
std::string playerLabel(const Tournament& t, int player);

// "2, 5" of 0-based numbers shown from 1.
std::string numbersFromOne(const std::vector<int>& zeroBased);

} // namespace quelna
