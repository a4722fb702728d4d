#pragma once
// What the points cells of a table say: the one rule for red tables, and the question asked
// before seating over them.
#include <QString>
#include <array>
#include <vector>

namespace quelna {

enum class TableState {
    Fine,     // a whole number in every cell summing to zero, or a cell still empty
    NotZero,  // four whole numbers that do not sum to zero
    NotNumber // a cell that is not a whole number
};

// A cell's value as it is stored: its leading number, 0 when there is none.
int readPoints(const QString& text);

TableState tableState(const std::array<QString, 4>& cells);

struct TableTrouble {
    int table = 0; // from 0
    TableState state = TableState::Fine;
};

// "В туре 3 есть ошибки в результатах: стол 2 (сумма не равна нулю), стол 5 (не число в
// ячейке). Рассадить следующий тур всё равно?"; round counts from 0.
QString seatOverErrorsQuestion(int round, const std::vector<TableTrouble>& troubles);

} // namespace quelna
