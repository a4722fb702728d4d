#pragma once
// The sizes a tournament can have: whole tables of four, 12 to 200 players, 2 to 12 rounds. The
// parameters dialog, the file reader and quelna-cli all ask here.
#include <optional>
#include <string>

namespace quelna {

inline constexpr int kMinPlayers = 12;
inline constexpr int kMaxPlayers = 200;
inline constexpr int kMinRounds = 2;
inline constexpr int kMaxRounds = 12;

// Why players and rounds make no tournament; nothing when they make one.
[[nodiscard]] std::optional<std::string> tournamentSizeProblem(long long players, long long rounds);

} // namespace quelna
