#pragma once
// Tables of the seated rounds whose four points do not add up to zero, as a file brought them.
#include <string>
#include <vector>

#include "core/tournament.h"

namespace quelna {

struct UnbalancedTable {
    int round = 0; // from 0
    int table = 0; // from 0
};

// Every table of every complete round whose points do not sum to zero, round by round.
std::vector<UnbalancedTable> findUnbalancedTables(const Tournament& t);

// The warning for them in words (UTF-8), rounds with the same tables on one line:
// "Туры 1 и 3: столы 4, 7 — сумма не равна нулю."; empty when there are none.
std::string unbalancedTablesWarning(const std::vector<UnbalancedTable>& tables);

} // namespace quelna
