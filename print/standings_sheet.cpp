// The standings on paper: the players as the standings rank them, with the points of every round
// played and the total, then the teams on a page of their own. Before round 1 the registration
// list.
#include <QPainter>
#include <memory>

#include "core/standings.h"
#include "core/tournament.h"
#include "gui/qt_text.h"
#include "print/document_layouts.h"
#include "print/page_frame.h"
#include "print/text_table.h"

namespace quelna {

namespace {

// Rounds whose points count as played: every seated round, except the latest while nobody has
// points in it yet (the grid shows it empty too).
int playedRounds(const Tournament& t) {
    int k = std::max(0, std::min(t.currentRound, t.roundCount));
    if (k > 0) {
        bool empty = true;
        for (int p = 0; p < t.playerCount && empty; ++p)
            empty = t.pointsAt(k - 1, p) == 0;
        if (empty)
            --k;
    }
    return k;
}

// A place shared by many ("28|29|...|173" runs to hundreds of characters) keeps its first and last
// positions on paper, so that one row does not fill a page.
QString placeText(bool allEqual, const std::string& text) {
    if (allEqual)
        return QStringLiteral(u"0");
    const QString place = fromRecord(text);
    const QStringList positions = place.split(QLatin1Char('|'));
    if (positions.size() <= 3)
        return place;
    return positions.constFirst() + QStringLiteral(u"|...|") + positions.constLast();
}

QString startNumber(const Tournament& t, int p) {
    return t.playerNumber[p] >= 0 ? QString::number(t.playerNumber[p] + 1) : QString();
}

// Adds the pages of one table, the first with a sub-heading when one is given. With below >= 0
// the table starts on the page added last, that far down the body, when its heading and a row
// fit there. Returns how far down the body the table ends on its last page.
double addTablePages(PageFrame& frame, std::shared_ptr<TextTable> table, const QString& heading,
                     double below = -1) {
    const QRectF body = frame.body();
    FittedText head;
    double headHeight = 0;
    if (!heading.isEmpty()) {
        head = fitText(heading, printFont(12, true), body.width(), 2, 9, frame.device());
        headHeight = head.height() + frame.mm(2);
    }
    double top = below >= 0 && frame.pageCount() > 0 ? below + frame.mm(8) : 0;
    auto runs = table->paginate(body.height() - top - headHeight, body.height());
    if (top > 0 && !runs.empty() && runs.front().first == runs.front().second) {
        top = 0; // no room left there: the table starts on a page of its own
        runs = table->paginate(body.height() - headHeight, body.height());
    }
    double end = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        const double y = i == 0 ? top : 0;
        const double tableTop = y + (i == 0 ? headHeight : 0);
        auto draw = [table, run = runs[i], body, y, tableTop, head, i](QPainter& p) {
            if (i == 0 && !head.lines.isEmpty())
                drawFitted(p, head,
                           QRectF(body.left(), body.top() + y, body.width(), head.height()),
                           Qt::AlignLeft);
            if (run.first < run.second)
                table->draw(p, QPointF(body.left(), body.top() + tableTop), run.first, run.second);
        };
        if (i == 0 && top > 0)
            frame.addToLastPage(std::move(draw));
        else
            frame.addPage(std::move(draw));
        end = tableTop + table->height(runs[i].first, runs[i].second);
    }
    return end;
}

// A round column holds what the player's seat scored at the table, as the grid and the score sheet
// have it; a penalty comes off the total only, so that the paper and the sheet never disagree.
// A seat a substitute played holds the result counted for the registered player instead.
int roundResult(const Tournament& t, int round, int player) {
    if (const Substitute* s = t.adjustments.substitute(round, player))
        return s->countedResult;
    return t.pointsAt(round, player);
}

constexpr char16_t kRoundColumnsLegend[] =
    u"ИО1, ИО2...: очки игрока за столом в туре, как в бланке стола (за тур, сыгранный заменой, — "
    u"учтённый результат замены). Штрафы вычитаются только из итога; итог со штрафом отмечен *.";

// A short note right below what came before (on a new page when it does not fit there); returns
// where it ends.
double addLegend(PageFrame& frame, const QString& text, double below) {
    const QRectF body = frame.body();
    const FittedText legend = fitText(text, printFont(9), body.width(), 3, 8, frame.device());
    double top = below + frame.mm(2);
    auto draw = [legend, body](double y) {
        return [legend, body, y](QPainter& p) {
            drawFitted(p, legend,
                       QRectF(body.left(), body.top() + y, body.width(), legend.height()),
                       Qt::AlignLeft);
        };
    };
    if (frame.pageCount() > 0 && top + legend.height() <= body.height()) {
        frame.addToLastPage(draw(top));
    } else {
        top = 0;
        frame.addPage(draw(top));
    }
    return top + legend.height();
}

TableStyle listStyle() {
    TableStyle style;
    style.points = 10;
    style.minPoints = 7;
    style.minStretchMm = 40;
    style.zebra = true;
    return style;
}

void layoutRegistration(const Tournament& t, PageFrame& frame) {
    frame.setCaption(QStringLiteral(u"Список участников"));
    const bool teams = anyTeams(t);
    std::vector<int> order;
    std::vector<std::string> places;
    (void)rankPlayers(t, t.roundCount, order, places);
    std::vector<TableColumn> columns{{QStringLiteral(u"№"), Qt::AlignRight},
                                     {QStringLiteral(u"Игрок"), Qt::AlignLeft, true}};
    if (teams)
        columns.push_back({QStringLiteral(u"Команда"), Qt::AlignLeft, true});
    std::vector<QStringList> rows;
    for (int p : order) {
        QStringList row{startNumber(t, p), fromRecord(t.names[p])};
        if (teams)
            row << fromRecord(t.teams.name(t.team[p]));
        rows.push_back(row);
    }
    auto table = std::make_shared<TextTable>(std::move(columns), std::move(rows));
    TableStyle style = listStyle();
    style.points = 12;
    table->layout(frame.device(), frame.body().width(), style);
    addTablePages(frame, table, QString());
}

void addTeamStandings(const Tournament& t, PageFrame& frame) {
    std::vector<int> order;
    std::vector<int> totals;
    std::vector<std::string> places;
    const bool allEqual = rankTeams(t, t.roundCount, order, totals, places);
    std::vector<QStringList> rows;
    for (size_t i = 0; i < order.size(); ++i) {
        const int e = order[i];
        QStringList members;
        for (int p = 0; p < t.playerCount; ++p)
            if (t.team[p] == e + 1)
                members << fromRecord(t.names[p]);
        rows.push_back({placeText(allEqual, places[i]), fromRecord(t.teams.name(e + 1)),
                        members.join(QStringLiteral(u", ")), QString::number(totals[e])});
    }
    auto table = std::make_shared<TextTable>(
        std::vector<TableColumn>{
            {QStringLiteral(u"Место"), Qt::AlignHCenter, false, 22},
            {QStringLiteral(u"Команда"), Qt::AlignLeft, false, 60},
            {QStringLiteral(u"Игроки"), Qt::AlignLeft, true},
            {QStringLiteral(u"Итого"), Qt::AlignRight, false, 0, true},
        },
        std::move(rows));
    TableStyle style = listStyle();
    style.maxLines = 3;
    table->layout(frame.device(), frame.body().width(), style);
    addTablePages(frame, table, QStringLiteral(u"Результаты по командам"));
}

// A list of the adjustments of one kind, right below what came before when it fits there;
// where it ends, or `below` when there is nothing to list.
double addAdjustmentList(PageFrame& frame, std::vector<TableColumn> columns,
                         std::vector<QStringList> rows, const QString& heading, double below) {
    if (rows.empty())
        return below;
    auto table = std::make_shared<TextTable>(std::move(columns), std::move(rows));
    table->layout(frame.device(), frame.body().width(), listStyle());
    return addTablePages(frame, table, heading, below);
}

// Every penalty, in standings order: a total with "*" holds one of these. The start number tells
// namesakes apart, as in the results.
double addPenaltyList(const Tournament& t, const std::vector<int>& order, PageFrame& frame,
                      double below) {
    std::vector<QStringList> rows;
    for (int p : order)
        for (int r = 0; r < t.roundCount; ++r)
            for (const Penalty& penalty : t.adjustments.penalties(r, p))
                rows.push_back({startNumber(t, p), fromRecord(t.names[p]), QString::number(r + 1),
                                QString::number(penalty.amount), fromRecord(penalty.reason)});
    return addAdjustmentList(frame,
                             {
                                 {QStringLiteral(u"№"), Qt::AlignRight},
                                 {QStringLiteral(u"Игрок"), Qt::AlignLeft, true},
                                 {QStringLiteral(u"Тур"), Qt::AlignRight},
                                 {QStringLiteral(u"Штраф"), Qt::AlignRight},
                                 {QStringLiteral(u"Причина"), Qt::AlignLeft, true},
                             },
                             std::move(rows),
                             QStringLiteral(u"Штрафы (учтены в итогах, отмеченных *)"), below);
}

// Every seat a substitute played, in standings order: the registered player's points of that
// round are the substitute result.
double addSubstituteList(const Tournament& t, const std::vector<int>& order, PageFrame& frame,
                         double below) {
    std::vector<QStringList> rows;
    for (int p : order)
        for (int r = 0; r < t.roundCount; ++r)
            if (const Substitute* s = t.adjustments.substitute(r, p))
                rows.push_back({startNumber(t, p), fromRecord(t.names[p]), QString::number(r + 1),
                                fromRecord(s->name), QString::number(s->countedResult)});
    return addAdjustmentList(
        frame,
        {
            {QStringLiteral(u"№"), Qt::AlignRight},
            {QStringLiteral(u"Игрок"), Qt::AlignLeft, true},
            {QStringLiteral(u"Тур"), Qt::AlignRight},
            {QStringLiteral(u"Играл замена"), Qt::AlignLeft, true},
            {QStringLiteral(u"Учтено"), Qt::AlignRight},
        },
        std::move(rows), QStringLiteral(u"Замены (в очках тура учтён результат замены)"), below);
}

} // namespace

QPageLayout::Orientation standingsOrientation(const Tournament& t) {
    return t.currentRound > 0 && playedRounds(t) > 6 ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait;
}

void layoutStandings(const Tournament& t, PageFrame& frame) {
    if (t.currentRound <= 0) {
        layoutRegistration(t, frame);
        return;
    }
    const int played = playedRounds(t);
    const bool teams = anyTeams(t);
    frame.setCaption(played == t.roundCount ? QStringLiteral(u"Итоговые результаты")
                     : played > 0 ? QStringLiteral(u"Результаты после тура № %1").arg(played)
                                  : QStringLiteral(u"Результаты"));

    std::vector<int> order;
    std::vector<std::string> places;
    const bool allEqual = rankPlayers(t, t.roundCount, order, places);
    std::vector<TableColumn> columns{
        {QStringLiteral(u"Место"), Qt::AlignHCenter, false, 22},
        {QStringLiteral(u"№"), Qt::AlignRight},
        {QStringLiteral(u"Игрок"), Qt::AlignLeft, true},
    };
    if (teams)
        columns.push_back({QStringLiteral(u"Команда"), Qt::AlignLeft, false, 35});
    for (int r = 0; r < played; ++r)
        columns.push_back({QStringLiteral(u"ИО%1").arg(r + 1), Qt::AlignRight});
    columns.push_back({QStringLiteral(u"Итого"), Qt::AlignRight, false, 0, true});
    std::vector<QStringList> rows;
    for (size_t i = 0; i < order.size(); ++i) {
        const int p = order[i];
        QStringList row{placeText(allEqual, places[i]), startNumber(t, p), fromRecord(t.names[p])};
        if (teams)
            row << fromRecord(t.teams.name(t.team[p]));
        for (int r = 0; r < played; ++r)
            row << QString::number(roundResult(t, r, p));
        row << QString::fromStdString(standingsTotalText(t, p, t.roundCount));
        rows.push_back(row);
    }
    auto table = std::make_shared<TextTable>(std::move(columns), std::move(rows));
    table->layout(frame.device(), frame.body().width(), listStyle());
    double end = addTablePages(frame, table, QString());
    if (played > 0)
        end = addLegend(frame, QString::fromUtf16(kRoundColumnsLegend), end);
    addSubstituteList(t, order, frame, addPenaltyList(t, order, frame, end));
    if (t.teams.count() > 0 && teams)
        addTeamStandings(t, frame);
}

} // namespace quelna
