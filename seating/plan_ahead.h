#pragma once
// Seating with the rest of the tournament in view: the exhaustive search's seating is kept when
// the rounds after it can still be seated without repeat meetings, shown by a schedule found for
// them (a witness, never stored or used for a later round). Otherwise the search goes on in its
// own order of candidates, each placement accepted only when a witness exists with it, so the
// seating differs from the plain rule's only where that would lead into a dead end. Where no
// witness reaches the last round, it plans as many rounds ahead as one is found for.
#include <vector>

#include "core/tournament.h"
#include "seating/seating_job.h"

namespace quelna {

struct PlanInput {
    int round = 0;
    const std::vector<int>* totals = nullptr;
    MeetingMatrix before;        // the meetings before the round (team-mates count as met)
    std::vector<int> handTables; // per player, the table placed by hand, or -1
    // When given: the witness of the seating kept, one entry per following round it covers, each
    // the table of every player. Only for checking it; the seating never uses it.
    std::vector<std::vector<int>>* witness = nullptr;

    bool handTablesEmpty() const {
        for (int x : handTables)
            if (x >= 0)
                return false;
        return true;
    }
};

// Called after the exhaustive search seated every table of the round in `t` (the round's pairs
// counted in t.meetings). May replace that seating by another, leaving t as the search would have.
// Returns how many of the following rounds were shown seatable without repeat meetings.
int planAhead(Tournament& t, const PlanInput& input, SeatingJob& job);

} // namespace quelna
