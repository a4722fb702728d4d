#pragma once
// The exchange sort every ordering of the program uses: for each position, compare with every
// later one and swap when the later is better. Not stable: its order among equal keys is part of
// every result (standings, seats, ranks, table numbers), so no other sort may stand in for it.
#include <iterator>
#include <utility>

namespace quelna {

template <typename Iterator, typename LaterIsBetter>
void exchangeSort(Iterator first, Iterator last, LaterIsBetter laterIsBetter) {
    for (Iterator i = first; i != last; ++i)
        for (Iterator j = std::next(i); j != last; ++j)
            if (laterIsBetter(*i, *j))
                std::iter_swap(i, j);
}

template <typename Range, typename LaterIsBetter>
void exchangeSort(Range& items, LaterIsBetter laterIsBetter) {
    exchangeSort(std::begin(items), std::end(items), laterIsBetter);
}

} // namespace quelna
