#pragma once
// The window's commands for what the points cells alone cannot say: "Замена игрока...",
// "Штраф..." (seat cells: context menu and "Сервис") and "Ввод очков стола..." (a table of the
// latest round: context menu, "Сервис" and F4). A seat cell is taken from the context menu's
// position or, for the menu items and the key, from the grid cell that had the focus last.
#include <QObject>
#include <QPointer>

#include "core/tournament.h"

class QAction;
class QMenu;

namespace quelna {

class GridCell;
class MainWindow;

class AdjustmentCommands : public QObject {
    Q_OBJECT
  public:
    AdjustmentCommands(MainWindow& window, const Tournament& t, QMenu* service);

    QAction* substituteAction() const { return substitute_; }
    QAction* penaltyAction() const { return penalty_; }
    QAction* finalScoresAction() const { return finalScores_; }

    void substitute(int round, int position);
    void penalty(int round, int position);
    void finalScores(int round, int table);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void showMenu(const GridCell& cell, const QPoint& globalPos);
    // The player at the cell's seat, or -1; tells the organiser why not when there is none.
    int playerAtCell(int round, int position, bool latestOnly);
    void keepTypedPoints();

    MainWindow& window_;
    const Tournament& t_;
    QAction* substitute_ = nullptr;
    QAction* penalty_ = nullptr;
    QAction* finalScores_ = nullptr;
    QPointer<GridCell> lastCell_;
};

} // namespace quelna
