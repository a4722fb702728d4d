#pragma once
#include <vector>

#include "core/tournament.h"

namespace quelna {

// Sum over tables of |v(a) - v(b)| over the six pairs of the first four players (ascending index).
int seatingFactor(const Tournament& t, int round, const std::vector<int>& v);
// Display form: (F - 10*T) / T, truncating toward zero.
inline int displayFactor(int factor, int tableCount) {
    return (factor - 10 * tableCount) / tableCount;
}

} // namespace quelna
