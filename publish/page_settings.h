#pragma once
// Whether the players' page is served and on which port: a section of its own in the settings
// file, beside QUELNA, whose keys stay as they are.
#include <string>

namespace quelna {

inline constexpr int kDefaultPagePort = 8080;

struct PlayerPageSettings {
    bool enabled = false; // off until the organiser switches it on
    int port = kDefaultPagePort;
};

// Missing file, section or keys give the defaults; a port outside 1..65535 gives 8080.
PlayerPageSettings loadPlayerPageSettings(const std::string& path);
// Writes the section, keeping every other line of the file.
[[nodiscard]] bool savePlayerPageSettings(const PlayerPageSettings& s, const std::string& path);

} // namespace quelna
