#include "ui/points_check.h"

#include <QStringList>

namespace quelna {

std::vector<TableTrouble> tableTroubles(const Tournament& t, int round) {
    std::vector<TableTrouble> troubles;
    if (round < 0 || round >= t.currentRound)
        return troubles;
    for (int tb = 0; tb < t.tableCount(); ++tb) {
        const TableState state = tableStateAt(t, round, tb);
        if (state != TableState::Fine)
            troubles.push_back({tb, state});
    }
    return troubles;
}

QString troublesQuestion(int round, const std::vector<TableTrouble>& troubles,
                         const QString& closing) {
    QStringList red;
    QStringList untyped;
    for (const TableTrouble& t : troubles) {
        if (t.state == TableState::Untyped)
            untyped << QStringLiteral(u"стол %1: результаты не введены").arg(t.table + 1);
        else if (isRedState(t.state))
            red << QStringLiteral(u"стол %1 (%2)")
                       .arg(t.table + 1)
                       .arg(t.state == TableState::NotNumber
                                ? QStringLiteral(u"не число в ячейке")
                                : QStringLiteral(u"сумма не равна нулю"));
    }
    QString text;
    if (!red.isEmpty())
        text = QStringLiteral(u"В туре %1 есть ошибки в результатах: %2.")
                   .arg(round + 1)
                   .arg(red.join(QStringLiteral(u", ")));
    if (!untyped.isEmpty()) {
        if (text.isEmpty())
            text = QStringLiteral(u"В туре %1 введены не все результаты.").arg(round + 1);
        text += QLatin1Char('\n') + untyped.join(QLatin1Char('\n')) + QLatin1Char('\n');
    } else {
        text += QLatin1Char(' ');
    }
    return text + closing;
}

} // namespace quelna
