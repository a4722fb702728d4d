// Every printed document rendered to a real PDF and read back with pdftotext: the page count,
// "стр. i из n" on each page, and the players where they belong.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/standings.h"
#include "core/test_data.h"
#include "core/text.h"
#include "core/tournament.h"
#include "files/tournament_csv.h"
#include "gui/qt_text.h"
#include "print/print_documents.h"
#include "seating/seating_driver.h"
#include "seating/seating_job.h"
#include "tests/print/rendered_pdf.h"

namespace quelna {
namespace {

// Generated names, made unique since the checks look every player up by name; one player gets
// a name long enough to wrap.
void nameEveryone(Tournament& t, Random& random) {
    generateRandomNames(t, random);
    std::set<std::string> seen;
    for (int p = 0; p < t.playerCount; ++p) {
        std::string name = t.names[p];
        for (int k = 2; !seen.insert(name).second; ++k)
            name = t.names[p] + "-" + std::to_string(k);
        t.setName(p, name);
    }
    t.setName(t.playerCount / 2, utf8ToCp1251("Александра-Виктория Константинопольская-Щедрина"));
}

// A tournament played by the engine with generated names and results: `seated` rounds seated,
// all but the last `unplayed` of them with results.
Tournament played(int players, int rounds, int seated, int unplayed, bool teams,
                  std::uint32_t seed) {
    Tournament t(players, rounds);
    Random random(seed);
    nameEveryone(t, random);
    numberPlayersInOrder(t);
    if (teams)
        generateRandomTeams(t, random);
    t.normalizeRounds();
    for (int r = 0; r < seated; ++r) {
        SeatingJob job;
        job.round = r;
        EXPECT_TRUE(seatRound(t, job));
        t.normalizeRounds();
        if (r < seated - unplayed)
            generateRandomResults(t, r, random);
    }
    t.normalizeRounds();
    return t;
}

// A recorded tournament (seats and results as saved), its players renamed by the generator.
Tournament recorded(const char* file, std::uint32_t seed) {
    Tournament t(200, 12);
    EXPECT_TRUE(loadTournamentFile(t, std::string(QUELNA_TEST_DATA) + "/" + file));
    Random random(seed);
    nameEveryone(t, random);
    t.normalizeRounds();
    return t;
}

using printtest::render;
using printtest::Rendered;

QString nameOf(const Tournament& t, int p) {
    return fromRecord(t.names[p]);
}

// The name as a whole, not as the start of a longer one ("Иван Петров" in "Иван Петров-2").
QRegularExpression nameExpression(const QString& name, const QString& after = QString()) {
    return QRegularExpression(QStringLiteral("(^|\\s)") + QRegularExpression::escape(name) + after +
                              QStringLiteral("(?=\\s|$)"));
}

int countName(const QString& text, const QString& name, const QString& after = QString()) {
    int n = 0;
    auto it = nameExpression(name, after).globalMatch(text);
    while (it.hasNext()) {
        it.next();
        ++n;
    }
    return n;
}

// A name that wraps over two lines is found word by word.
bool holdsName(const QString& text, const QString& name) {
    if (countName(text, name) > 0)
        return true;
    for (const QString& word : name.split(QRegularExpression(QStringLiteral("[\\s-]+"))))
        if (!text.contains(word))
            return false;
    return true;
}

bool wraps(const QString& name) {
    return name.size() > 30;
}

// The text of each table's block: from its "СТОЛ № t" to the next one.
std::map<int, QString> tableBlocks(const Rendered& r) {
    std::map<int, QString> blocks;
    static const QRegularExpression table(QStringLiteral("СТОЛ № (\\d+)"));
    for (const QString& page : r.pageTexts) {
        // Cards side by side share their lines in -layout text, so a block is cut at every mark
        // on a line, column by column: the left half of the line belongs to the left card.
        std::vector<std::pair<int, qsizetype>> marks;
        auto it = table.globalMatch(page);
        while (it.hasNext()) {
            const auto m = it.next();
            marks.emplace_back(m.captured(1).toInt() - 1, m.capturedStart());
        }
        for (size_t i = 0; i < marks.size(); ++i) {
            const qsizetype end = i + 1 < marks.size() ? marks[i + 1].second : page.size();
            blocks[marks[i].first] += page.mid(marks[i].second, end - marks[i].second);
        }
    }
    return blocks;
}

void expectFrame(const Rendered& r, int pages) {
    EXPECT_EQ(r.pages, pages);
    ASSERT_EQ(r.pageTexts.size(), pages);
    for (int i = 0; i < pages; ++i)
        EXPECT_TRUE(r.pageTexts[i].contains(QStringLiteral("стр. %1 из %2").arg(i + 1).arg(pages)))
            << "page " << i + 1;
}

void expectScoreSheets(const Tournament& t, const Rendered& r) {
    const int round = t.currentRound - 1;
    expectFrame(r, (t.tableCount() + 1) / 2);
    for (int i = 0; i < r.pages; ++i) {
        EXPECT_EQ(r.pageTexts[i].count(QStringLiteral("ТУР № %1").arg(round + 1)),
                  std::min(2, t.tableCount() - 2 * i));
        EXPECT_EQ(r.pageTexts[i].count(QStringLiteral("должна быть равна 0")),
                  std::min(2, t.tableCount() - 2 * i));
    }
    const auto blocks = tableBlocks(r);
    ASSERT_EQ(static_cast<int>(blocks.size()), t.tableCount());
    for (int table = 0; table < t.tableCount(); ++table)
        for (int s = 0; s < 4; ++s)
            EXPECT_TRUE(holdsName(blocks.at(table), nameOf(t, t.playerAt(round, table, s))))
                << "table " << table + 1 << " seat " << s + 1;
}

void expectWallList(const Tournament& t, const Rendered& r, int pages) {
    const int round = t.currentRound - 1;
    expectFrame(r, pages);
    const QString all = r.all();
    for (int p = 0; p < t.playerCount; ++p) {
        const QString name = nameOf(t, p);
        if (wraps(name)) {
            EXPECT_TRUE(holdsName(all, name));
            continue;
        }
        // The name once, and on its line the start number and then the table.
        const QString line =
            QStringLiteral("\\s+%1\\s+%2").arg(t.playerNumber[p] + 1).arg(t.tableAt(round, p) + 1);
        EXPECT_EQ(countName(all, name), 1) << name.toStdString();
        EXPECT_EQ(countName(all, name, line), 1) << name.toStdString();
    }
}

void expectTableList(const Tournament& t, const Rendered& r, int pages) {
    const int round = t.currentRound - 1;
    expectFrame(r, pages);
    // Two cards share their lines in -layout text, so each table's players are looked for on
    // the page that carries its caption; the exact seats are the score sheets' check.
    for (int table = 0; table < t.tableCount(); ++table) {
        const QString mark = QStringLiteral("СТОЛ № %1").arg(table + 1);
        QString page;
        for (const QString& text : r.pageTexts)
            if (QRegularExpression(QRegularExpression::escape(mark) + QStringLiteral("(?!\\d)"))
                    .match(text)
                    .hasMatch())
                page = text;
        ASSERT_FALSE(page.isEmpty()) << mark.toStdString();
        for (int s = 0; s < 4; ++s)
            EXPECT_TRUE(holdsName(page, nameOf(t, t.playerAt(round, table, s))));
    }
}

void expectStandings(const Tournament& t, const Rendered& r, int pages) {
    expectFrame(r, pages);
    std::vector<int> order;
    std::vector<std::string> places;
    const bool allEqual = rankPlayers(t, t.roundCount, order, places);
    // The team standings list the members again; the players' part ends where they begin.
    const QString whole = r.all();
    const qsizetype teamPart = whole.indexOf(QStringLiteral("Результаты по командам"));
    const QString all = teamPart >= 0 ? whole.left(teamPart) : whole;
    qsizetype last = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        const int p = order[i];
        const QString name = nameOf(t, p);
        if (wraps(name))
            continue;
        EXPECT_EQ(countName(all, name), 1) << name.toStdString();
        const auto m = nameExpression(name).match(all);
        EXPECT_GT(m.capturedStart(), last) << "out of order: " << name.toStdString();
        last = m.capturedStart();
        // The line of the player ends with his total.
        const qsizetype end = all.indexOf(QLatin1Char('\n'), m.capturedEnd());
        const QString rest = all.mid(m.capturedEnd(), end - m.capturedEnd()).trimmed();
        if (t.currentRound > 0) {
            EXPECT_TRUE(rest.endsWith(QString::number(t.runningTotal(p, t.roundCount))))
                << name.toStdString() << ": " << rest.toStdString();
        }
        if (i == 0 && t.currentRound > 0 && places[0].size() < 12) {
            EXPECT_TRUE(all.contains(allEqual ? QStringLiteral("0") : fromRecord(places[0])));
        }
    }
    if (t.teams.count() > 0 && t.currentRound > 0) {
        ASSERT_GT(teamPart, last);
        for (int k = 1; k <= t.teams.count(); ++k)
            EXPECT_GE(whole.indexOf(fromRecord(t.teams.name(k)), teamPart), 0);
    }
}

struct Case {
    const char* name;
    const char* recording; // a saved tournament instead of the engine
    int players;
    int rounds;
    int seated;
    int unplayed;
    bool teams;
    int wallPages;
    int tablePages;
    int standingsPages;
};

class PrintedDocuments : public testing::TestWithParam<Case> {};

TEST_P(PrintedDocuments, HoldEveryPlayerWhereHeBelongs) {
    const Case& c = GetParam();
    const Tournament t = c.recording
                             ? recorded(c.recording, 20261209)
                             : played(c.players, c.rounds, c.seated, c.unplayed, c.teams, 20261209);
    ASSERT_EQ(t.currentRound, c.seated);
    const QString title = QStringLiteral(u"Открытый кубок города по риичи-маджонгу");
    const QString tag = QString::fromLatin1(c.name);
    {
        SCOPED_TRACE("score sheets");
        expectScoreSheets(
            t, render(PrintDocument::ScoreSheets, t, title, tag + QStringLiteral("_sheets")));
    }
    {
        SCOPED_TRACE("wall list");
        expectWallList(t, render(PrintDocument::WallList, t, title, tag + QStringLiteral("_wall")),
                       c.wallPages);
    }
    {
        SCOPED_TRACE("tables");
        expectTableList(t,
                        render(PrintDocument::TableList, t, title, tag + QStringLiteral("_tables")),
                        c.tablePages);
    }
    {
        SCOPED_TRACE("standings");
        expectStandings(
            t, render(PrintDocument::Standings, t, title, tag + QStringLiteral("_standings")),
            c.standingsPages);
    }
}

// 200 x 12 comes from a recording: 146 players share a total, which gives the longest place
// texts there are.
INSTANTIATE_TEST_SUITE_P(Sizes, PrintedDocuments,
                         testing::Values(Case{"p16", nullptr, 16, 4, 3, 1, false, 1, 1, 1},
                                         Case{"p16_teams", nullptr, 16, 4, 2, 0, true, 1, 1, 2},
                                         Case{"p200x12_teams",
                                              "fuzz/tournament_csv/ties_200x12.csv", 200, 12, 12, 0,
                                              true, 7, 5, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrintedDocuments, BeforeTheFirstRoundOnlyTheRegistrationListPrints) {
    Tournament t = played(16, 4, 0, 0, true, 7);
    EXPECT_FALSE(hasSomethingToPrint(PrintDocument::ScoreSheets, t));
    EXPECT_FALSE(hasSomethingToPrint(PrintDocument::WallList, t));
    EXPECT_FALSE(hasSomethingToPrint(PrintDocument::TableList, t));
    ASSERT_TRUE(hasSomethingToPrint(PrintDocument::Standings, t));
    const Rendered r =
        render(PrintDocument::Standings, t, QString(), QStringLiteral("registration"));
    expectStandings(t, r, 1);
    EXPECT_TRUE(r.all().contains(QStringLiteral("Список участников")));
    EXPECT_FALSE(r.all().contains(QStringLiteral("Результаты по командам")));
}

// A substitute finds his own name on the wall list, with the table of the seat he plays; the
// results print a penalised player's round as the table and the score sheet have it, and their
// legend says so.
TEST(PrintedDocuments, SubstituteOnTheWallListAndPenaltyRuleInTheResults) {
    Tournament t = played(16, 4, 2, 0, false, 11);
    const int sub = t.playerAt(1, 2, 1);
    t.setName(sub, utf8ToCp1251("Ан Ли")); // short, so that no line wraps
    t.adjustments.setSubstitute(1, sub, Substitute{utf8ToCp1251("Яшин"), -30000});
    const int fined = t.playerAt(0, 1, 0);
    t.adjustments.addPenalty(0, fined, Penalty{-20000, utf8ToCp1251("Чомбо")});

    const Rendered wall = render(PrintDocument::WallList, t, QString(), QStringLiteral("sub_wall"));
    ASSERT_EQ(wall.pages, 1);
    // His own line, with no start number and the table of the seat he plays.
    const QRegularExpression own(QStringLiteral(u"Яшин \\(замена: Ан Ли\\)\\s+3$"),
                                 QRegularExpression::MultilineOption);
    EXPECT_TRUE(own.match(wall.all()).hasMatch()) << wall.all().toStdString();
    EXPECT_EQ(countName(wall.all(), QStringLiteral(u"Ан Ли → замена: Яшин")), 1);

    const Rendered results =
        render(PrintDocument::Standings, t, QString(), QStringLiteral("sub_standings"));
    const QString text = results.all().simplified();
    EXPECT_TRUE(text.contains(QStringLiteral(u"ИО1, ИО2...: очки игрока за столом в туре, как в "
                                             u"бланке стола")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(u"Штрафы вычитаются только из итога; итог со "
                                             u"штрафом отмечен *.")));
    const QRegularExpression row(QRegularExpression::escape(nameOf(t, fined)) +
                                 QStringLiteral("\\s+(-?\\d+)\\s+(-?\\d+)\\s+(-?\\d+\\*)"));
    const auto m = row.match(results.all());
    ASSERT_TRUE(m.hasMatch());
    EXPECT_EQ(m.captured(1).toInt(), t.pointsAt(0, fined));
    EXPECT_EQ(m.captured(2).toInt(), t.pointsAt(1, fined));
    EXPECT_EQ(m.captured(3), QStringLiteral("%1*").arg(t.runningTotal(fined, 2)));
}

TEST(PrintedDocuments, DefaultPdfNameComesFromTitleRoundAndDocument) {
    using D = PrintDocument;
    const struct {
        const char16_t* title;
        int rounds;
        D doc;
        const char16_t* name;
    } cases[] = {
        {u"", 3, D::ScoreSheets, u"тур_3_бланки.pdf"},
        {u"", 3, D::WallList, u"тур_3_по_алфавиту.pdf"},
        {u"", 3, D::TableList, u"тур_3_по_столам.pdf"},
        {u"", 3, D::Standings, u"тур_3_результаты.pdf"},
        {u"Кубок города", 12, D::Standings, u"Кубок_города_тур_12_результаты.pdf"},
        {u" Лига: 1/2 \"А\"? ", 1, D::WallList, u"Лига_1_2_А_тур_1_по_алфавиту.pdf"},
        {u"../..", 0, D::Standings, u"участники.pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultPdfName(QString::fromUtf16(c.title), c.rounds, c.doc),
                  QString::fromUtf16(c.name));
}

TEST(PrintedDocuments, PdfThatCannotBeWrittenLeavesNoFile) {
    const Tournament t = played(16, 4, 1, 0, false, 3);
    QTemporaryDir dir;
    // A file where a folder should be stops everyone, the superuser too.
    const QString notAFolder = dir.filePath(QStringLiteral("file"));
    QFile f(notAFolder);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(
        savePdf(PrintDocument::WallList, t, QString(), notAFolder + QStringLiteral("/list.pdf")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("file")});

    const QString good = dir.filePath(QStringLiteral("тур_1.pdf"));
    ASSERT_TRUE(savePdf(PrintDocument::WallList, t, QString(), good));
    QFile written(good);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("%PDF-"));
}

} // namespace
} // namespace quelna
