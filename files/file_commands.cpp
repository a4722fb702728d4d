#include "files/file_commands.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "core/tournament.h"
#include "files/csv_encoding.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"
#include "files/zero_sum_check.h"
#include "gui/core_path.h"

namespace quelna {

namespace {

FileDialogHook& dialogHook() {
    static FileDialogHook hook;
    return hook;
}

// Where a file dialog starts: the folder tournament files were last used in, while it exists;
// before the first one, the platform's default.
QString startFolder() {
    const std::string& folder = settings().tournamentFolder;
    if (folder.empty())
        return QString();
    const QString path = qtPath(folder);
    return QFileInfo(path).isDir() ? path : QString();
}

QString askFileName(QWidget* owner, bool save,
                    const QString& initialName = QStringLiteral(u"quelna.csv")) {
    if (dialogHook())
        return dialogHook()(save);
    // No title; the start folder is the last one used, else the platform's default.
    QFileDialog dialog(owner);
    dialog.setNameFilter(csvFileFilter());
    dialog.setDefaultSuffix(QStringLiteral(u"CSV"));
    const QString folder = startFolder();
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
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

// A tournament file chosen: its folder is where the next dialog starts, also after a crash.
QString remembered(const QString& fileName) {
    if (fileName.isEmpty())
        return fileName;
    const std::string folder = corePath(QFileInfo(fileName).absolutePath());
    Settings& s = settings();
    if (folder != s.tournamentFolder) {
        s.tournamentFolder = folder;
        (void)saveSettings(s);
    }
    return fileName;
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

// Shown one per line; a file with more gets a count of the rest, so the box still fits the screen.
constexpr int kChangesShown = 10;

QString fieldFault(ValueChange::Why why) {
    using Why = ValueChange::Why;
    switch (why) {
    case Why::NotWhole:
        return QStringLiteral(u"не целое число");
    case Why::OutOfRange:
        return QStringLiteral(u"число вне допустимых пределов");
    case Why::Dash:
        return QStringLiteral(u"перед числом тире, а не знак минус");
    case Why::BlankAfterSign:
        return QStringLiteral(u"пробел между знаком и цифрами");
    case Why::Empty:
        return QStringLiteral(u"пусто");
    }
    return QString();
}

// Numbers the reader took as other values, one line each.
QStringList valueChangeLines(std::string_view bytes, const Tournament& raw) {
    const std::vector<ValueChange> changes =
        findValueChanges(bytes, raw.playerCount, raw.roundCount);
    if (changes.empty())
        return {};
    QStringList lines{QStringLiteral(u"Эти значения прочитаны не так, как записаны в файле:")};
    for (std::size_t i = 0; i < changes.size() && i < kChangesShown; ++i) {
        const ValueChange& c = changes[i];
        lines << QStringLiteral(u"строка %1, %2: «%3» — %4")
                     .arg(c.line)
                     .arg(QString::fromStdString(c.column), QString::fromStdString(c.text),
                          fieldFault(c.why));
    }
    if (changes.size() > kChangesShown)
        lines << QStringLiteral(u"…и ещё %1.").arg(changes.size() - kChangesShown);
    return lines;
}

QString extrasReason(ExtrasProblem::Why why) {
    using Why = ExtrasProblem::Why;
    switch (why) {
    case Why::UnknownKind:
        return QStringLiteral(u"не замена (ЗАМЕНА), не штраф (ШТРАФ) и не выбывший (ВЫБЫЛ)");
    case Why::Fields:
        return QStringLiteral(u"не то число полей");
    case Why::NotNumber:
        return QStringLiteral(u"тур, строка игрока или очки — не целое число");
    case Why::OutOfRange:
        return QStringLiteral(u"тур, строка игрока или очки — число вне допустимых пределов");
    case Why::ResultOutOfRange:
        return QStringLiteral(u"с этим штрафом результат тура — число вне допустимых пределов");
    case Why::NoSuchRound:
        return QStringLiteral(u"в турнире нет такого тура");
    case Why::NoSuchRow:
        return QStringLiteral(u"нет строки игрока с таким номером");
    case Why::Repeated:
        return QStringLiteral(u"повторяет запись выше");
    case Why::RoundNotSeated:
        return QStringLiteral(u"тур не рассажен");
    case Why::CountedDiffers:
        break;
    }
    return QString();
}

// Lines of the substitutes and penalties the load left out or took otherwise than the file says,
// one line each in the file's order.
QStringList extrasLines(std::string_view bytes, const Tournament& raw) {
    const ExtrasProblems problems = findExtrasProblems(bytes, raw, kChangesShown);
    if (problems.count == 0)
        return {};
    QStringList lines{
        QStringLiteral(u"Эти строки замен и штрафов загружены не так, как записаны в файле:")};
    for (const ExtrasProblem& p : problems.first) {
        if (p.why == ExtrasProblem::Why::CountedDiffers)
            lines << QStringLiteral(u"строка %1: по замене в туре %2 засчитано %3, а в графе "
                                    u"ИО%2 строки %4 записано %5")
                         .arg(p.line)
                         .arg(p.round + 1)
                         .arg(p.counted)
                         .arg(p.playerLine)
                         .arg(p.fileValue);
        else
            lines << QStringLiteral(u"строка %1: «%2» не загружена — %3")
                         .arg(p.line)
                         .arg(QString::fromStdString(p.text), extrasReason(p.why));
    }
    if (problems.count > kChangesShown)
        lines << QStringLiteral(u"…и ещё %1.").arg(problems.count - kChangesShown);
    return lines;
}

// What the load did not take from the file, in words for the organiser; empty when it took all.
QString lossWarning(std::string_view bytes, const Tournament& raw,
                    const std::vector<int>& lossyLines) {
    QStringList lines;
    const CsvShape shape = measureTournamentCsv(bytes);
    if (shape.players != raw.playerCount || shape.rounds != raw.roundCount) {
        const int players = std::min(shape.players, raw.playerCount);
        const int rounds = std::min(shape.rounds, raw.roundCount);
        lines << QStringLiteral(u"Файл рассчитан на %1; загружены %2 и %3.")
                     .arg(tournamentSizeText(shape.players, shape.rounds),
                          counted(players, u"игрок", u"игрока", u"игроков"),
                          counted(rounds, u"тур", u"тура", u"туров"));
    }
    if (const auto section = findSectionProblem(bytes))
        lines << (section->why == SectionProblem::Why::Utf8
                      ? QStringLiteral(u"строка %1: замены и штрафы записаны в кодировке UTF-8, "
                                       u"а не Windows-1251, и не загружены.")
                      : QStringLiteral(u"строка %1: строки замен и штрафов разделены одним "
                                       u"символом CR, и они не загружены."))
                     .arg(section->line);
    if (const auto dropped = findDroppedRounds(raw, false)) {
        QString where = QStringLiteral(u"строка %1").arg(dropped->incompleteLine);
        if (const auto unread = findUnreadField(bytes, dropped->incompleteLine, dropped->round))
            where += QStringLiteral(u", %1: «%2» — %3")
                         .arg(QString::fromStdString(unread->column),
                              QString::fromStdString(unread->text), fieldFault(unread->why));
        lines << QStringLiteral(u"Туры с %1-го не загружены: в туре %1 не все столы заполнены "
                                u"(%2).")
                     .arg(dropped->round + 1)
                     .arg(where);
    }
    lines << valueChangeLines(bytes, raw);
    lines << extrasLines(bytes, raw);
    for (int line : lossyLines)
        lines << QStringLiteral(u"строка %1: знаки, которых нет в кодировке Windows-1251, "
                                u"заменены на «?».")
                     .arg(line);
    const std::string unbalanced = unbalancedTablesWarning(findUnbalancedTables(raw));
    if (!unbalanced.empty())
        lines << QString::fromStdString(unbalanced);
    return lines.join(QLatin1Char('\n'));
}

// A file in UTF-8 would show its names garbled; the organiser decides, since a rare CP1251 name
// can look like UTF-8 too.
bool askReadAsUtf8(QWidget* owner) {
    return QMessageBox::question(
               owner, QStringLiteral(u"Кодировка файла"),
               QStringLiteral(u"Имена в файле похожи на текст в кодировке UTF-8, а не "
                              u"Windows-1251. Прочитать файл как UTF-8?"),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

} // namespace

QString tournamentSizeText(int players, int rounds) {
    return counted(players, u"игрока", u"игрока", u"игроков") + QStringLiteral(u" и ") +
           counted(rounds, u"тур", u"тура", u"туров");
}

QString csvFileFilter() {
    return QStringLiteral(u"CSV-файл (*.CSV *.csv)");
}

void setFileDialogHook(FileDialogHook hook) {
    dialogHook() = std::move(hook);
}

QString askOpenFileName(QWidget* owner) {
    return remembered(askFileName(owner, false));
}

QString tournamentFolder() {
    return startFolder();
}

bool loadCommand(QWidget* owner, Tournament& t) {
    const QString fileName = askOpenFileName(owner);
    return !fileName.isEmpty() && loadFromFile(owner, t, fileName);
}

bool loadFromFile(QWidget* owner, Tournament& t, const QString& fileName) {
    // A file that is not a tournament file would replace the whole tournament with nothing.
    std::string bytes;
    if (!readTournamentFileBytes(corePath(fileName), bytes)) {
        showError(owner, QStringLiteral(u"Ошибка при чтении из файла!"));
        return false;
    }
    std::vector<int> lossyLines;
    if (isUtf8TournamentCsv(bytes) && askReadAsUtf8(owner)) {
        Utf8Conversion converted = utf8FileToCp1251(bytes);
        bytes = std::move(converted.bytes);
        lossyLines = std::move(converted.lossyLines);
    }
    if (!isTournamentCsv(bytes)) {
        showError(owner, QStringLiteral(u"Ошибка при чтении из файла!"));
        return false;
    }
    readTournamentCsv(t, std::string_view(bytes));
    const QString warning = lossWarning(bytes, t, lossyLines);
    if (!warning.isEmpty())
        QMessageBox::warning(owner, QStringLiteral(u"Предупреждение"), warning);
    return true;
}

QString askSaveFileName(QWidget* owner, const QString& initialName) {
    return askFileName(owner, true, initialName);
}

void saveCommand(QWidget* owner, const Tournament& t) {
    const QString fileName = remembered(askFileName(owner, true));
    if (fileName.isEmpty())
        return;
    if (!saveTournamentFile(t, corePath(fileName)))
        showError(owner, QStringLiteral(u"Ошибка при записи в файл!"));
}

} // namespace quelna
