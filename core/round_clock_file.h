#pragma once
// The round clock in the settings file: a section of its own beside QUELNA, written after every
// change, so that a crash or a restart finds the clock where it was.
#include <string>

#include "core/round_clock.h"

namespace quelna {

// Missing file, section or keys give a stopped clock of kDefaultRoundMinutes; values that make
// no sense are replaced the same way.
RoundClock loadRoundClock(const std::string& path);
// Writes the section, keeping every other line of the file.
[[nodiscard]] bool saveRoundClock(const RoundClock& c, const std::string& path);

} // namespace quelna
