#pragma once
// The question asked before going on over a round whose results are wrong or not all typed:
// before the next seating, and when a correction of a past round is finished.
#include <QString>
#include <vector>

#include "core/table_state.h"

namespace quelna {

struct TableTrouble {
    int table = 0; // from 0
    TableState state = TableState::Fine;
};

// The round's tables that are red or not typed yet, in table order.
std::vector<TableTrouble> tableTroubles(const Tournament& t, int round);

// "В туре 3 есть ошибки в результатах: стол 2 (сумма не равна нулю), стол 5 (не число в
// ячейке). " then a line "стол 7: результаты не введены" for every table not typed yet, then
// the closing question; round counts from 0.
QString troublesQuestion(int round, const std::vector<TableTrouble>& troubles,
                         const QString& closing);

} // namespace quelna
