#pragma once
// The part of a tournament file after the player lines: substitutes (with the seat's real table
// result), penalties with their reasons, and players who left for good. A reader that takes only
// the header and the player lines never reaches it; the points columns already hold what counts.
#include <string>
#include <string_view>
#include <vector>

#include "core/tournament.h"

namespace quelna {

// True for the line that opens the section (CP1251, line end removed).
bool isExtrasMarker(std::string_view line);

// What follows the marker line in bytes, or nothing when no line of bytes is the marker.
std::string_view extrasSection(std::string_view bytes);

// The section's lines, players named by their 1-based row among the player lines (rowOf[slot]);
// empty when the record holds nothing of the kind.
std::string tournamentExtrasText(const Tournament& t, const std::vector<int>& rowOf);

// Reads the section (the bytes after the marker line) into a record whose slots follow the file's
// rows and whose points hold the file's counted results, which become the real table results
// again. Returns the 1-based numbers (counted from the marker) of lines that could not be used.
std::vector<int> readTournamentExtras(Tournament& t, std::string_view section);

} // namespace quelna
