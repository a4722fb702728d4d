#include "ui/seating_failure.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "core/tournament.h"
#include "gui/qt_text.h"
#include "seating/fewest_repeats.h"

namespace quelna {

namespace {

QString playerText(const Tournament& t, int p) {
    return QString::number(t.playerNumber[p] + 1) + QStringLiteral(u" ") + fromRecord(t.names[p]);
}

} // namespace

void showRepeatPairs(QWidget* parent, const Tournament& t, const std::vector<RepeatPair>& pairs) {
    QStringList lines;
    lines << QStringLiteral(u"Повторных встреч: %1").arg(pairs.size());
    for (const RepeatPair& pair : pairs)
        lines << playerText(t, pair.a) + QStringLiteral(u" — ") + playerText(t, pair.b) +
                     (pair.teamMates ? QStringLiteral(u" (одна команда)") : QString());
    QMessageBox::information(parent, QStringLiteral(u"Рассадка с повторными встречами"),
                             lines.join(QLatin1Char('\n')));
}

bool offerSeatingWithRepeats(QWidget* parent, bool noSeatingExists) {
    const QString failure =
        QStringLiteral(u"Не удалось рассадить игроков!\nУвеличьте число столов с возможными "
                       u"пересечениями\nили уменьшите число столов с фиксированной "
                       u"рассадкой.");
    if (!noSeatingExists) {
        QMessageBox::critical(parent, QStringLiteral(u"Ошибка"), failure);
        return false;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral(u"Ошибка"), failure,
                    QMessageBox::NoButton, parent);
    box.setInformativeText(QStringLiteral(u"Рассадки без повторных встреч нет. Рассадить с "
                                          u"наименьшим числом повторных встреч?"));
    QPushButton* seat =
        box.addButton(QStringLiteral(u"Рассадить с повторами"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral(u"Закрыть"), QMessageBox::RejectRole);
    box.setDefaultButton(seat);
    box.exec();
    return box.clickedButton() == seat;
}

} // namespace quelna
