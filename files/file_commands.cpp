#include "files/file_commands.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include <algorithm>
#include <string_view>

#include "core/tournament.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"
#include "gui/core_path.h"

namespace quelna {

namespace {

FileDialogHook& dialogHook() {
    static FileDialogHook hook;
    return hook;
}

QString askFileName(QWidget* owner, bool save,
                    const QString& initialName = QStringLiteral(u"quelna.csv")) {
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
        dialog.selectFile(initialName);
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

// The Russian word form for n: one, few (2-4) or many.
QString counted(long long n, const char16_t* one, const char16_t* few, const char16_t* many) {
    const long long tens = n % 100, units = n % 10;
    const char16_t* word = many;
    if (units == 1 && tens != 11)
        word = one;
    else if (units >= 2 && units <= 4 && (tens < 12 || tens > 14))
        word = few;
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf16(word);
}

// What the load did not take from the file, in words for the organiser; empty when it took all.
QString lossWarning(std::string_view bytes, const Tournament& raw) {
    QStringList lines;
    const CsvShape shape = measureTournamentCsv(bytes);
    if (shape.players != raw.playerCount || shape.rounds != raw.roundCount) {
        const int players = std::min(shape.players, raw.playerCount);
        const int rounds = std::min(shape.rounds, raw.roundCount);
        lines << QStringLiteral(u"Файл рассчитан на %1 и %2; загружены %3 и %4.")
                     .arg(counted(shape.players, u"игрока", u"игрока", u"игроков"),
                          counted(shape.rounds, u"тур", u"тура", u"туров"),
                          counted(players, u"игрок", u"игрока", u"игроков"),
                          counted(rounds, u"тур", u"тура", u"туров"));
    }
    if (const auto dropped = findDroppedRounds(raw, false))
        lines << QStringLiteral(u"Туры с %1-го не загружены: в туре %1 не все столы заполнены "
                                u"(строка %2).")
                     .arg(dropped->round + 1)
                     .arg(dropped->incompleteLine);
    return lines.join(QLatin1Char('\n'));
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
    // A file that is not a tournament file would replace the whole tournament with nothing.
    std::string bytes;
    if (!readTournamentFileBytes(corePath(fileName), bytes) || !isTournamentCsv(bytes)) {
        showError(owner, QStringLiteral(u"Ошибка при чтении из файла!"));
        return false;
    }
    readTournamentCsv(t, std::string_view(bytes));
    const QString warning = lossWarning(bytes, t);
    if (!warning.isEmpty())
        QMessageBox::warning(owner, QStringLiteral(u"Предупреждение"), warning);
    return true;
}

QString askSaveFileName(QWidget* owner, const QString& initialName) {
    return askFileName(owner, true, initialName);
}

void saveCommand(QWidget* owner, const Tournament& t) {
    const QString fileName = askFileName(owner, true);
    if (fileName.isEmpty())
        return;
    if (!saveTournamentFile(t, corePath(fileName)))
        showError(owner, QStringLiteral(u"Ошибка при записи в файл!"));
}

} // namespace quelna
