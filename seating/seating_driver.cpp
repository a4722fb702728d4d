#include "seating/seating_driver.h"

#include <algorithm>
#include <vector>

#include "core/settings.h"
#include "seating/exhaustive_fast.h"
#include "seating/exhaustive_seating.h"
#include "seating/random_search.h"

namespace quelna {

namespace {

void notify(SeatingJob& job, const SeatingJob::Notify& slot) {
    if (slot)
        slot(job);
}

// Hand-placed players must fit: a table number that exists and at most four at a table.
bool handPlacementFits(const Tournament& t, int round) {
    std::vector<int> count(t.tableCount(), 0);
    for (int p = 0; p < t.playerCount; ++p) {
        const int x = t.tableAt(round, p);
        if (x == -1)
            continue;
        if (x < 0 || x >= t.tableCount() || ++count[x] > 4)
            return false;
    }
    return true;
}

// The top tables were seated into the matrix; the random search judges against the earlier
// rounds only.
void removeRoundMeetings(Tournament& t, int round) {
    for (int p = 0; p < t.playerCount; ++p) {
        const int x = t.tableAt(round, p);
        if (x == -1)
            continue;
        for (int q = p + 1; q < t.playerCount; ++q)
            if (t.tableAt(round, q) == x)
                t.meetings.subtract(p, q);
    }
}

bool seat(Tournament& t, SeatingJob& job) {
    const int r = job.round;
    if (r < 0 || r >= t.roundCount || !handPlacementFits(t, r))
        return false;
    std::vector<int> totals(t.playerCount);
    std::vector<char> seated(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p) {
        totals[p] = t.runningTotal(p, r);
        seated[p] = t.tableAt(r, p) != -1 ? 1 : 0;
    }

    const auto seatTop = job.method == ExhaustiveMethod::Fast ? seatTopTablesFast : seatTopTables;
    if (seatTop(t, r, totals, seated, t.tableCount()))
        return true;
    if (!job.switchRequested()) {
        job.noSeatingExists = !job.stopRequested();
        return false;
    }

    if (job.stopFlag)
        job.stopFlag->store(false);
    if (job.switchFlag)
        job.switchFlag->store(false);
    notify(job, job.onTimerReset);
    notify(job, job.onVariantsReset);
    if (job.onTablesFilled)
        job.onTablesFilled(job, 0);
    notify(job, job.onRandomStart);

    const int fixedTables = std::min(settings().fixedTables, t.tableCount());
    if (fixedTables < 1)
        return seatByRandomSearch(t, r, totals, runRandom());
    if (!seatTop(t, r, totals, seated, fixedTables))
        return false;
    removeRoundMeetings(t, r);
    return seatByRandomSearch(t, r, totals, runRandom());
}

} // namespace

bool seatRound(Tournament& t, SeatingJob& job) {
    t.seatingJob = &job;
    const bool seated = seat(t, job);
    // The job belongs to the runner and may be gone soon after.
    t.seatingJob = nullptr;
    return seated;
}

} // namespace quelna
