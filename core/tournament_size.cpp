#include "core/tournament_size.h"

namespace quelna {

std::optional<std::string> tournamentSizeProblem(long long players, long long rounds) {
    if (players < kMinPlayers || players > kMaxPlayers || players % 4 != 0)
        return "the number of players must be a multiple of 4 from " + std::to_string(kMinPlayers) +
               " to " + std::to_string(kMaxPlayers) + ", not " + std::to_string(players);
    if (rounds < kMinRounds || rounds > kMaxRounds)
        return "the number of rounds must be from " + std::to_string(kMinRounds) + " to " +
               std::to_string(kMaxRounds) + ", not " + std::to_string(rounds);
    return std::nullopt;
}

} // namespace quelna
