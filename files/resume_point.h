#pragma once
// What a new start needs to continue after a run that did not end through the main window's
// close: a marker in the settings folder while the main window is open, and the newest autosave.
#include <ctime>
#include <optional>
#include <string>

namespace quelna {

// "quelna.running" in dir.
std::string runMarkerPath(const std::string& dir);
// Writes the marker; false when it cannot be written (the run goes on without the offer).
[[nodiscard]] bool markRunning(const std::string& dir);
void clearRunning(const std::string& dir);
[[nodiscard]] bool wasInterrupted(const std::string& dir);

struct FoundAutosave {
    std::string path;
    int round = 0;         // the k of autosave_tour<k>.csv
    std::time_t saved = 0; // its last write
};

// The most recently written autosave_tour<k>.csv of dir (kept older copies do not count).
std::optional<FoundAutosave> newestAutosave(const std::string& dir);

} // namespace quelna
