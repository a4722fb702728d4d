#include "files/autosave_keep.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/fs_path.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"

namespace quelna {

namespace {

std::vector<std::string> sortedNames(const Tournament& t) {
    std::vector<std::string> names(t.names.begin(), t.names.end());
    std::sort(names.begin(), names.end());
    return names;
}

int resultCount(const Tournament& t) {
    return static_cast<int>(
        std::count_if(t.points.begin(), t.points.end(), [](int v) { return v != 0; }));
}

} // namespace

bool autosaveWouldLose(const Tournament& t, std::string_view existing) {
    if (!isTournamentCsv(existing))
        return !existing.empty();
    const CsvShape shape = measureTournamentCsv(existing);
    if (shape.players != t.playerCount || shape.rounds != t.roundCount)
        return true;
    Tournament old(t.playerCount, t.roundCount);
    readTournamentCsv(old, existing);
    old.normalizeRounds();
    if (sortedNames(old) != sortedNames(t))
        return true;
    int seated = 0;
    while (seated < t.roundCount && t.isRoundComplete(seated))
        ++seated;
    return old.currentRound > seated || resultCount(old) > resultCount(t);
}

std::string keptAutosavePath(const std::string& path, std::time_t when) {
    const std::filesystem::path target = fsPath(path);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M", &local);
    const std::string stem = pathText(target.stem());
    const std::string ext = pathText(target.extension());
    for (int n = 1;; ++n) {
        const std::string suffix = n == 1 ? "" : " " + std::to_string(n);
        const std::filesystem::path candidate =
            target.parent_path() / fsPath(stem + " (" + stamp + suffix + ")" + ext);
        std::error_code ec;
        if (!std::filesystem::exists(candidate, ec) && !ec)
            return pathText(candidate);
    }
}

bool keepOlderAutosave(const Tournament& t, const std::string& path, std::time_t now) {
    std::string bytes;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fsPath(path), ec))
        return true; // nothing there to lose; the safe write refuses anything odd itself
    if (!readTournamentFileBytes(path, bytes))
        return false;
    if (!autosaveWouldLose(t, bytes))
        return true;
    std::filesystem::rename(fsPath(path), fsPath(keptAutosavePath(path, now)), ec);
    return !ec;
}

} // namespace quelna
