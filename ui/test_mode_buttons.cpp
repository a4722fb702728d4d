// The test-mode buttons: random names, random teams of four and random results of a round.
#include <QPushButton>

#include "core/random.h"
#include "core/test_data.h"
#include "ui/main_window.h"

namespace quelna {

void MainWindow::randomNames() {
    generateRandomNames(t_, runRandom());
    namesButton_->setEnabled(false);
    refreshFromTournament();
}

void MainWindow::randomTeams() {
    generateRandomTeams(t_, runRandom());
    refreshFromTournament();
}

void MainWindow::randomResults(int r) {
    if (r < 0 || r >= t_.currentRound)
        return;
    generateRandomResults(t_, r, runRandom());
    // The cells change one by one, so the rules for typed points apply as for typing.
    for (int q = 0; q < n_; ++q) {
        const int player = t_.playerAt(r, q / 4, q % 4);
        if (player >= 0)
            pointsCells_[r * n_ + q]->setText(QString::number(t_.pointsAt(r, player)));
    }
    if (r <= rounds_ - 2)
        pointsRule();
    // Every table now sums to zero; a red mark left from typing would be wrong.
    if (r == t_.currentRound - 1) {
        for (int tb = 0; tb < n_ / 4; ++tb) {
            tableError_[tb] = computeTableError(r, tb);
            applyTableTone(r, tb);
        }
    }
}

} // namespace quelna
