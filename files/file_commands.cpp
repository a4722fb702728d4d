#include "files/file_commands.h"

#include <QFileDialog>
#include <QMessageBox>

#include "core/tournament.h"
#include "files/tournament_csv.h"
#include "gui/core_path.h"

namespace quelna {

namespace {

FileDialogHook& dialogHook() {
    static FileDialogHook hook;
    return hook;
}

QString askFileName(QWidget* owner, bool save) {
    if (dialogHook())
        return dialogHook()(save);
    // No title and no start directory: the platform's defaults apply.
    QFileDialog dialog(owner);
    dialog.setNameFilter(csvFileFilter());
    dialog.setDefaultSuffix(QStringLiteral(u"CSV"));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.selectFile(QStringLiteral(u"quelna.csv"));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void showError(QWidget* owner, const QString& text) {
    QMessageBox::critical(owner, QStringLiteral(u"Ошибка"), text);
}

} // namespace

QString csvFileFilter() {
    return QStringLiteral(u"CSV-файл (*.CSV *.csv)");
}

void setFileDialogHook(FileDialogHook hook) {
    dialogHook() = std::move(hook);
}

bool loadCommand(QWidget* owner, Tournament& t) {
    const QString fileName = askFileName(owner, false);
    if (fileName.isEmpty())
        return false;
    if (!loadTournamentFile(t, corePath(fileName))) {
        showError(owner, QStringLiteral(u"Ошибка при чтении из файла!"));
        return false;
    }
    return true;
}

void saveCommand(QWidget* owner, const Tournament& t) {
    const QString fileName = askFileName(owner, true);
    if (fileName.isEmpty())
        return;
    if (!saveTournamentFile(t, corePath(fileName)))
        showError(owner, QStringLiteral(u"Ошибка при записи в файл!"));
}

} // namespace quelna
