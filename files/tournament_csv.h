#pragma once
// The tournament file: semicolon-separated CP1251 text, CR LF line ends, one header line and one
// line per player in standings order with start number, name, team and per round table and points.
#include <iosfwd>
#include <string>

#include "core/tournament.h"

namespace quelna {

// Writes the whole file. Returns false when the stream failed.
[[nodiscard]] bool writeTournamentCsv(const Tournament& t, std::ostream& out);
// Replaces the record's content with what can be read; never rejects anything.
void readTournamentCsv(Tournament& t, std::istream& in);

// Writes to a temporary file beside path and renames it over path, so a failed save never
// destroys the previous file. Returns false on any failure.
[[nodiscard]] bool saveTournamentFile(const Tournament& t, const std::string& path);
// Returns false (record unchanged) when the file cannot be opened.
[[nodiscard]] bool loadTournamentFile(Tournament& t, const std::string& path);

// "autosave_tour<k>.csv" in dir.
std::string autosavePath(const std::string& dir, int k);
// Writes the autosave file for k when autosave is on; a failure is not reported to the user.
// Returns true when a file was written.
bool autosaveRound(const Tournament& t, int k, const std::string& dir, bool autosaveOn);

} // namespace quelna
