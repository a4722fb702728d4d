#include "audit/standings_rules.h"

#include <string>

#include "core/standings.h"
#include "core/text.h"

namespace quelna {

void addStandingFindings(const Tournament& t, const WrittenStandings* written,
                         std::vector<Finding>& out) {
    // Over every round, as the file writes them: rounds not played add nothing.
    std::vector<int> order;
    std::vector<std::string> places;
    const bool allEqual = rankPlayers(t, t.roundCount, order, places);
    std::vector<std::string> placeOf(t.playerCount);
    for (int i = 0; i < t.playerCount; ++i)
        placeOf[order[i]] = allEqual ? std::string("0") : places[i];

    if (written)
        for (int p = 0; p < t.playerCount && p < static_cast<int>(written->place.size()); ++p) {
            const int total = t.runningTotal(p, t.roundCount);
            const std::string line = "Строка " + std::to_string(p + 2) + ", " + playerLabel(t, p);
            if (written->total[p] != total)
                out.push_back({FindingKind::TotalDiffers,
                               true,
                               -1,
                               {},
                               {p},
                               line + ": итог в файле " +
                                   (written->total[p] ? std::to_string(*written->total[p])
                                                      : std::string("не число")) +
                                   ", программа считает " + std::to_string(total) + "."});
            if (written->place[p] != placeOf[p])
                out.push_back({FindingKind::PlaceDiffers,
                               true,
                               -1,
                               {},
                               {p},
                               line + ": место в файле «" + cp1251ToUtf8(written->place[p]) +
                                   "», программа даёт «" + placeOf[p] + "»."});
        }
    for (int i = 0; i < t.playerCount; ++i) {
        const int p = order[i];
        out.push_back({FindingKind::Standing,
                       false,
                       -1,
                       {},
                       {p},
                       "Место " + placeOf[p] + ": " + playerLabel(t, p) + ", итог " +
                           standingsTotalText(t, p, t.roundCount) + "."});
    }
}

} // namespace quelna
