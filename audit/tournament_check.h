#pragma once
// A referee's check of a whole tournament: every seated round seated again by the program from the
// rounds before it and compared with what was played, its meetings and tables judged, the
// substitutes and penalties listed, the totals and places computed. The same for the window and
// quelna-cli check.
#include <atomic>
#include <functional>
#include <vector>

#include "audit/finding.h"
#include "audit/rederive_round.h"
#include "core/tournament.h"
#include "files/written_standings.h"

namespace quelna {

struct CheckReport {
    int roundsSeated = 0;
    int roundsMatching = 0; // seated anew exactly as played
    bool cancelled = false;
    std::vector<Finding> findings; // round by round, then the adjustments, then the standings

    int ruleBreaks() const;
    bool breaksRules() const { return ruleBreaks() > 0; }
};

// Checks a normalized record. `written`: the file's own places and totals, when it came from one.
// `roundDone` is told each round as it is finished (for a progress display).
CheckReport checkTournament(const Tournament& t, const RederiveSettings& settings,
                            const WrittenStandings* written = nullptr,
                            const std::function<void(int round)>& roundDone = {});

} // namespace quelna
