#include "ui/rating_export_command.h"

#include <QMessageBox>
#include <QPushButton>

#include "files/file_commands.h"
#include "files/rating_export.h"
#include "files/rating_rules.h"
#include "gui/core_path.h"

namespace quelna {

namespace {

// Names what the portal will refuse; the organiser may still write the file (to mend it there, or
// to keep it). True when the file is to be written.
bool acceptRuleProblems(QWidget* owner, const std::vector<std::string>& problems) {
    if (problems.empty())
        return true;
    QString lines;
    for (const std::string& p : problems)
        lines += QStringLiteral("\n") + QString::fromStdString(p);
    QMessageBox box(QMessageBox::Warning, QStringLiteral(u"Экспорт для рейтинга"),
                    QStringLiteral(u"Рейтинговый портал не примет этот турнир:%1").arg(lines),
                    QMessageBox::NoButton, owner);
    QPushButton* write =
        box.addButton(QStringLiteral(u"Записать всё равно"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral(u"Отмена"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == write;
}

} // namespace

void exportRatingCommand(QWidget* owner, const Tournament& t) {
    if (!acceptRuleProblems(owner, ratingRuleProblems(t)))
        return;
    const QString fileName = askSaveFileName(owner, QStringLiteral(u"rating.csv"));
    if (fileName.isEmpty())
        return;
    std::vector<RatingNameProblem> names;
    std::string error;
    if (exportRatingFile(t, corePath(fileName), names, error, true)) {
        QMessageBox::information(
            owner, QStringLiteral(u"Экспорт для рейтинга"),
            QStringLiteral(u"Результаты записаны: %1 игроков.").arg(t.playerCount));
        return;
    }
    QString rows;
    for (const RatingNameProblem& p : names)
        if (p.why == RatingNameProblem::Why::Formula)
            rows += QStringLiteral(u"\nместо %1: «%2»")
                        .arg(p.position)
                        .arg(QString::fromStdString(p.name));
    if (rows.isEmpty()) {
        QMessageBox::critical(
            owner, QStringLiteral(u"Ошибка"),
            QStringLiteral(u"Ошибка при записи в файл!\n%1").arg(QString::fromStdString(error)));
        return;
    }
    QMessageBox::critical(owner, QStringLiteral(u"Ошибка"),
                          QStringLiteral(u"Имя не может начинаться с = + - или @: электронная "
                                         u"таблица выполнит его как формулу. Файл не записан. "
                                         u"Исправьте имена в строках турнирной таблицы:%1")
                              .arg(rows));
}

} // namespace quelna
