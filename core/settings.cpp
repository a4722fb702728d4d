#include "core/settings.h"

#include <algorithm>

#include "core/ini_file.h"

namespace quelna {

namespace {

constexpr const char* kSection = "QUELNA";
constexpr const char* kSeatingSection = "SEATING";
constexpr const char* kSlidesSection = "SLIDES";
constexpr const char* kFilesSection = "FILES";

int inRangeOr(int value, int low, int high, int def) {
    return value < low || value > high ? def : value;
}

} // namespace

std::string singleLineSetting(std::string_view raw) {
    std::string title;
    for (char c : raw) {
        if (static_cast<int>(title.size()) >= kMaxTitleLength)
            break;
        if (c != '\r' && c != '\n')
            title += c;
    }
    // The file trims values when it reads them; a title cut at a blank would otherwise change
    // once more on the next start.
    while (!title.empty() && (title.back() == ' ' || title.back() == '\t'))
        title.pop_back();
    return title;
}

Settings& settings() {
    static Settings instance;
    return instance;
}

void loadSettings(Settings& s, const std::string& path) {
    s.settingsPath = path;
    s.exhaustiveTimeout = 1;
    s.randomTimeout = 1;
    s.autosave = true;
    s.fixedTables = 0;
    s.overlapTables = 0;
    const IniFile ini = IniFile::load(path);
    s.tournamentTitle = singleLineSetting(ini.get(kSection, "TOURNAMENT").value_or(std::string()));
    s.showOnSecondary = ini.getInt(kSection, "SECONDARY", 1) != 0;
    s.slideInterval = inRangeOr(ini.getInt(kSection, "INTERVAL", 7), 5, 20, 7);
    s.slideTablesX = inRangeOr(ini.getInt(kSection, "TABLESX", 2), 2, 4, 2);
    s.slideTablesY = inRangeOr(ini.getInt(kSection, "TABLESY", 2), 2, 4, 2);
    s.slideLines = inRangeOr(ini.getInt(kSection, "LINES", 8), 8, 32, 8);
    // Far beyond any club's rules, yet so small that no sum of them nears the 32-bit limits.
    auto points = [&](const std::string& key, int def) {
        return inRangeOr(ini.getInt(kSection, key, def), -kMaxRulePoints, kMaxRulePoints, def);
    };
    const ScoringRule rule;
    s.scoring.startPoints = points("STARTPOINTS", rule.startPoints);
    s.scoring.returnPoints = points("RETURNPOINTS", rule.returnPoints);
    for (int i = 0; i < 4; ++i)
        s.scoring.uma[i] = points("UMA" + std::to_string(i + 1), rule.uma[i]);
    s.substituteResult = points("SUBSTITUTE", kDefaultSubstituteResult);
    s.planAhead = ini.getInt(kSeatingSection, "PLANAHEAD", 1) != 0;
    s.slideListHeadings = ini.getInt(kSlidesSection, "HEADINGS", 0) != 0;
    s.tournamentFolder = ini.get(kFilesSection, "FOLDER").value_or(std::string());
}

bool saveSettings(const Settings& s) {
    IniFile ini = IniFile::load(s.settingsPath);
    ini.set(kSection, "TOURNAMENT", singleLineSetting(s.tournamentTitle));
    ini.set(kSection, "SECONDARY", s.showOnSecondary ? "1" : "0");
    ini.set(kSection, "TABLESX", std::to_string(s.slideTablesX));
    ini.set(kSection, "TABLESY", std::to_string(s.slideTablesY));
    ini.set(kSection, "LINES", std::to_string(s.slideLines));
    ini.set(kSection, "INTERVAL", std::to_string(s.slideInterval));
    // Written once it differs from the default, so that an untouched file keeps its six keys.
    if (!s.planAhead || ini.get(kSeatingSection, "PLANAHEAD"))
        ini.set(kSeatingSection, "PLANAHEAD", s.planAhead ? "1" : "0");
    if (s.slideListHeadings || ini.get(kSlidesSection, "HEADINGS"))
        ini.set(kSlidesSection, "HEADINGS", s.slideListHeadings ? "1" : "0");
    if (!s.tournamentFolder.empty() &&
        s.tournamentFolder.find_first_of("\r\n") == std::string::npos)
        ini.set(kFilesSection, "FOLDER", s.tournamentFolder);
    return ini.save(s.settingsPath);
}

void clampSettings(Settings& s, int tableCount) {
    s.exhaustiveTimeout = std::clamp(s.exhaustiveTimeout, 0, 10);
    s.randomTimeout = std::clamp(s.randomTimeout, 0, 10);
    s.fixedTables = std::clamp(s.fixedTables, 0, std::max(0, tableCount));
    s.overlapTables = std::clamp(s.overlapTables, 0, std::max(0, tableCount));
    s.slideTablesX = std::clamp(s.slideTablesX, 2, 4);
    s.slideTablesY = std::clamp(s.slideTablesY, 2, 4);
    s.slideLines = std::clamp(s.slideLines, 8, 32);
    s.slideInterval = std::clamp(s.slideInterval, 5, 20);
    s.tournamentTitle = singleLineSetting(s.tournamentTitle);
}

} // namespace quelna
