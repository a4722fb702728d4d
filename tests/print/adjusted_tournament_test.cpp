// A 200 x 12 tournament with substitutes and penalties: totals, standings, seats and the saved
// file agree with a recomputation here, the file reads back identically, a reader that knows only
// the player lines still gets every total right, and the standings slide, the printed results
// (with their penalty list) and the players' page show the same standings.
#include <QLabel>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

#include "core/standings.h"
#include "core/test_data.h"
#include "core/text.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"
#include "publish/player_pages.h"
#include "slides/slide_show.h"
#include "tests/print/rendered_pdf.h"

using namespace quelna;

namespace {

struct Played {
    Tournament t{200, 12};
    // Per (round, player): what counts, computed here from the rules, not by the record.
    std::map<std::pair<int, int>, long long> counted;
    // The same without penalties: what the printed round columns show.
    std::map<std::pair<int, int>, long long> seatResult;
};

// Seats round r by a shuffled order, draws results, then adds substitutes in rounds 2, 5 and 9
// and penalties on five players, recording what each should count.
Played playTournament() {
    Played g;
    Tournament& t = g.t;
    Random random(7);
    generateRandomNames(t, random);
    numberPlayersInOrder(t);
    const std::map<int, std::vector<int>> substituted = {{2, {3, 50}}, {5, {50}}, {9, {199, 0, 7}}};
    const std::vector<int> penalised = {1, 20, 50, 120, 180};
    for (int r = 0; r < 12; ++r) {
        std::vector<int> order(200);
        std::iota(order.begin(), order.end(), 0);
        for (int i = 199; i > 0; --i)
            std::swap(order[i], order[random.index(i + 1)]);
        for (int i = 0; i < 200; ++i)
            t.tableAt(r, order[i]) = i / 4;
        t.normalizeRounds();
        generateRandomResults(t, r, random);
        if (substituted.count(r))
            for (int p : substituted.at(r))
                t.adjustments.setSubstitute(r, p,
                                            Substitute{utf8ToCp1251("Запасной Игрок"), -30000});
        for (int p : penalised)
            if ((p + r) % 4 == 0) {
                t.adjustments.addPenalty(r, p, Penalty{-20000, utf8ToCp1251("Чомбо")});
                if (p == 50)
                    t.adjustments.addPenalty(r, p, Penalty{-1000, utf8ToCp1251("Опоздание")});
            }
        for (int p = 0; p < 200; ++p) {
            long long value = t.pointsAt(r, p);
            if (substituted.count(r) && std::ranges::count(substituted.at(r), p))
                value = -30000;
            g.seatResult[{r, p}] = value;
            if (std::ranges::count(penalised, p) && (p + r) % 4 == 0)
                value += p == 50 ? -21000 : -20000;
            g.counted[{r, p}] = value;
        }
    }
    t.adjustments.setLeftFrom(199, 10);
    t.normalizeRounds();
    return g;
}

long long expectedTotal(const Played& g, int p, int rounds) {
    long long sum = 0;
    for (int r = 0; r < rounds; ++r)
        sum += g.counted.at({r, p});
    return sum;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, ';');)
        out.push_back(f);
    return out;
}

// One line of a standings list as a renderer shows it.
struct ShownRow {
    int number = 0; // the start number, which tells the players apart
    QString place;
    QString total;
};

// The places and total texts the recomputation gives, position by position: a shared place lists
// its positions ("7|8"), or on paper its first and last when more than three share it.
struct ExpectedStandings {
    std::vector<long long> totals; // per position, best first
    std::vector<QString> places, paperPlaces;
    std::map<int, QString> totalText; // per player
};

ExpectedStandings expectedStandings(const Played& g, const std::vector<int>& penalised) {
    ExpectedStandings e;
    for (int p = 0; p < 200; ++p) {
        e.totals.push_back(expectedTotal(g, p, 12));
        e.totalText[p] = QString::number(e.totals.back()) +
                         (std::ranges::count(penalised, p) ? QStringLiteral("*") : QString());
    }
    std::ranges::sort(e.totals, std::greater<>());
    for (std::size_t i = 0; i < e.totals.size();) {
        std::size_t j = i;
        while (j < e.totals.size() && e.totals[j] == e.totals[i])
            ++j;
        QStringList all;
        for (std::size_t k = i; k < j; ++k)
            all << QString::number(k + 1);
        const QString paper = all.size() <= 3
                                  ? all.join(u'|')
                                  : all.constFirst() + QStringLiteral("|...|") + all.constLast();
        for (; i < j; ++i) {
            e.places.push_back(all.join(u'|'));
            e.paperPlaces.push_back(paper);
        }
    }
    return e;
}

// Every player once, in the order of the recomputed totals, with his place and total text.
void expectStandingsShown(const Played& g, const ExpectedStandings& e,
                          const std::vector<ShownRow>& rows, bool paper) {
    ASSERT_EQ(rows.size(), 200u);
    std::set<int> seen;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int p = rows[i].number - 1;
        ASSERT_TRUE(p >= 0 && p < 200 && seen.insert(p).second) << "position " << i;
        EXPECT_EQ(expectedTotal(g, p, 12), e.totals[i]) << "position " << i;
        EXPECT_EQ(rows[i].total, e.totalText.at(p)) << "position " << i;
        EXPECT_EQ(rows[i].place, paper ? e.paperPlaces[i] : e.places[i]) << "position " << i;
    }
}

std::vector<ShownRow> slideRows(const Tournament& t) {
    SlideOptions o;
    o.interval = 0; // two ticks a page: the blank one, then the next
    SlideShow show(nullptr, t, SlideKind::Standings, QRect(0, 0, 1920, 1080), o);
    std::vector<ShownRow> rows;
    for (int page = 0; page < show.pageCount(); ++page) {
        while (show.page() != page || !show.showing())
            show.tick();
        const std::vector<QLabel*>& cells = show.contentLabels();
        for (std::size_t at = 0; at + 4 <= cells.size() && rows.size() < 200; at += 4)
            rows.push_back(
                {cells[at + 1]->text().toInt(), cells[at]->text(), cells[at + 3]->text()});
    }
    return rows;
}

// The player lines of the printed results: place, start number, name, the 12 rounds, total. The
// rounds' points (penalties come off the total only) are checked here against the recomputation.
std::vector<ShownRow> printedRows(const Played& g, const QString& text) {
    static const QRegularExpression line(
        QStringLiteral("^\\s*(\\S+)\\s+(\\d+)\\s+\\S.*?((?:\\s+-?\\d+){12})\\s+(-?\\d+\\*?)\\s*$"));
    std::vector<ShownRow> rows;
    for (const QString& l : text.split(u'\n')) {
        const auto m = line.match(l);
        if (!m.hasMatch())
            continue;
        const int p = m.captured(2).toInt() - 1;
        const QStringList points = m.captured(3).split(u' ', Qt::SkipEmptyParts);
        for (int r = 0; r < 12 && p >= 0 && p < 200; ++r)
            EXPECT_EQ(points[r].toLongLong(), g.seatResult.at({r, p})) << "player " << p;
        rows.push_back({p + 1, m.captured(1), m.captured(4)});
    }
    return rows;
}

std::vector<ShownRow> pageRows(const std::string& html) {
    static const QRegularExpression row(QStringLiteral(
        "<tr><td class=\"place\">([^<]*)</td><td class=\"r\">(\\d+)</td><td>[^<]*</td>"
        "<td class=\"r\">([^<]*)</td></tr>"));
    std::vector<ShownRow> rows;
    for (const auto& m : row.globalMatch(QString::fromStdString(html)))
        rows.push_back({m.captured(2).toInt(), m.captured(1), m.captured(3)});
    return rows;
}

} // namespace

TEST(AdjustedTournament, TotalsStandingsSeatsFileSlidesPrintsAndPagesAgreeWithARecomputation) {
    const Played g = playTournament();
    const Tournament& t = g.t;
    ASSERT_EQ(t.currentRound, 12);

    for (int p = 0; p < 200; ++p)
        ASSERT_EQ(t.runningTotal(p, 12), expectedTotal(g, p, 12)) << "player " << p;

    std::vector<int> order;
    std::vector<std::string> places;
    ASSERT_FALSE(rankPlayers(t, 12, order, places));
    for (int i = 1; i < 200; ++i)
        ASSERT_GE(expectedTotal(g, order[i - 1], 12), expectedTotal(g, order[i], 12));

    // Seats follow the counted totals before the round; the table check uses real results.
    for (int r = 1; r < 12; ++r)
        for (int table = 0; table < 50; ++table) {
            long long sum = 0;
            for (int s = 0; s < 4; ++s) {
                const int p = t.playerAt(r, table, s);
                sum += t.pointsAt(r, p);
                if (s > 0) {
                    ASSERT_GE(expectedTotal(g, t.playerAt(r, table, s - 1), r),
                              expectedTotal(g, p, r))
                        << "round " << r << " table " << table;
                }
            }
            ASSERT_EQ(sum, 0) << "round " << r << " table " << table;
        }

    // The file: rows in standings order with counted points and totals, read by a reader that
    // stops after the 200 player lines, as one that knows nothing of the extra section does.
    const std::string text = tournamentCsvText(t);
    const std::vector<std::string> rows = lines(text);
    ASSERT_GT(rows.size(), 201u);
    for (const std::string& row : rows)
        ASSERT_LE(row.size() + 1, 255u) << row; // CR stays in row; + LF
    for (int i = 0; i < 200; ++i) {
        const std::vector<std::string> f = fields(rows[1 + i]);
        ASSERT_EQ(f.size(), 4u + 24 + 1);
        const int p = order[i];
        ASSERT_EQ(f[2], t.names[p]);
        long long sum = 0;
        for (int r = 0; r < 12; ++r) {
            ASSERT_EQ(std::stoll(f[5 + 2 * r]), g.counted.at({r, p})) << "row " << i;
            sum += std::stoll(f[5 + 2 * r]);
        }
        EXPECT_EQ(sum, expectedTotal(g, p, 12));
        EXPECT_EQ(std::stoll(f[28]), sum);
    }
    EXPECT_EQ(rows[201], utf8ToCp1251("ЗАМЕНЫ_И_ШТРАФЫ") + "\r");

    // Reading back gives the same record in standings order and writes the same bytes.
    EXPECT_EQ(measureTournamentCsv(text).players, 200);
    Tournament back(200, 12);
    readTournamentCsv(back, text);
    back.normalizeRounds();
    // Equal totals may be listed in another order after a load (the exchange sort is not stable),
    // so the lines are compared as a set.
    std::vector<std::string> again = lines(tournamentCsvText(back)), before = rows;
    std::ranges::sort(again);
    std::ranges::sort(before);
    EXPECT_TRUE(again == before);
    for (int i = 0; i < 200; ++i) {
        const int p = order[i];
        for (int r = 0; r < 12; ++r) {
            ASSERT_EQ(back.pointsAt(r, i), t.pointsAt(r, p));
            ASSERT_EQ(back.tableAt(r, i), t.tableAt(r, p));
            ASSERT_EQ(back.seatAt(r, i), t.seatAt(r, p));
            ASSERT_EQ(back.adjustments.penalties(r, i), t.adjustments.penalties(r, p));
            const Substitute* s = back.adjustments.substitute(r, i);
            ASSERT_EQ(s != nullptr, t.adjustments.substitute(r, p) != nullptr);
            if (s) {
                EXPECT_EQ(*s, *t.adjustments.substitute(r, p));
            }
        }
        EXPECT_EQ(back.adjustments.leftFrom(i), t.adjustments.leftFrom(p));
    }

    // The standings slide, the printed results and the players' page show the same standings.
    const std::vector<int> penalised = {1, 20, 50, 120, 180};
    const ExpectedStandings expected = expectedStandings(g, penalised);
    {
        SCOPED_TRACE("standings slide");
        expectStandingsShown(g, expected, slideRows(t), false);
    }
    const printtest::Rendered printed =
        printtest::render(PrintDocument::Standings, t, QString(), QStringLiteral("adjusted"));
    const QString paper = printed.all();
    const qsizetype penaltyList = paper.indexOf(QStringLiteral(u"Штрафы ("));
    ASSERT_GT(penaltyList, 0);
    {
        SCOPED_TRACE("printed results");
        expectStandingsShown(g, expected, printedRows(g, paper.left(penaltyList)), true);
    }
    {
        SCOPED_TRACE("players' page");
        expectStandingsShown(g, expected, pageRows(renderPlayerPages(t, "").standingsHtml), false);
    }

    // The printed penalty list, right below the last results when there is room: every penalty
    // once, players in standings order with their start numbers, rounds in order.
    const QString heading = QStringLiteral(u"Штрафы (учтены в итогах, отмеченных *)");
    for (const QString& page : printed.pageTexts)
        if (const qsizetype at = page.indexOf(heading); at >= 0) {
            EXPECT_FALSE(printedRows(g, page.left(at)).empty()) << "the list is on a page alone";
        }
    std::vector<int> byTotal = penalised;
    std::ranges::sort(
        byTotal, [&](int a, int b) { return expectedTotal(g, a, 12) > expectedTotal(g, b, 12); });
    QStringList wanted;
    for (int p : byTotal)
        for (int r = 0; r < 12; ++r)
            if ((p + r) % 4 == 0) {
                const QString who = QStringLiteral("%1|%2").arg(p + 1).arg(
                    QString::fromStdString(cp1251ToUtf8(t.names[p])));
                wanted << QStringLiteral(u"%1|%2|-20000|Чомбо").arg(who).arg(r + 1);
                if (p == 50)
                    wanted << QStringLiteral(u"%1|%2|-1000|Опоздание").arg(who).arg(r + 1);
            }
    static const QRegularExpression penaltyLine(
        QStringLiteral("^\\s*(\\d+)\\s+(\\S.*?)\\s+(\\d+)\\s+(-\\d+)\\s+(\\S+)\\s*$"));
    const qsizetype substituteList = paper.indexOf(QStringLiteral(u"Замены ("));
    ASSERT_GT(substituteList, penaltyList);
    QStringList listed;
    for (const QString& l : paper.mid(penaltyList, substituteList - penaltyList).split(u'\n'))
        if (const auto m = penaltyLine.match(l); m.hasMatch())
            listed << m.capturedTexts().mid(1).join(u'|');
    EXPECT_EQ(listed, wanted);

    // Then every seat a substitute played, players in standings order, rounds in order.
    std::vector<int> substitutedByTotal;
    for (int p = 0; p < 200; ++p)
        for (int r = 0; r < 12; ++r)
            if (t.adjustments.substitute(r, p) && std::ranges::count(substitutedByTotal, p) == 0)
                substitutedByTotal.push_back(p);
    std::ranges::stable_sort(substitutedByTotal, [&](int a, int b) {
        return expectedTotal(g, a, 12) > expectedTotal(g, b, 12);
    });
    QStringList wantedSubstitutes, listedSubstitutes;
    for (const int p : substitutedByTotal)
        for (int r = 0; r < 12; ++r)
            if (t.adjustments.substitute(r, p))
                wantedSubstitutes << QStringLiteral(u"%1|%2|%3|Запасной Игрок|-30000")
                                         .arg(p + 1)
                                         .arg(QString::fromStdString(cp1251ToUtf8(t.names[p])))
                                         .arg(r + 1);
    static const QRegularExpression substituteLine(
        QStringLiteral("^\\s*(\\d+)\\s+(\\S.*?)\\s+(\\d+)\\s+(\\S.*?)\\s+(-\\d+)\\s*$"));
    const qsizetype teamResults = paper.indexOf(QStringLiteral(u"Результаты по командам"));
    for (const QString& l :
         paper.mid(substituteList, teamResults > substituteList ? teamResults - substituteList : -1)
             .split(u'\n'))
        if (const auto m = substituteLine.match(l); m.hasMatch())
            listedSubstitutes << m.capturedTexts().mid(1).join(u'|');
    EXPECT_EQ(listedSubstitutes, wantedSubstitutes);
}
