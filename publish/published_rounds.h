#pragma once
// Which rounds the players' pages count: a round reaches the phones only once every table of it
// is typed and sums to zero, so a half-typed round never shows in the standings.
#include "core/tournament.h"

namespace quelna {

// A table counts as typed when its four players are seated and not all of its points are zero
// (the record keeps an empty cell as 0), and as finished when its points also sum to zero.
bool tableFinished(const Tournament& t, int round, int table);

// How many rounds from the first are finished at every table: the pages count rounds 0..k-1.
// A round being corrected hides it and the rounds after it until it adds up again.
int publishedRounds(const Tournament& t);

} // namespace quelna
