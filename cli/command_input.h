#pragma once
// What the commands that read a saved tournament share: the error line of bad usage or input, and
// the file opened, judged and normalized as quelna-cli seat takes it.
#include <optional>
#include <string>

#include "core/tournament.h"
#include "files/tournament_input.h"

namespace quelna {

// Prints "quelna-cli: message" on standard error; returns 2, the exit status of bad usage or input.
int usageError(const std::string& message);

// The record, or the reason the file cannot be used (for the command's error line).
[[nodiscard]] std::optional<std::string>
readTournamentInput(const std::string& path, TextEncoding encoding, std::optional<Tournament>& out);

} // namespace quelna
