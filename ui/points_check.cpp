#include "ui/points_check.h"

#include <QStringList>

#include "core/text.h"
#include "gui/qt_text.h"

namespace quelna {

namespace {

// A signed whole number, blanks around it allowed; anything else in a points cell is a typing
// error the organiser must see, although it is stored as what its leading digits say.
bool isWholeNumber(const QString& text) {
    const QString s = text.trimmed();
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        ++i;
    if (i == s.size())
        return false;
    for (; i < s.size(); ++i)
        if (s[i] < QLatin1Char('0') || s[i] > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

int readPoints(const QString& text) {
    return parseLeadingInt(toRecord(text));
}

TableState tableState(const std::array<QString, 4>& cells) {
    // Four values near the int limits must not overflow their sum into a false zero.
    long long sum = 0;
    bool empty = false;
    for (const QString& text : cells) {
        if (text.isEmpty()) {
            empty = true;
            continue;
        }
        if (!isWholeNumber(text))
            return TableState::NotNumber;
        sum += readPoints(text);
    }
    return !empty && sum != 0 ? TableState::NotZero : TableState::Fine;
}

QString seatOverErrorsQuestion(int round, const std::vector<TableTrouble>& troubles) {
    QStringList tables;
    for (const TableTrouble& t : troubles)
        tables << QStringLiteral(u"стол %1 (%2)")
                      .arg(t.table + 1)
                      .arg(t.state == TableState::NotNumber
                               ? QStringLiteral(u"не число в ячейке")
                               : QStringLiteral(u"сумма не равна нулю"));
    return QStringLiteral(u"В туре %1 есть ошибки в результатах: %2. Рассадить следующий тур всё "
                          u"равно?")
        .arg(round + 1)
        .arg(tables.join(QStringLiteral(u", ")));
}

} // namespace quelna
