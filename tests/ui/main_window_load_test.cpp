// The load command through the window's menu, on real files: a file that is not a tournament
// file is refused and the tournament stays; a load that leaves something out says what.
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/test_data.h"
#include "core/text.h"
#include "files/file_commands.h"
#include "files/tournament_csv.h"
#include "tests/ui/main_window_support.h"
#include "tests/ui/ui_test_support.h"

namespace quelna {
namespace {

using mwtest::chooseMenu;
using mwtest::Harness;
using uitest::MessageBoxCatcher;

constexpr int kLoad = 40001;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + "\n");
    return lines;
}

// Replaces field `field` (0-based) of line `line` (1-based).
void setField(std::vector<std::string>& lines, int line, int field, const std::string& text) {
    std::string& l = lines[line - 1];
    std::size_t at = 0;
    for (int i = 0; i < field; ++i)
        at = l.find(';', at) + 1;
    l.replace(at, l.find(';', at) - at, text);
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l;
    return text;
}

// What the plain load gives for the file, shown as the window shows it.
std::string plainLoad(const QString& path, int players, int rounds) {
    Tournament t(players, rounds);
    EXPECT_TRUE(loadTournamentFile(t, QFile::encodeName(path).toStdString()));
    t.normalizeRounds();
    return tournamentCsvText(t);
}

void loadThroughMenu(Harness& h, const QString& path) {
    setFileDialogHook([&](bool) { return path; });
    chooseMenu(*h.w, kLoad);
    setFileDialogHook({});
}

// Answers every box that opens while it lives with `answer` (or its first button when it has
// none such), noting what it said.
class QuestionAnswerer {
  public:
    explicit QuestionAnswerer(QMessageBox::StandardButton answer) {
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            asked.push_back(box->windowTitle() + QLatin1Char('|') + box->text());
            icons.push_back(box->icon());
            QAbstractButton* button = box->button(answer);
            QTest::mouseClick(button ? button : box->buttons().constFirst(), Qt::LeftButton);
        });
        timer_.start(10);
    }
    std::vector<QString> asked;
    std::vector<QMessageBox::Icon> icons;

  private:
    QTimer timer_;
};

} // namespace

TEST(MainWindowLoad, ForeignFilesAreRefusedAndLossyLoadsSayWhatWasLeftOut) {
    Harness h(16, 4);
    auto file = [&](const char* name, const std::string& bytes) {
        const QString path = h.dir.filePath(QString::fromUtf8(name));
        uitest::writeFile(path, QByteArray::fromStdString(bytes));
        return path;
    };

    // Three rounds played, the fourth open: a good file loads without a word.
    Tournament played(16, 4);
    mwtest::playRounds(played, 3, 7);
    const std::string good = tournamentCsvText(played);
    {
        MessageBoxCatcher boxes;
        loadThroughMenu(h, file("good.csv", good));
        EXPECT_TRUE(boxes.seen.empty());
    }
    ASSERT_EQ(h.t->currentRound, 3);
    const std::string shown = tournamentCsvText(*h.t);

    std::mt19937 random(11);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    for (const auto& [name, bytes] :
         std::vector<std::pair<const char*, std::string>>{{"noise.csv", noise},
                                                          {"other.csv", "name;score\r\nA;1\r\n"},
                                                          {"empty.csv", ""},
                                                          {"header-later.csv", "\r\n" + good}}) {
        SCOPED_TRACE(name);
        MessageBoxCatcher boxes;
        loadThroughMenu(h, file(name, bytes));
        ASSERT_EQ(boxes.seen.size(), 1u);
        uitest::expectError(boxes.seen[0], QStringLiteral(u"Ошибка при чтении из файла!"));
        EXPECT_EQ(tournamentCsvText(*h.t), shown);
        EXPECT_EQ(h.w->shownRound(), 3);
    }

    // One bad table number in round 3 on line 5: rounds from the third are not taken.
    std::vector<std::string> lines = splitLines(good);
    {
        std::string& line = lines[4];
        std::size_t at = 0;
        for (int semicolons = 0; semicolons < 8; ++at)
            semicolons += line[at] == ';';
        line.replace(at, line.find(';', at) - at, "99");
    }
    Tournament big(200, 12);
    Random names(3);
    generateRandomNames(big, names);
    numberPlayersInOrder(big);
    std::vector<std::string> shortLines = splitLines(good);
    shortLines.resize(13);
    std::vector<std::string> dashLines = splitLines(good); // as a word processor types a minus
    setField(dashLines, 5, 9, utf8ToCp1251("–5000"));

    struct Lossy {
        const char* name;
        std::string bytes;
        int currentRound;
        const char16_t* warning;
        const char16_t* fileSize = nullptr; // of a file whose size differs: asked about first
    };
    const std::vector<Lossy> lossy = {
        {"bad-table.csv", joined(lines), 2,
         u"Туры с 3-го не загружены: в туре 3 не все столы заполнены (строка 5)."},
        {"big.csv", tournamentCsvText(big), 0,
         u"Файл рассчитан на 200 игроков и 12 туров; загружены 16 игроков и 4 тура.",
         u"200 игроков и 12 туров"},
        {"short.csv", joined(shortLines), 0,
         u"Файл рассчитан на 12 игроков и 4 тура; загружены 12 игроков и 4 тура.\n"
         u"Туры с 1-го не загружены: в туре 1 не все столы заполнены (строка 14).",
         u"12 игроков и 4 тура"},
        {"dash.csv", joined(dashLines), 2,
         u"Туры с 3-го не загружены: в туре 3 не все столы заполнены (строка 5, ИО3: «–5000» — "
         u"перед числом тире, а не знак минус).\n"
         u"Эти значения прочитаны не так, как записаны в файле:\n"
         u"строка 5, ИО3: «–5000» — перед числом тире, а не знак минус"},
    };
    for (const Lossy& c : lossy) {
        SCOPED_TRACE(c.name);
        const QString path = file(c.name, c.bytes);
        // "Нет" to opening a file of another size with its size: what fits is loaded, as before.
        QuestionAnswerer no(QMessageBox::No);
        loadThroughMenu(h, path);
        std::vector<QString> expected;
        if (c.fileSize)
            expected.push_back(
                QStringLiteral(u"Предупреждение|Файл рассчитан на %1, открытый турнир — на 16 "
                               u"игроков и 4 тура.\nОткрыть турнир из файла с его размером? "
                               u"Открытый турнир закроется, как при выходе.\n«Нет» загрузит в "
                               u"открытый турнир то, что в нём помещается.")
                    .arg(QString::fromUtf16(c.fileSize)));
        expected.push_back(QStringLiteral(u"Предупреждение|") + QString::fromUtf16(c.warning));
        EXPECT_EQ(no.asked, expected);
        ASSERT_EQ(no.icons.size(), expected.size());
        EXPECT_EQ(no.icons.back(), QMessageBox::Warning);
        // The record is what the plain load gives.
        EXPECT_EQ(h.t->currentRound, c.currentRound);
        EXPECT_EQ(tournamentCsvText(*h.t), plainLoad(path, 16, 4));
    }
}

TEST(MainWindowLoad, ChangedNumbersAreNamedAndUtf8NamesAreOfferedToBeReadAsUtf8) {
    Harness h(16, 4);
    Tournament played(16, 4);
    mwtest::playRounds(played, 3, 7);
    const std::string good = tournamentCsvText(played);
    std::vector<std::string> lines = splitLines(good);
    setField(lines, 3, 5, "1e5");
    setField(lines, 7, 7, "5,5");
    const QString changed = h.dir.filePath(QStringLiteral(u"changed.csv"));
    uitest::writeFile(changed, QByteArray::fromStdString(joined(lines)));
    {
        MessageBoxCatcher boxes;
        loadThroughMenu(h, changed);
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].title, QStringLiteral(u"Предупреждение"));
        // The changed points also unbalance their tables, which the load names after them.
        EXPECT_TRUE(boxes.seen[0].text.startsWith(
            QStringLiteral(u"Эти значения прочитаны не так, как записаны в файле:\n"
                           u"строка 3, ИО1: «1e5» — не целое число\n"
                           u"строка 7, ИО2: «5,5» — не целое число\n")))
            << boxes.seen[0].text.toStdString();
        EXPECT_TRUE(boxes.seen[0].text.endsWith(QStringLiteral(u"сумма не равна нулю.")))
            << boxes.seen[0].text.toStdString();
        EXPECT_EQ(tournamentCsvText(*h.t), plainLoad(changed, 16, 4));
    }

    // The names in UTF-8 under the program's own header: read as UTF-8 they are the names saved.
    const std::size_t headerEnd = good.find('\n') + 1;
    const QString goodPath = h.dir.filePath(QStringLiteral(u"good.csv"));
    uitest::writeFile(goodPath, QByteArray::fromStdString(good));
    const QString utf8 = h.dir.filePath(QStringLiteral(u"utf8.csv"));
    uitest::writeFile(utf8, QByteArray::fromStdString(good.substr(0, headerEnd) +
                                                      cp1251ToUtf8(good.substr(headerEnd))));
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        QuestionAnswerer answerer(answer);
        loadThroughMenu(h, utf8);
        ASSERT_EQ(answerer.asked.size(), 1u);
        EXPECT_EQ(answerer.asked[0],
                  QStringLiteral(u"Кодировка файла|Имена в файле похожи на текст в кодировке "
                                 u"UTF-8, а не Windows-1251. Прочитать файл как UTF-8?"));
        EXPECT_EQ(h.t->currentRound, 3);
        EXPECT_EQ(tournamentCsvText(*h.t) == plainLoad(goodPath, 16, 4),
                  answer == QMessageBox::Yes);
    }
}

// Lines after ЗАМЕНЫ_И_ШТРАФЫ that cannot be used: the window names each and keeps the rest, and
// quelna-cli names the same lines and refuses the file.
TEST(MainWindowLoad, UnusableSubstituteAndPenaltyLinesAreNamedByTheWindowAndTheCli) {
    Harness h(16, 4);
    Tournament played(16, 4);
    mwtest::playRounds(played, 3, 7);
    played.adjustments.setSubstitute(1, 4, Substitute{utf8ToCp1251("Петров П."), -30000});
    played.adjustments.addPenalty(0, 9, Penalty{-20000, utf8ToCp1251("Чомбо")});
    const std::string good = tournamentCsvText(played);
    std::vector<std::string> lines = splitLines(good);
    // Header, 16 players, the marker on line 18, then ЗАМЕНА;2;row;... and ШТРАФ;1;row;...
    ASSERT_EQ(lines.size(), 20u);
    const std::string substitute = lines[18], penalty = lines[19];
    const int substituteRow = std::stoi(substitute.substr(substitute.find(';', 8) + 1));
    const int penaltyRow = std::stoi(penalty.substr(penalty.find(';', 7) + 1));
    // A spreadsheet's form of the penalty is still read; a hand edit of the substituted seat's
    // points is not what the substitute counts.
    lines[19] = utf8ToCp1251("\"ШТРАФ\";1;") + std::to_string(penaltyRow) +
                utf8ToCp1251(";-20000;\"Чомбо\";;;\r\n");
    setField(lines, substituteRow + 1, 7, "-15000");
    for (const char* bad :
         {"ШТРАФ;9;1;-5;далеко", "ШТРАФ;1;17;-5;x", "ШТРАФ;1;2;много;x", "ЗАМЕНА;2;3",
          "Примечание судьи", "ШТРАФ;4;1;-5;x", "ВЫБЫЛ;3;2;1", "", "\x01\x02"})
        lines.push_back(utf8ToCp1251(bad) + "\r\n");
    lines.push_back(substitute); // once more
    const QString path = h.dir.filePath(QStringLiteral(u"section.csv"));
    uitest::writeFile(path, QByteArray::fromStdString(joined(lines)));

    const QString expected =
        QStringLiteral(
            u"Эти строки замен и штрафов загружены не так, как записаны в файле:\n"
            u"строка 19: по замене в туре 2 засчитано -30000, а в графе ИО2 строки %1 записано "
            u"-15000\n"
            u"строка 21: «ШТРАФ;9;1;-5;далеко» не загружена — в турнире нет такого тура\n"
            u"строка 22: «ШТРАФ;1;17;-5;x» не загружена — нет строки игрока с таким номером\n"
            u"строка 23: «ШТРАФ;1;2;много;x» не загружена — тур, строка игрока или очки — не "
            u"целое число\n"
            u"строка 24: «ЗАМЕНА;2;3» не загружена — не то число полей\n"
            u"строка 25: «Примечание судьи» не загружена — не замена (ЗАМЕНА), не штраф (ШТРАФ) и "
            u"не выбывший (ВЫБЫЛ)\n"
            u"строка 26: «ШТРАФ;4;1;-5;x» не загружена — тур не рассажен\n"
            u"строка 27: «ВЫБЫЛ;3;2;1» не загружена — не то число полей\n"
            u"строка 29: «  » не загружена — не замена (ЗАМЕНА), не штраф (ШТРАФ) и не выбывший "
            u"(ВЫБЫЛ)\n"
            u"строка 30: «%2» не загружена — повторяет запись выше")
            .arg(substituteRow + 1)
            .arg(QString::fromStdString(cp1251ToUtf8(substitute.substr(0, substitute.size() - 2))));
    {
        MessageBoxCatcher boxes;
        loadThroughMenu(h, path);
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].title, QStringLiteral(u"Предупреждение"));
        EXPECT_EQ(boxes.seen[0].text, expected);
    }
    // What could be read is all the played tournament held.
    EXPECT_EQ(tournamentCsvText(*h.t), good);

    // quelna-cli takes nothing from the file and names the same lines in the same order.
    QProcess cli;
    const QString out = h.dir.filePath(QStringLiteral(u"out.csv"));
    cli.start(QString::fromUtf8(QUELNA_CLI),
              {QStringLiteral("seat"), path, QStringLiteral("--out"), out});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 2);
    EXPECT_FALSE(QFile::exists(out));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    // The file lines the messages name, one to a line of the message, in order.
    const auto numbers = [](const QString& text, const QString& word) {
        QStringList found;
        const QRegularExpression at(QStringLiteral("^\\s*") + word + QStringLiteral(" (\\d+):"),
                                    QRegularExpression::MultilineOption);
        for (const auto& m : at.globalMatch(text))
            found << m.captured(1);
        return found;
    };
    EXPECT_EQ(numbers(err, QStringLiteral("line")), numbers(expected, QStringLiteral(u"строка")))
        << err.toStdString();
}

} // namespace quelna
