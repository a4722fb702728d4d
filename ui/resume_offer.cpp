#include "ui/resume_offer.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "core/settings.h"
#include "files/load_check.h"
#include "files/resume_point.h"
#include "files/tournament_csv.h"
#include "gui/core_path.h"
#include "gui/qt_text.h"
#include "ui/parameters_dialog.h"

namespace quelna {

QString resumeQuestion(const QString& tournament, int round, const QDateTime& saved) {
    return QStringLiteral(u"Программа была закрыта аварийно. Продолжить турнир «%1» с тура %2 "
                          u"(сохранён %3)?")
        .arg(tournament)
        .arg(round)
        .arg(saved.toString(QStringLiteral(u"dd.MM HH:mm")));
}

bool tournamentFileSize(const QString& fileName, int& players, int& rounds) {
    std::string bytes;
    if (!readTournamentFileBytes(corePath(fileName), bytes) || !isTournamentCsv(bytes))
        return false;
    const CsvShape shape = measureTournamentCsv(bytes);
    players = shape.players;
    rounds = shape.rounds;
    return ParametersDialog::validParameters(players, rounds);
}

QString offerResume(const QString& settingsDir) {
    const std::string dir = corePath(settingsDir);
    if (!wasInterrupted(dir))
        return QString();
    const std::optional<FoundAutosave> found = newestAutosave(dir);
    int players = 0, rounds = 0;
    if (!found || !tournamentFileSize(qtPath(found->path), players, rounds))
        return QString();
    // The title the organiser gave the tournament, else the file that holds it.
    const std::string& title = settings().tournamentTitle;
    const QString name =
        title.empty() ? QFileInfo(qtPath(found->path)).fileName() : fromRecord(title);
    QMessageBox box(QMessageBox::Question, QStringLiteral(u"Предупреждение"),
                    resumeQuestion(name, std::max(found->round, 1),
                                   QDateTime::fromSecsSinceEpoch(found->saved)),
                    QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral(u"Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral(u"Нет"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? qtPath(found->path) : QString();
}

} // namespace quelna
