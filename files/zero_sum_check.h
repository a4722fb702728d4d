#pragma once
// Tables of the seated rounds whose points are wrong or not typed yet, as a file brought them.
#include <string>
#include <vector>

#include "core/table_state.h"
#include "core/tournament.h"

namespace quelna {

struct UnbalancedTable {
    int round = 0; // from 0
    int table = 0; // from 0
    TableState state = TableState::NotZero;
};

// Every table of every complete round whose points do not sum to zero, hold text that is not a
// number, or are not typed yet, round by round. A latest round not typed at all is not named: it
// has just been seated.
std::vector<UnbalancedTable> findUnbalancedTables(const Tournament& t);

// The warning for them in words (UTF-8), rounds with the same tables on one line:
// "Туры 1 и 3: столы 4, 7 — сумма не равна нулю.", "Тур 2: стол 5 — не число в ячейке.",
// "Тур 3: стол 7 — результаты не введены."; empty when there are none.
std::string unbalancedTablesWarning(const std::vector<UnbalancedTable>& tables);

} // namespace quelna
