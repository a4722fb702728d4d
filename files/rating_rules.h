#pragma once
// What the federation's rating portal requires of a tournament before it takes the results: enough
// players, enough rounds played, and every name as two words ("Фамилия Имя").
#include <string>
#include <string_view>
#include <vector>

#include "core/tournament.h"

namespace quelna {

inline constexpr int kRatingMinPlayers = 16;
inline constexpr int kRatingMinRounds = 4;

// Two words, blanks of any length between and around them.
[[nodiscard]] bool isTwoWordName(std::string_view utf8);
// The words of a name.
std::vector<std::string> nameWords(std::string_view utf8);

// A seated round in which some result was typed.
[[nodiscard]] bool roundHasResults(const Tournament& t, int round);
int roundsPlayed(const Tournament& t);

// Each rule the tournament fails, a line each (UTF-8): the players, the rounds, then every name
// that is not two words with its row of the standings. Empty when the portal takes it.
std::vector<std::string> ratingRuleProblems(const Tournament& t);

} // namespace quelna
