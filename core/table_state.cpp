#include "core/table_state.h"

namespace quelna {

TableState tableStateAt(const Tournament& t, int round, int table) {
    // Four values near the int limits must not overflow their sum into a false zero.
    long long sum = 0;
    bool untyped = false;
    for (int s = 0; s < 4; ++s) {
        const int p = t.playerAt(round, table, s);
        if (p < 0)
            continue;
        switch (t.entryAt(round, p)) {
        case PointsEntry::Text:
            return TableState::NotNumber;
        case PointsEntry::Untyped:
            untyped = true;
            break;
        case PointsEntry::Number:
            sum += t.pointsAt(round, p);
            break;
        }
    }
    if (untyped)
        return TableState::Untyped;
    return sum != 0 ? TableState::NotZero : TableState::Fine;
}

bool isRoundUntyped(const Tournament& t, int round) {
    for (int p = 0; p < t.playerCount; ++p)
        if (t.entryAt(round, p) != PointsEntry::Untyped)
            return false;
    return true;
}

void adoptZeroRoundAsUntyped(Tournament& t) {
    const int latest = t.currentRound - 1;
    if (latest < 0)
        return;
    for (int p = 0; p < t.playerCount; ++p)
        if (t.entryAt(latest, p) != PointsEntry::Number || t.pointsAt(latest, p) != 0)
            return;
    t.markRoundUntyped(latest);
}

} // namespace quelna
