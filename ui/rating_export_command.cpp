#include "ui/rating_export_command.h"

#include <QMessageBox>

#include "files/file_commands.h"
#include "files/rating_export.h"
#include "gui/core_path.h"

namespace quelna {

void exportRatingCommand(QWidget* owner, const Tournament& t) {
    const QString fileName = askSaveFileName(owner, QStringLiteral(u"rating.csv"));
    if (fileName.isEmpty())
        return;
    std::vector<RatingNameProblem> problems;
    std::string error;
    if (exportRatingFile(t, corePath(fileName), problems, error)) {
        QMessageBox::information(
            owner, QStringLiteral(u"Экспорт для рейтинга"),
            QStringLiteral(u"Результаты записаны: %1 игроков.").arg(t.playerCount));
        return;
    }
    if (problems.empty()) {
        QMessageBox::critical(
            owner, QStringLiteral(u"Ошибка"),
            QStringLiteral(u"Ошибка при записи в файл!\n%1").arg(QString::fromStdString(error)));
        return;
    }
    QString rows;
    for (const RatingNameProblem& p : problems)
        rows += QStringLiteral(u"\nместо %1: «%2»%3")
                    .arg(p.position)
                    .arg(QString::fromStdString(p.name),
                         p.why == RatingNameProblem::Why::Formula
                             ? QStringLiteral(u" — начинается с = + - или @")
                             : QString());
    QMessageBox::critical(owner, QStringLiteral(u"Ошибка"),
                          QStringLiteral(u"Рейтинг принимает только имена из двух слов (Фамилия "
                                         u"Имя), и имя не может начинаться с = + - или @: "
                                         u"электронная таблица выполнит его как формулу. Файл не "
                                         u"записан. Исправьте имена в строках турнирной "
                                         u"таблицы:%1")
                              .arg(rows));
}

} // namespace quelna
