#include "files/resume_point.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "core/fs_path.h"
#include "core/safe_write.h"

namespace quelna {

namespace {

std::time_t toTimeT(std::filesystem::file_time_type when) {
    using namespace std::chrono;
    const auto sys = time_point_cast<system_clock::duration>(
        when - std::filesystem::file_time_type::clock::now() + system_clock::now());
    return system_clock::to_time_t(sys);
}

// k of "autosave_tour<k>.csv", or -1 for any other name.
int autosaveNumber(const std::string& name) {
    const std::string head = "autosave_tour", tail = ".csv";
    if (name.size() <= head.size() + tail.size() || name.compare(0, head.size(), head) != 0 ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return -1;
    const std::string digits = name.substr(head.size(), name.size() - head.size() - tail.size());
    if (digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoi(digits);
}

} // namespace

std::string runMarkerPath(const std::string& dir) {
    return pathText(fsPath(dir) / "quelna.running");
}

bool markRunning(const std::string& dir) {
    return safeWriteFile(runMarkerPath(dir), "running\r\n");
}

void clearRunning(const std::string& dir) {
    std::error_code ec;
    std::filesystem::remove(fsPath(runMarkerPath(dir)), ec);
}

bool wasInterrupted(const std::string& dir) {
    std::error_code ec;
    return std::filesystem::exists(fsPath(runMarkerPath(dir)), ec);
}

std::optional<FoundAutosave> newestAutosave(const std::string& dir) {
    std::optional<FoundAutosave> newest;
    std::filesystem::file_time_type newestTime{};
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(fsPath(dir), ec)) {
        const int k = autosaveNumber(pathText(entry.path().filename()));
        std::error_code fileEc;
        if (k < 0 || !entry.is_regular_file(fileEc))
            continue;
        const auto when = entry.last_write_time(fileEc);
        if (fileEc || (newest && when <= newestTime))
            continue;
        newest = FoundAutosave{pathText(entry.path()), k, toTimeT(when)};
        newestTime = when;
    }
    return newest;
}

} // namespace quelna
