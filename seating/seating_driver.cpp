#include "seating/seating_driver.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "seating/exhaustive_fast.h"
#include "seating/exhaustive_seating.h"
#include "seating/plan_ahead.h"
#include "seating/random_search.h"

namespace quelna {

namespace {

void notify(SeatingJob& job, const SeatingJob::Notify& slot) {
    if (slot)
        slot(job);
}

bool seat(Tournament& t, SeatingJob& job) {
    const int r = job.round;
    if (r < 0 || r >= t.roundCount || firstMisplacedPlayer(t, r) != -1)
        return false;
    std::vector<int> totals(t.playerCount);
    std::vector<char> seated(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p) {
        totals[p] = t.runningTotal(p, r);
        seated[p] = t.tableAt(r, p) != -1 ? 1 : 0;
    }

    const auto seatTop =
        job.options.method == ExhaustiveMethod::Fast ? seatTopTablesFast : seatTopTables;
    std::optional<PlanInput> plan;
    if (job.options.planAhead) {
        plan.emplace(PlanInput{.round = r, .totals = &totals, .before = t.meetings, .handTables = {}});
        for (int p = 0; p < t.playerCount; ++p)
            plan->handTables.push_back(t.tableAt(r, p));
    }
    if (seatTop(t, r, totals, seated, t.tableCount(), job)) {
        if (plan)
            job.aheadRounds = planAhead(t, *plan, job);
        return true;
    }
    if (!job.switchRequested()) {
        job.noSeatingExists = !job.stopRequested();
        return false;
    }
    if (!job.random)
        return false;

    if (job.stopFlag)
        job.stopFlag->store(false);
    if (job.switchFlag)
        job.switchFlag->store(false);
    notify(job, job.onTimerReset);
    notify(job, job.onVariantsReset);
    if (job.onTablesFilled)
        job.onTablesFilled(job, 0);
    notify(job, job.onRandomStart);

    const int fixedTables = std::min(job.options.fixedTables, t.tableCount());
    if (fixedTables < 1)
        return seatByRandomSearch(t, r, totals, *job.random, job);
    // The top tables were seated into the matrix; the random search judges against the
    // meetings before the round only.
    const MeetingMatrix before = t.meetings;
    if (!seatTop(t, r, totals, seated, fixedTables, job))
        return false;
    t.meetings = before;
    return seatByRandomSearch(t, r, totals, *job.random, job);
}

} // namespace

bool seatRound(Tournament& t, SeatingJob& job) {
    return seat(t, job);
}

} // namespace quelna
