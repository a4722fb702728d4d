#pragma once
// A saved tournament as the read-only commands take it: sized by its own header and player lines,
// read and normalized.
#include <memory>
#include <optional>
#include <string>

#include "core/tournament.h"

namespace quelna {

// Prints "quelna-cli: message" on standard error; returns 2, the exit status of bad usage or input.
int usageError(const std::string& message);

// The record, or the reason the file cannot be used (for the command's error line).
[[nodiscard]] std::optional<std::string> readTournamentInput(const std::string& path,
                                                             std::unique_ptr<Tournament>& out);

} // namespace quelna
