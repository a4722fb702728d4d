#pragma once
// The "Файл" menu's load and save commands: the file dialogs, and a message when the file
// cannot be read or written.
#include <QString>
#include <functional>

class QWidget;

namespace quelna {

struct Tournament;

// Shows the open dialog and reads the chosen file into the record. Returns true when the record
// was replaced. A file that cannot be opened, or whose first line is not a tournament file's
// header, gives an error message; the record stays as it was. A file whose names look like UTF-8
// is offered to be read as UTF-8. When the load leaves out or changes part of the file (another
// size, rounds after one that is not complete, numbers that are not whole), a warning says what.
[[nodiscard]] bool loadCommand(QWidget* owner, Tournament& t);
// The same load without the dialog, for a file already chosen.
[[nodiscard]] bool loadFromFile(QWidget* owner, Tournament& t, const QString& fileName);
// The open dialog alone; empty when cancelled.
QString askOpenFileName(QWidget* owner);
// The folder the tournament files' dialogs start in (the last one a tournament file was opened
// from or saved to, kept in the settings file); empty before the first, or when it is gone.
QString tournamentFolder();

// Both dialogs start in tournamentFolder() and make the chosen file's folder the next one.
// Shows the save dialog (initial name quelna.csv) and writes the record. An existing file is
// replaced without a question; when the write fails the user is told and the old file stays.
void saveCommand(QWidget* owner, const Tournament& t);

// Supplies the file name instead of showing a dialog (an empty name means cancelled); the
// argument tells whether a file is to be saved. An empty function restores the dialogs.
using FileDialogHook = std::function<QString(bool save)>;
void setFileDialogHook(FileDialogHook hook);

// The save dialog (or the hook) with another initial name; empty when cancelled.
QString askSaveFileName(QWidget* owner, const QString& initialName);

// A tournament's size as "рассчитан на" goes on: "16 игроков и 4 тура".
QString tournamentSizeText(int players, int rounds);

// The dialogs' filter, shared by both commands.
QString csvFileFilter();

} // namespace quelna
