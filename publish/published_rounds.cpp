#include "publish/published_rounds.h"

namespace quelna {

bool tableFinished(const Tournament& t, int round, int table) {
    long long sum = 0;
    bool typed = false;
    for (int seat = 0; seat < 4; ++seat) {
        const int p = t.playerAt(round, table, seat);
        if (p < 0)
            return false;
        const int points = t.pointsAt(round, p);
        sum += points;
        typed = typed || points != 0;
    }
    return typed && sum == 0;
}

int publishedRounds(const Tournament& t) {
    int k = 0;
    for (; k < t.currentRound && k < t.roundCount; ++k) {
        if (!t.isRoundComplete(k))
            return k;
        for (int tb = 0; tb < t.tableCount(); ++tb)
            if (!tableFinished(t, k, tb))
                return k;
    }
    return k;
}

} // namespace quelna
