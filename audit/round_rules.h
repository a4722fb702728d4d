#pragma once
// What one seated round shows by itself: who met again at its tables, and tables whose points do
// not sum to zero or were never typed in. Also the substitutes and penalties with what they count.
#include <vector>

#include "audit/finding.h"
#include "core/tournament.h"

namespace quelna {

// Pairs at one table of `round` who are team-mates or shared a table in an earlier round. Those at
// the bottom `overlapTables` tables break no rule, nor any when the round has no seating without
// them (`unavoidable`).
void addMeetingFindings(const Tournament& t, int round, int overlapTables, bool unavoidable,
                        std::vector<Finding>& out);

// Tables of `round` whose points do not sum to zero, and tables with no points at all. The latest
// seated round may wait for its results: with none typed it shows nothing, with some typed its
// empty tables are noted without breaking a rule.
void addTableFindings(const Tournament& t, int round, std::vector<Finding>& out);

// Every substitute and penalty of the seated rounds with what it counts.
void addAdjustmentFindings(const Tournament& t, std::vector<Finding>& out);

} // namespace quelna
