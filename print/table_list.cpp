// The seating by tables: every table of the latest seated round with its four players in seat
// order, two cards side by side, as many rows of cards as a page holds.
#include <QPainter>
#include <algorithm>
#include <memory>

#include "core/tournament.h"
#include "gui/qt_text.h"
#include "print/document_layouts.h"
#include "print/page_frame.h"
#include "print/text_table.h"

namespace quelna {

namespace {

constexpr int kCardsPerRow = 2;

struct Card {
    int table = 0;
    FittedText caption;
    std::shared_ptr<TextTable> players;
    double height = 0;
};

Card makeCard(const Tournament& t, int round, int table, bool teams, double width,
              PageFrame& frame) {
    std::vector<TableColumn> columns{
        {QStringLiteral(u"Место"), Qt::AlignHCenter},
        {QStringLiteral(u"№"), Qt::AlignRight},
        {QStringLiteral(u"Игрок"), Qt::AlignLeft, true},
    };
    if (teams)
        columns.push_back({QStringLiteral(u"Команда"), Qt::AlignLeft, false, 28});
    Card card;
    card.table = table;
    card.caption = fitText(QStringLiteral(u"СТОЛ № %1").arg(table + 1), printFont(13, true), width,
                           1, 10, frame.device());
    card.players =
        std::make_shared<TextTable>(std::move(columns), seatRows(t, round, table, teams));
    TableStyle style;
    style.points = 11;
    style.minPoints = 8;
    style.minStretchMm = 30;
    card.players->layout(frame.device(), width, style);
    card.height = card.caption.height() + frame.mm(1) + card.players->height(0, 4);
    return card;
}

} // namespace

void layoutTableList(const Tournament& t, PageFrame& frame) {
    const int round = latestSeatedRound(t);
    frame.setCaption(roundCaption(QStringLiteral(u"Рассадка по столам"), std::max(round, 0)));
    if (round < 0)
        return;
    const bool teams = anyTeams(t);
    const QRectF body = frame.body();
    const double gap = frame.mm(8);
    const double rowGap = frame.mm(6);
    const double width = (body.width() - (kCardsPerRow - 1) * gap) / kCardsPerRow;

    // Rows of cards, then as many rows to a page as fit.
    std::vector<std::vector<Card>> cardRows;
    for (int table = 0; table < t.tableCount(); table += kCardsPerRow) {
        std::vector<Card> row;
        for (int k = 0; k < kCardsPerRow && table + k < t.tableCount(); ++k)
            row.push_back(makeCard(t, round, table + k, teams, width, frame));
        cardRows.push_back(std::move(row));
    }
    size_t next = 0;
    while (next < cardRows.size()) {
        std::vector<std::vector<Card>> page;
        double used = 0;
        while (next < cardRows.size()) {
            double h = 0;
            for (const Card& c : cardRows[next])
                h = std::max(h, c.height);
            if (!page.empty() && used + h > body.height())
                break;
            used += h + rowGap;
            page.push_back(cardRows[next++]);
        }
        frame.addPage([page = std::move(page), body, gap, rowGap, width](QPainter& p) {
            double y = body.top();
            for (const auto& row : page) {
                double h = 0;
                for (size_t k = 0; k < row.size(); ++k) {
                    const Card& c = row[k];
                    const double x = body.left() + k * (width + gap);
                    drawFitted(p, c.caption, QRectF(x, y, width, c.caption.height()),
                               Qt::AlignLeft);
                    c.players->draw(
                        p,
                        QPointF(x, y + c.caption.height() +
                                       (c.height - c.caption.height() - c.players->height(0, 4))),
                        0, 4);
                    h = std::max(h, c.height);
                }
                y += h + rowGap;
            }
        });
    }
}

} // namespace quelna
