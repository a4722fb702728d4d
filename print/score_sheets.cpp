// Score sheets: one per table, two to a page with a cut line between them. The four players
// write their points into the boxes, check that the sum is 0 and sign.
#include <QPainter>

#include "core/tournament.h"
#include "gui/qt_text.h"
#include "print/document_layouts.h"
#include "print/page_frame.h"
#include "print/text_table.h"

namespace quelna {

namespace {

TextTable sheetTable(const Tournament& t, int round, int table, bool teams) {
    std::vector<TableColumn> columns{
        {QStringLiteral(u"Место"), Qt::AlignHCenter},
        {QStringLiteral(u"№"), Qt::AlignHCenter},
        {QStringLiteral(u"Игрок"), Qt::AlignLeft, true},
    };
    if (teams)
        columns.push_back({QStringLiteral(u"Команда"), Qt::AlignLeft, false, 40});
    columns.push_back({QStringLiteral(u"Очки"), Qt::AlignHCenter, false, 0, false, 32});
    columns.push_back({QStringLiteral(u"Подпись"), Qt::AlignHCenter, false, 0, false, 38});
    return TextTable(std::move(columns), seatRows(t, round, table, teams));
}

void drawSheet(QPainter& p, const PageFrame& frame, const Tournament& t, int round, int table,
               bool teams, const QRectF& area) {
    QPaintDevice* device = frame.device();
    double y = area.top();
    if (!frame.title().isEmpty()) {
        const FittedText title =
            fitText(frame.title(), printFont(13, true), area.width(), 2, 10, device);
        drawFitted(p, title, QRectF(area.left(), y, area.width(), title.height()),
                   Qt::AlignHCenter);
        y += title.height() + frame.mm(2);
    }
    const FittedText roundText = fitText(QStringLiteral(u"ТУР № %1").arg(round + 1),
                                         printFont(18, true), area.width() / 2, 1, 10, device);
    const FittedText tableText = fitText(QStringLiteral(u"СТОЛ № %1").arg(table + 1),
                                         printFont(18, true), area.width() / 2, 1, 10, device);
    const QRectF line(area.left(), y, area.width(), roundText.height());
    drawFitted(p, roundText, line, Qt::AlignLeft);
    drawFitted(p, tableText, line, Qt::AlignRight);
    y += roundText.height() + frame.mm(3);

    TextTable sheet = sheetTable(t, round, table, teams);
    TableStyle style;
    style.points = 11;
    style.minPoints = 8;
    style.minStretchMm = 45;
    style.minRowHeightMm = 15; // room to write the points by hand
    sheet.layout(device, area.width(), style);
    y += sheet.draw(p, QPointF(area.left(), y), 0, sheet.rowCount());

    // The sum line and its note, under the table.
    y += frame.mm(4);
    const QFont font = printFont(11);
    const FittedText sum = fitText(QStringLiteral(u"Сумма очков:"), printFont(11, true),
                                   area.width() / 2, 1, 8, device);
    const double sumWidth = textWidth(sum.lines.value(0), sum.font, device) + frame.mm(2);
    drawFitted(p, sum, QRectF(area.left(), y, sumWidth, sum.height()), Qt::AlignLeft);
    const double boxLeft = area.left() + sumWidth;
    const double boxWidth = frame.mm(40);
    p.drawLine(QPointF(boxLeft, y + sum.height()), QPointF(boxLeft + boxWidth, y + sum.height()));
    const double noteLeft = boxLeft + boxWidth + frame.mm(3);
    const FittedText note =
        fitText(QStringLiteral(u"Сумма очков всех четырёх игроков должна быть равна 0."), font,
                area.right() - noteLeft, 2, 8, device);
    drawFitted(p, note, QRectF(noteLeft, y, area.right() - noteLeft, sum.height()), Qt::AlignLeft);
}

} // namespace

void layoutScoreSheets(const Tournament& t, PageFrame& frame) {
    const int round = latestSeatedRound(t);
    if (round < 0)
        return;
    const bool teams = anyTeams(t);
    const QRectF body = frame.body();
    const double gap = frame.mm(12);
    const double sheetHeight = (body.height() - gap) / 2;
    for (int first = 0; first < t.tableCount(); first += 2) {
        frame.addPage([&t, &frame, round, teams, body, gap, sheetHeight, first](QPainter& p) {
            for (int k = 0; k < 2 && first + k < t.tableCount(); ++k) {
                const QRectF area(body.left(), body.top() + k * (sheetHeight + gap), body.width(),
                                  sheetHeight);
                drawSheet(p, frame, t, round, first + k, teams, area);
            }
            if (first + 1 < t.tableCount()) {
                // Where the page is cut in two.
                p.save();
                QPen pen = p.pen();
                pen.setStyle(Qt::DashLine);
                p.setPen(pen);
                const double y = body.top() + sheetHeight + gap / 2;
                p.drawLine(QPointF(body.left(), y), QPointF(body.right(), y));
                p.restore();
            }
        });
    }
}

} // namespace quelna
