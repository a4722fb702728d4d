#include "cli/command_input.h"

#include <iostream>

namespace quelna {

int usageError(const std::string& message) {
    std::cerr << "quelna-cli: " << message << '\n';
    return 2;
}

std::optional<std::string> readTournamentInput(const std::string& path, TextEncoding encoding,
                                               std::optional<Tournament>& out) {
    TournamentInput input = openTournamentInput(path, encoding);
    if (!input.raw)
        return input.refusal;
    out = std::move(input.raw);
    out->normalizeRounds();
    return std::nullopt;
}

} // namespace quelna
