#include "ui/adjustment_commands.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

#include "core/settings.h"
#include "gui/qt_text.h"
#include "ui/final_scores_dialog.h"
#include "ui/grid_cells.h"
#include "ui/main_window.h"
#include "ui/penalty_dialog.h"
#include "ui/substitute_dialog.h"

namespace quelna {

AdjustmentCommands::AdjustmentCommands(MainWindow& window, const Tournament& t, QMenu* service)
    : QObject(&window), window_(window), t_(t) {
    // Above the last group ("О программе..."), which stays at the bottom.
    QAction* before = nullptr;
    for (QAction* a : service->actions())
        if (a->isSeparator())
            before = a;
    auto item = [service, before](const QString& text) {
        auto* a = new QAction(text, service);
        service->insertAction(before, a);
        return a;
    };
    service->insertSeparator(before);
    substitute_ = item(QStringLiteral(u"&Замена игрока..."));
    penalty_ = item(QStringLiteral(u"&Штраф..."));
    finalScores_ = item(QStringLiteral(u"&Ввод очков стола..."));
    finalScores_->setShortcut(QKeySequence(Qt::Key_F4));
    window.addAction(finalScores_);
    auto atLastCell = [this](auto command) {
        return [this, command] {
            if (!lastCell_) {
                QMessageBox::information(&window_, QStringLiteral(u"Информация"),
                                         QStringLiteral(u"Сначала выберите место игрока в "
                                                        u"таблице тура."));
                return;
            }
            (this->*command)(lastCell_->round(), lastCell_->position());
        };
    };
    connect(substitute_, &QAction::triggered, this, atLastCell(&AdjustmentCommands::substitute));
    connect(penalty_, &QAction::triggered, this, atLastCell(&AdjustmentCommands::penalty));
    connect(finalScores_, &QAction::triggered, this, [this] {
        if (lastCell_)
            finalScores(lastCell_->round(), lastCell_->position() / 4);
        else if (t_.currentRound > 0)
            finalScores(t_.currentRound - 1, 0);
    });
    // Past rounds' seat cells are disabled, so their context menu reaches the grid instead.
    window.gridArea()->installEventFilter(this);
    for (int r = 0; r < t.roundCount; ++r)
        for (int q = 0; q < t.playerCount; ++q) {
            window.seatCell(r, q)->installEventFilter(this);
            window.pointsCell(r, q)->installEventFilter(this);
        }
}

bool AdjustmentCommands::eventFilter(QObject* watched, QEvent* e) {
    // The cell the menu items and the key act on: the last one clicked or entered.
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::FocusIn) {
        if (auto* cell = dynamic_cast<GridCell*>(watched))
            lastCell_ = cell;
        return false;
    }
    if (e->type() != QEvent::ContextMenu)
        return false;
    auto* event = static_cast<QContextMenuEvent*>(e);
    auto* cell = dynamic_cast<GridCell*>(watched);
    if (!cell && watched == window_.gridArea())
        cell = dynamic_cast<GridCell*>(window_.gridArea()->childAt(event->pos()));
    if (!cell || cell->kind() != GridCell::Kind::Seat || cell->round() >= t_.currentRound)
        return false;
    showMenu(*cell, event->globalPos());
    return true;
}

void AdjustmentCommands::showMenu(const GridCell& cell, const QPoint& globalPos) {
    const int r = cell.round();
    const int q = cell.position();
    const bool latest = r == t_.currentRound - 1;
    QMenu menu(&window_);
    if (latest)
        connect(menu.addAction(QStringLiteral(u"Замена игрока...")), &QAction::triggered, this,
                [this, r, q] { substitute(r, q); });
    connect(menu.addAction(QStringLiteral(u"Штраф...")), &QAction::triggered, this,
            [this, r, q] { penalty(r, q); });
    if (latest)
        connect(menu.addAction(QStringLiteral(u"Ввод очков стола...")), &QAction::triggered, this,
                [this, r, q] { finalScores(r, q / 4); });
    menu.exec(globalPos);
}

int AdjustmentCommands::playerAtCell(int round, int position, bool latestOnly) {
    const int p = t_.playerAt(round, position / 4, position % 4);
    if (p >= 0 && round < t_.currentRound && (!latestOnly || round == t_.currentRound - 1))
        return p;
    QMessageBox::information(&window_, QStringLiteral(u"Информация"),
                             latestOnly ? QStringLiteral(u"Это можно сделать только в последнем "
                                                         u"рассаженном туре.")
                                        : QStringLiteral(u"Это место не занято."));
    return -1;
}

void AdjustmentCommands::keepTypedPoints() {
    window_.commitFocusedCell();
}

void AdjustmentCommands::substitute(int round, int position) {
    const int p = playerAtCell(round, position, true);
    if (p < 0)
        return;
    keepTypedPoints();
    const Substitute* current = t_.adjustments.substitute(round, p);
    const int fixed = current ? current->countedResult : settings().substituteResult;
    SubstituteDialog dialog(fromRecord(t_.names[p]), round, fixed, current != nullptr,
                            current ? fromRecord(current->name) : QString(),
                            t_.adjustments.leftFrom(p) >= 0, &window_);
    const int outcome = dialog.exec();
    if (outcome == SubstituteDialog::Recorded)
        window_.document()->setSubstitute(
            round, p, Substitute{sanitizeName(toRecord(dialog.substituteName())), fixed},
            dialog.leftForGood());
    else if (outcome == SubstituteDialog::Cleared)
        window_.document()->clearSubstitute(round, p);
}

void AdjustmentCommands::penalty(int round, int position) {
    const int p = playerAtCell(round, position, false);
    if (p < 0)
        return;
    keepTypedPoints();
    PenaltyDialog dialog(fromRecord(t_.names[p]), round, t_.adjustments.penalties(round, p),
                         &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    window_.document()->setPenalties(round, p, dialog.penalties());
}

void AdjustmentCommands::finalScores(int round, int table) {
    if (playerAtCell(round, 4 * table, true) < 0)
        return;
    keepTypedPoints();
    QStringList names;
    for (int s = 0; s < 4; ++s) {
        const int p = t_.playerAt(round, table, s);
        QString name = fromRecord(t_.names[p]);
        if (const Substitute* sub = t_.adjustments.substitute(round, p))
            name += QLatin1Char(' ') + QString::fromStdString(substituteNote(*sub));
        names << name;
    }
    FinalScoresDialog dialog(names, settings().scoring, &window_);
    if (dialog.exec() != QDialog::Accepted || !dialog.results())
        return;
    const auto& results = *dialog.results();
    window_.document()->enterTableResults(round, table,
                                          std::vector<int>(results.begin(), results.end()));
}

} // namespace quelna
