#pragma once
// Opening and judging a tournament file for quelna-cli: every command that reads one refuses the
// same files for the same reasons, before it does anything.
#include <optional>
#include <string>
#include <string_view>

#include "core/tournament.h"
#include "core/tournament_size.h"

namespace quelna {

// How the names of a file are read: CP1251 unless they look like UTF-8 (then the file is refused
// with a hint), or as named.
enum class TextEncoding { Auto, Cp1251, Utf8 };
// "cp1251" or "utf-8" (also "windows-1251", "utf8"); nothing for anything else.
std::optional<TextEncoding> parseTextEncoding(std::string_view name);

struct TournamentInput {
    std::optional<Tournament> raw; // as read, before normalizeRounds; nothing when refused
    std::string refusal;           // one or more lines, the first naming the file
};

// Reads the file (a regular file of at most kMaxTournamentFileBytes) and takes it only when a
// load would keep everything it holds: a tournament file of a possible size, no tables or points
// after a round that is not complete, at most four players placed at a table of the round to
// seat, no number the reader would change, and every line of the substitutes and penalties usable
// and agreeing with the player lines.
TournamentInput openTournamentInput(const std::string& path, TextEncoding encoding);

} // namespace quelna
