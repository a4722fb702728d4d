#pragma once
// Writes the players' pages as files, for an organiser's own website after the event.
#include <string>

#include "publish/player_pages.h"

namespace quelna {

// Creates dir when missing and writes the four files into it, each through safeWriteFile.
// On failure error (when given) names the file and the reason; files already written stay.
[[nodiscard]] bool exportPlayerPages(const PlayerPages& pages, const std::string& dir,
                                     std::string* error = nullptr);

} // namespace quelna
