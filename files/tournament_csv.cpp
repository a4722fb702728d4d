#include "files/tournament_csv.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <ostream>
#include <string_view>
#include <vector>

#include "core/file_kind.h"
#include "core/fs_path.h"
#include "core/safe_write.h"
#include "core/standings.h"
#include "core/text.h"
#include "files/autosave_keep.h"
#include "files/csv_fields.h"
#include "files/tournament_extras.h"

namespace quelna {

namespace {

void readPlayerLine(Tournament& t, int slot, std::string_view line) {
    const std::vector<std::string> f = splitCsvFields(line);
    // f[0], the place, is derived and ignored.
    if (f.size() < 2)
        return;
    const int number = holdsNumber(f[1]) ? parseLeadingInt(f[1]) : 0;
    t.playerNumber[slot] = number >= 1 ? number - 1 : -1;
    if (f.size() < 3)
        return;
    t.setName(slot, f[2]);
    if (f.size() < 4)
        return;
    t.team[slot] = t.teams.findOrAdd(f[3]);
    for (int r = 0; r < t.roundCount; ++r) {
        const std::size_t tableField = 4 + 2 * static_cast<std::size_t>(r);
        if (tableField + 1 >= f.size() || !holdsNumber(f[tableField]) ||
            !holdsNumber(f[tableField + 1]))
            return;
        // A table the record cannot have leaves the player unseated in that round. Compared
        // before subtracting, since the field may hold the smallest integer.
        const int table = parseLeadingInt(f[tableField]);
        t.tableAt(r, slot) = table >= 1 && table <= t.tableCount() ? table - 1 : -1;
        t.pointsAt(r, slot) = parseLeadingInt(f[tableField + 1]);
    }
}

} // namespace

std::string tournamentCsvText(const Tournament& t) {
    std::string text = utf8ToCp1251("МЕСТО;НОМЕР;ИМЯ;КОМАНДА");
    for (int r = 1; r <= t.roundCount; ++r)
        text += utf8ToCp1251(";СТОЛ" + std::to_string(r) + ";ИО" + std::to_string(r));
    text += utf8ToCp1251(";ИО_ИТОГ") + "\r\n";

    std::vector<int> order;
    std::vector<std::string> places;
    const bool allEqual = rankPlayers(t, t.roundCount, order, places);
    for (int i = 0; i < t.playerCount; ++i) {
        const int p = order[i];
        text += allEqual ? std::string("0") : places[i];
        text += ';' + std::to_string(t.playerNumber[p] + 1) + ';' + t.names[p] + ';' +
                t.teams.name(t.team[p]);
        for (int r = 0; r < t.roundCount; ++r)
            text += ';' + std::to_string(t.tableAt(r, p) + 1) + ';' +
                    std::to_string(t.countedPointsAt(r, p));
        text += ';' + std::to_string(t.runningTotal(p, t.roundCount)) + "\r\n";
    }
    std::vector<int> rowOf(t.playerCount);
    for (int i = 0; i < t.playerCount; ++i)
        rowOf[order[i]] = i + 1;
    return text + tournamentExtrasText(t, rowOf);
}

bool writeTournamentCsv(const Tournament& t, std::ostream& out) {
    const std::string text = tournamentCsvText(t);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return static_cast<bool>(out);
}

void readTournamentCsv(Tournament& t, std::string_view bytes) {
    t.clear();
    // Lines as a line-by-line reader sees them: a last line without its line end still counts.
    auto nextLine = [&bytes](std::string_view& line) {
        if (bytes.empty())
            return false;
        const std::size_t end = bytes.find('\n');
        line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        return true;
    };
    std::string_view line;
    if (!nextLine(line)) // the header is not examined
        return;
    for (int slot = 0; slot < t.playerCount && nextLine(line); ++slot) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (isExtrasMarker(line)) { // fewer player lines than the record has slots
            readTournamentExtras(t, bytes);
            return;
        }
        readPlayerLine(t, slot, line);
    }
    readTournamentExtras(t, extrasSection(bytes));
}

void readTournamentCsv(Tournament& t, std::istream& in) {
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    readTournamentCsv(t, std::string_view(bytes));
}

bool saveTournamentFile(const Tournament& t, const std::string& path, std::string* error) {
    // The points column would hold a clamped result, which reads back as another table result.
    if (const auto seat = countedBeyondRange(t)) {
        if (error)
            *error = "the result of " + t.names[seat->second] + " in round " +
                     std::to_string(seat->first + 1) +
                     " with its penalties is beyond the range of numbers; nothing was written";
        return false;
    }
    const std::string text = tournamentCsvText(t);
    // Every reader refuses such a file: better no save than one nothing can load.
    if (text.size() > kMaxTournamentFileBytes) {
        if (error)
            *error = "the file would be larger than " +
                     std::to_string(kMaxTournamentFileBytes >> 20) +
                     " MiB, more than a tournament file may hold; nothing was written";
        return false;
    }
    return safeWriteFile(path, text, error);
}

FileReadError readTournamentFile(const std::string& path, std::string& bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file = fsPath(path);
    // Judged before opening: a FIFO would wait for a writer, a device or a file of /proc might
    // never end.
    switch (fileKind(path)) {
    case FileKind::Missing:
        return FileReadError::Missing;
    case FileKind::NotRegular:
    case FileKind::Pseudo:
        return FileReadError::NotRegular;
    case FileKind::Regular:
        break;
    }
    if (fs::file_size(file, ec) > kMaxTournamentFileBytes && !ec)
        return FileReadError::TooLarge;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return FileReadError::Unreadable;
    // Bounded even when the file grows while it is read.
    bytes.clear();
    std::array<char, 1 << 16> chunk;
    while (in && bytes.size() <= kMaxTournamentFileBytes) {
        in.read(chunk.data(), static_cast<std::streamsize>(std::min(
                                  chunk.size(), kMaxTournamentFileBytes + 1 - bytes.size())));
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        return FileReadError::Unreadable;
    return bytes.size() > kMaxTournamentFileBytes ? FileReadError::TooLarge : FileReadError::None;
}

bool readTournamentFileBytes(const std::string& path, std::string& bytes) {
    return readTournamentFile(path, bytes) == FileReadError::None;
}

bool loadTournamentFile(Tournament& t, const std::string& path) {
    std::string bytes;
    if (!readTournamentFileBytes(path, bytes))
        return false;
    readTournamentCsv(t, std::string_view(bytes));
    return true;
}

std::string autosavePath(const std::string& dir, int k) {
    return pathText(fsPath(dir) / ("autosave_tour" + std::to_string(k) + ".csv"));
}

bool autosaveRound(const Tournament& t, int k, const std::string& dir, bool autosaveOn) {
    if (!autosaveOn)
        return false;
    const std::string path = autosavePath(dir, k);
    if (!keepOlderAutosave(t, path, std::time(nullptr)))
        return false;
    return saveTournamentFile(t, path);
}

} // namespace quelna
