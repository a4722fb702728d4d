#pragma once
// What the POSIX and the Windows safe write share: the temporary file's names and how a failure
// is reported.
#include <string>

namespace quelna::safe_write {

// How many temporary names are tried before the write gives up.
inline constexpr int kTempAttempts = 64;

// The temporary file's name for one attempt beside target.
std::string tempCandidate(const std::string& target, int attempt);

// Stores why in error (when given) and returns false.
bool fail(std::string* error, const std::string& why);

} // namespace quelna::safe_write
