#pragma once
// The round clock in the settings file: a section of its own beside QUELNA, written after every
// change, so that a crash or a restart finds the clock where it was.
#include <string>
#include <vector>

#include "core/round_clock.h"

namespace quelna {

// Missing file, section or keys give a stopped clock of kDefaultRoundMinutes. A value out of its
// range is never used: the setting keeps its default, and a running, paused or planned state
// that does not fit the clock's bounds at `now` is dropped whole (a stopped clock of the round).
// Each refused value is named in dropped (when given) as the file holds it, "KEY=value".
// Extra time is taken for tables 1..tableCount only.
RoundClock loadRoundClock(const std::string& path, ClockTime now = wallClockNow(),
                          int tableCount = kMaxClockTables,
                          std::vector<std::string>* dropped = nullptr);
// Writes the section, keeping every other line of the file.
[[nodiscard]] bool saveRoundClock(const RoundClock& c, const std::string& path);

} // namespace quelna
