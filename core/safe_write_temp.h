#pragma once
// What the POSIX and the Windows safe write share: the temporary file's names and how a failure
// is reported.
#include <string>
#include <string_view>

namespace quelna::safe_write {

// How many temporary names are tried before the write gives up.
inline constexpr int kTempAttempts = 64;

// The temporary file's name for one attempt beside target.
std::string tempCandidate(const std::string& target, int attempt);

// True when name (no folder) is one tempCandidate gives for a target named targetName.
bool isTempName(std::string_view targetName, std::string_view name);

// A temporary file last written this long ago and held by no save is a leftover of a save that
// was killed; a save in progress has written it just now, or holds it.
inline constexpr int kStaleTempSeconds = 10;

// Stores why in error (when given) and returns false.
bool fail(std::string* error, const std::string& why);

} // namespace quelna::safe_write
