#pragma once
// At start, after a run that did not end through the main window's close: the offer to continue
// from the newest autosave.
#include <QDateTime>
#include <QString>

class QWidget;

namespace quelna {

// "Программа была закрыта аварийно. Продолжить турнир «…» с тура 3 (сохранён 09.12 14:02)?"
QString resumeQuestion(const QString& tournament, int round, const QDateTime& saved);

// Asks when the last run in settingsDir was interrupted and an autosave is there; returns the
// file to continue from after "Да", else an empty name.
QString offerResume(const QString& settingsDir);

// N and R of a tournament file, from its header and player lines; false when it is not a
// tournament file or its size is not one the program runs.
[[nodiscard]] bool tournamentFileSize(const QString& fileName, int& players, int& rounds);

} // namespace quelna
