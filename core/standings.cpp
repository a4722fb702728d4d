#include "core/standings.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "core/exchange_sort.h"

namespace quelna {

namespace {

// "a+1|a+2|...|b+1" for the tied positions a..b. A group too long for the place buffer keeps as
// many leading positions as fit, then "...", then the last position, so the range stays readable.
std::string sharedPlaceText(int first, int last) {
    std::string full;
    for (int pos = first; pos <= last; ++pos) {
        if (pos > first)
            full += '|';
        full += std::to_string(pos + 1);
    }
    if (static_cast<int>(full.size()) <= kMaxPlaceTextLength)
        return full;
    const std::string tail = "|...|" + std::to_string(last + 1);
    std::string head = std::to_string(first + 1);
    for (int pos = first + 1; pos < last; ++pos) {
        const std::string next = "|" + std::to_string(pos + 1);
        if (head.size() + next.size() + tail.size() > static_cast<std::size_t>(kMaxPlaceTextLength))
            break;
        head += next;
    }
    return head + tail;
}

// Place texts of an order whose keys are totals[order[i]]: own number, or the shared text of a
// maximal run of equal totals.
void buildPlaceTexts(const std::vector<int>& order, const std::vector<int>& totals,
                     std::vector<std::string>& texts) {
    const int n = static_cast<int>(order.size());
    texts.assign(n, std::string());
    int a = 0;
    while (a < n) {
        int b = a;
        while (b + 1 < n && totals[order[b + 1]] == totals[order[a]])
            ++b;
        const std::string text = a == b ? std::to_string(a + 1) : sharedPlaceText(a, b);
        for (int i = a; i <= b; ++i)
            texts[i] = text;
        a = b + 1;
    }
}

bool allSame(const std::vector<int>& values) {
    for (std::size_t i = 1; i < values.size(); ++i)
        if (values[i] != values[i - 1])
            return false;
    return true;
}

void ownNumbers(int n, std::vector<int>& order, std::vector<std::string>& texts) {
    order.resize(n);
    texts.resize(n);
    for (int i = 0; i < n; ++i) {
        order[i] = i;
        texts[i] = std::to_string(i + 1);
    }
}

} // namespace

bool rankPlayers(const Tournament& t, int rounds, std::vector<int>& order,
                 std::vector<std::string>& placeTexts) {
    const int n = t.playerCount;
    std::vector<int> total(n);
    for (int p = 0; p < n; ++p)
        total[p] = t.runningTotal(p, rounds);
    ownNumbers(n, order, placeTexts);
    if (allSame(total)) {
        exchangeSort(order, [&](int a, int b) { return t.playerNumber[a] > t.playerNumber[b]; });
        return true;
    }
    exchangeSort(order, [&](int a, int b) { return total[a] < total[b]; });
    buildPlaceTexts(order, total, placeTexts);
    return false;
}

bool rankTeams(const Tournament& t, int rounds, std::vector<int>& order,
               std::vector<int>& teamTotals, std::vector<std::string>& placeTexts) {
    const int n = t.teams.count();
    // Summed wide and saturated, like the players' own totals.
    std::vector<long long> sums(n, 0);
    for (int p = 0; p < t.playerCount; ++p)
        if (t.team[p] > 0 && t.team[p] <= n)
            sums[t.team[p] - 1] += t.runningTotal(p, rounds);
    teamTotals.resize(n);
    for (int k = 0; k < n; ++k)
        teamTotals[k] = static_cast<int>(std::clamp<long long>(sums[k], INT_MIN, INT_MAX));
    ownNumbers(n, order, placeTexts);
    if (n <= 1 || allSame(teamTotals))
        return true;
    exchangeSort(order, [&](int a, int b) { return teamTotals[a] < teamTotals[b]; });
    buildPlaceTexts(order, teamTotals, placeTexts);
    return false;
}

} // namespace quelna
