#include "publish/page_settings.h"

#include "core/ini_file.h"

namespace quelna {

namespace {
constexpr const char* kSection = "PLAYERPAGE";
}

PlayerPageSettings loadPlayerPageSettings(const std::string& path) {
    const IniFile ini = IniFile::load(path);
    PlayerPageSettings s;
    s.enabled = ini.getInt(kSection, "ENABLED", 0) != 0;
    const int port = ini.getInt(kSection, "PORT", kDefaultPagePort);
    s.port = port >= 1 && port <= 65535 ? port : kDefaultPagePort;
    return s;
}

bool savePlayerPageSettings(const PlayerPageSettings& s, const std::string& path) {
    IniFile ini = IniFile::load(path);
    ini.set(kSection, "ENABLED", s.enabled ? "1" : "0");
    ini.set(kSection, "PORT", std::to_string(s.port));
    return ini.save(path);
}

} // namespace quelna
