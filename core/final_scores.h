#pragma once
// A table's four end-of-game scores turned into the results the points cells hold:
// (score - return points) + uma by place, the oka (what the return points exceed the start
// points by, four times) going to the first place, players with equal scores sharing the uma
// (and oka) of the places they hold together.
#include <array>
#include <optional>

namespace quelna {

struct ScoringRule {
    int startPoints = 30000;
    int returnPoints = 30000; // equal to startPoints: no oka
    std::array<int, 4> uma{15000, 5000, -5000, -15000};
};

// Points left on the table at the end of the game (riichi sticks nobody won): what the scores fall
// short of 4 x start points, in whole thousands and less than one player's start points; 0 when
// they sum exactly. Nothing when the sum cannot be explained so (too high, short by a part of a
// thousand, or by more than any real game leaves).
std::optional<int> pointsLeftOnTable(const std::array<int, 4>& scores, const ScoringRule& rule);

// Results in seat order, or nothing when pointsLeftOnTable has no answer. The points left on the
// table go to the first place with the oka (shared like it by tied winners). The results always
// sum to zero: a shared uma that does not divide evenly gives its remainder, one point at a time,
// to the tied players in seat order.
std::optional<std::array<int, 4>> resultsFromFinalScores(const std::array<int, 4>& scores,
                                                         const ScoringRule& rule);

} // namespace quelna
