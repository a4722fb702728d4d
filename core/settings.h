#pragma once
// The process-wide options. Six persist in quelna.ini (section QUELNA) beside the executable.
#include <string>
#include <string_view>

#include "core/adjustments.h"
#include "core/final_scores.h"

namespace quelna {

struct Settings {
    int exhaustiveTimeout = 1; // minutes, 0 = no limit
    int randomTimeout = 1;     // minutes, 0 = no limit
    bool autosave = true;
    int fixedTables = 0;         // 0..T
    int overlapTables = 0;       // 0..T
    int slideTablesX = 2;        // 2..4
    int slideTablesY = 2;        // 2..4
    int slideLines = 8;          // 8..32
    std::string tournamentTitle; // CP1251, at most 255 bytes
    bool secondaryAvailable = false;
    bool showOnSecondary = true;
    int slideInterval = 7; // 5..20 seconds
    // Seat each round so that the rounds after it can still be seated without repeat meetings.
    // Kept in a section of its own (SEATING, PLANAHEAD), which other readers of the file ignore.
    bool planAhead = true;
    // The standings slides get a heading band and no empty lines after the last entry. Kept in
    // a section of its own (SLIDES, HEADINGS); off, the lists are laid out as they always were.
    bool slideListHeadings = false;
    // The folder tournament files were last opened from or saved to (FILES, FOLDER), where the
    // next file dialog starts; empty until the first one. The file system's own bytes.
    std::string tournamentFolder;
    std::string settingsPath;
    // Read from the file but not written by the settings dialog: set once per club by hand.
    ScoringRule scoring;                             // STARTPOINTS, RETURNPOINTS, UMA1..UMA4
    int substituteResult = kDefaultSubstituteResult; // SUBSTITUTE
};

inline constexpr int kMaxTitleLength = 255;
// The largest start points, return points, uma or substitute result taken from the file.
inline constexpr int kMaxRulePoints = 1'000'000;

// The one Settings of the process.
Settings& settings();

// Reads the six keys from the file at path (missing file or keys: defaults; out-of-range values:
// the default, not the nearest bound). Resets the in-memory-only fields to their start values.
void loadSettings(Settings& s, const std::string& path);
// Writes the six keys, keeping every other line of the file. Returns false when the write failed.
[[nodiscard]] bool saveSettings(const Settings& s);

// A text as the settings file can keep it: one line, at most kMaxTitleLength bytes, no
// trailing blanks.
std::string singleLineSetting(std::string_view raw);

// Keeps the fields the dialog edits within their ranges (tables: 0..tableCount).
void clampSettings(Settings& s, int tableCount);

} // namespace quelna
