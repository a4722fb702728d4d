#pragma once
// Standings: order of players or teams by running totals, with place texts in which a shared
// place lists all its positions joined by "|".
#include <string>
#include <vector>

#include "core/tournament.h"

namespace quelna {

// A place text never exceeds this many characters (a 256-byte buffer with its NUL).
inline constexpr int kMaxPlaceTextLength = 255;

// Fills order (player slots, best first) and placeTexts (one per position) over rounds 0..k-1.
// Returns allEqual: every total equal; then the order is by start number and callers show "0".
bool rankPlayers(const Tournament& t, int rounds, std::vector<int>& order,
                 std::vector<std::string>& placeTexts);

// Same for teams: order holds team indices (team number - 1); teamTotals is indexed likewise.
bool rankTeams(const Tournament& t, int rounds, std::vector<int>& order,
               std::vector<int>& teamTotals, std::vector<std::string>& placeTexts);

} // namespace quelna
