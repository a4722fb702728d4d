#pragma once
// An autosave must never destroy a file it does not continue: another tournament's, or one that
// got further than the record being saved (a truncated load, a test run after the real one).
#include <ctime>
#include <string>
#include <string_view>

#include "core/tournament.h"

namespace quelna {

// True when the file's bytes hold something that writing t over it would lose: a file that is
// not a tournament file, other players or another size, more seated rounds or more points.
[[nodiscard]] bool autosaveWouldLose(const Tournament& t, std::string_view existing);

// A free name beside path for keeping the older file: "autosave_tour4 (2026-12-09 14-02).csv",
// with " 2", " 3"... added inside the brackets when that name is taken.
std::string keptAutosavePath(const std::string& path, std::time_t when);

// Before an autosave replaces path: moves the file there aside when the write would lose it.
// Returns false when it had to be kept but could not be moved, so the autosave must not go on.
[[nodiscard]] bool keepOlderAutosave(const Tournament& t, const std::string& path, std::time_t now);

} // namespace quelna
