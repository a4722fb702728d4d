// The test-mode buttons: random names, random teams of four and random results of a round.
#include <QPushButton>

#include "ui/main_window.h"

namespace quelna {

void MainWindow::randomNames() {
    doc_->generateNames();
    namesButton_->setEnabled(false);
}

void MainWindow::randomTeams() {
    doc_->generateTeams();
}

void MainWindow::randomResults(int r) {
    // The cells change one by one, so the rules for typed points apply as for typing.
    doc_->generateResults(r);
    if (r <= rounds_ - 2)
        pointsRule();
}

} // namespace quelna
