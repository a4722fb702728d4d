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

// Results in seat order, or nothing when the scores do not sum to 4 x start points. The results
// always sum to zero: a shared uma that does not divide evenly gives its remainder, one point at a
// time, to the tied players in seat order.
std::optional<std::array<int, 4>> resultsFromFinalScores(const std::array<int, 4>& scores,
                                                         const ScoringRule& rule);

} // namespace quelna
