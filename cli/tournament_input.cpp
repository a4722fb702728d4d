#include "cli/tournament_input.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>

#include "core/fs_path.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"

namespace quelna {

int usageError(const std::string& message) {
    std::cerr << "quelna-cli: " << message << '\n';
    return 2;
}

std::optional<std::string> readTournamentInput(const std::string& path,
                                               std::unique_ptr<Tournament>& out) {
    std::ifstream file(fsPath(path), std::ios::binary);
    std::ostringstream content;
    if (!file || !(content << file.rdbuf()))
        return "cannot read " + path;
    const std::string bytes = content.str();
    if (!isTournamentCsv(bytes))
        return path + " is not a tournament file (its first line must begin with "
                      "МЕСТО;НОМЕР;ИМЯ;КОМАНДА)";
    // Sized as quelna-cli seat and the window's load see the file.
    const CsvShape shape = measureTournamentCsv(bytes);
    if (shape.players < 12 || shape.players > 200 || shape.players % 4 != 0)
        return path + ": the number of players must be a multiple of 4 from 12 to 200, not " +
               std::to_string(shape.players);
    if (shape.rounds < 2 || shape.rounds > 12)
        return path + ": the number of rounds must be from 2 to 12, not " +
               std::to_string(shape.rounds);
    out = std::make_unique<Tournament>(shape.players, shape.rounds);
    readTournamentCsv(*out, std::string_view(bytes));
    out->normalizeRounds();
    return std::nullopt;
}

} // namespace quelna
