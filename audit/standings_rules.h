#pragma once
// The running totals and shared places as the program computes them, and where a file's own
// МЕСТО and ИО_ИТОГ fields say otherwise.
#include <vector>

#include "audit/finding.h"
#include "core/tournament.h"
#include "files/written_standings.h"

namespace quelna {

// One Standing line per player in standings order; with `written` (the file's fields, one per
// slot), a TotalDiffers or PlaceDiffers finding for every player whose field is not the
// program's.
void addStandingFindings(const Tournament& t, const WrittenStandings* written,
                         std::vector<Finding>& out);

} // namespace quelna
