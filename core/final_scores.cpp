#include "core/final_scores.h"

#include <algorithm>
#include <climits>

namespace quelna {

std::optional<int> pointsLeftOnTable(const std::array<int, 4>& scores, const ScoringRule& rule) {
    long long sum = 0;
    for (int s : scores)
        sum += s;
    const long long left = 4LL * rule.startPoints - sum;
    if (left == 0)
        return 0;
    if (left < 0 || left % 1000 != 0 || left >= rule.startPoints)
        return std::nullopt;
    return static_cast<int>(left);
}

std::optional<std::array<int, 4>> resultsFromFinalScores(const std::array<int, 4>& scores,
                                                         const ScoringRule& rule) {
    const std::optional<int> left = pointsLeftOnTable(scores, rule);
    if (!left)
        return std::nullopt;
    std::array<long long, 4> bonus{};
    for (int place = 0; place < 4; ++place)
        bonus[place] = rule.uma[place];
    // The winner takes the oka and the sticks nobody won, which is what makes the results sum to 0.
    bonus[0] += 4LL * (static_cast<long long>(rule.returnPoints) - rule.startPoints) + *left;

    std::array<int, 4> bySeat{0, 1, 2, 3};
    // Stable, so equal scores keep seat order and the remainder below goes to the earlier seat.
    std::stable_sort(bySeat.begin(), bySeat.end(),
                     [&](int a, int b) { return scores[a] > scores[b]; });
    std::array<int, 4> results{};
    for (int first = 0; first < 4;) {
        int last = first;
        long long shared = 0;
        while (last < 4 && scores[bySeat[last]] == scores[bySeat[first]])
            shared += bonus[last++];
        const int n = last - first;
        // Floor division, so the remainder is never negative.
        long long each = shared / n;
        long long remainder = shared % n;
        if (remainder < 0) {
            remainder += n;
            --each;
        }
        for (int i = first; i < last; ++i) {
            const int seat = bySeat[i];
            const long long extra = i - first < remainder ? 1 : 0;
            const long long value =
                scores[seat] - static_cast<long long>(rule.returnPoints) + each + extra;
            results[seat] = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
        }
        first = last;
    }
    return results;
}

} // namespace quelna
