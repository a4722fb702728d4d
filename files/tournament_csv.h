#pragma once
// The tournament file: semicolon-separated CP1251 text, CR LF line ends, one header line and one
// line per player in standings order with start number, name, team and per round table and points.
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

#include "core/tournament.h"

namespace quelna {

// The whole file's bytes.
std::string tournamentCsvText(const Tournament& t);
// Writes the whole file. Returns false when the stream failed.
[[nodiscard]] bool writeTournamentCsv(const Tournament& t, std::ostream& out);
// Replaces the record's content with what can be read; never rejects anything.
void readTournamentCsv(Tournament& t, std::string_view bytes);
void readTournamentCsv(Tournament& t, std::istream& in);

// Writes through safeWriteFile, so a failed save never destroys the previous file. Returns false
// on any failure, with the reason in error when given; a file larger than the readers take
// (kMaxTournamentFileBytes) is not written.
[[nodiscard]] bool saveTournamentFile(const Tournament& t, const std::string& path,
                                      std::string* error = nullptr);
// The largest file taken as a tournament file: a real one (200 players, 12 rounds) has some
// 60 KB, and a wrong file or a device must not fill the memory.
inline constexpr std::size_t kMaxTournamentFileBytes = 4 * 1024 * 1024;

enum class FileReadError { None, Missing, NotRegular, TooLarge, Unreadable };
// The file's bytes. A folder, FIFO, device or file of /proc or /sys is refused before it is opened,
// a file over kMaxTournamentFileBytes without reading more than that.
[[nodiscard]] FileReadError readTournamentFile(const std::string& path, std::string& bytes);
// The same, true when the bytes were read.
[[nodiscard]] bool readTournamentFileBytes(const std::string& path, std::string& bytes);
// Returns false (record unchanged) when the file cannot be opened.
[[nodiscard]] bool loadTournamentFile(Tournament& t, const std::string& path);

// "autosave_tour<k>.csv" in dir.
std::string autosavePath(const std::string& dir, int k);
// Writes the autosave file for k when autosave is on; a failure is not reported to the user.
// Returns true when a file was written.
bool autosaveRound(const Tournament& t, int k, const std::string& dir, bool autosaveOn);

} // namespace quelna
