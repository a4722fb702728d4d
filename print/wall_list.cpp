// The wall list: every player of the latest seated round by name, with start number and table,
// in two columns large enough to read from a couple of metres, so that a crowd finds its seats
// at the entrance.
#include <QCollator>
#include <QLocale>
#include <QPainter>
#include <algorithm>

#include "core/tournament.h"
#include "gui/qt_text.h"
#include "print/document_layouts.h"
#include "print/page_frame.h"
#include "print/text_table.h"

namespace quelna {

namespace {

constexpr int kColumns = 2;

// Players by name in Russian collation; equal names by start number.
std::vector<int> playersByName(const Tournament& t) {
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::vector<QString> names(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        names[p] = fromRecord(t.names[p]);
    std::vector<int> order(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        order[p] = p;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = collator.compare(names[a], names[b]);
        if (c != 0)
            return c < 0;
        return t.playerNumber[a] < t.playerNumber[b];
    });
    return order;
}

} // namespace

void layoutWallList(const Tournament& t, PageFrame& frame) {
    const int round = latestSeatedRound(t);
    frame.setCaption(roundCaption(QStringLiteral(u"Рассадка по алфавиту"), std::max(round, 0)));
    if (round < 0)
        return;
    std::vector<QStringList> rows;
    for (int p : playersByName(t)) {
        const int table = t.tableAt(round, p);
        rows.push_back({fromRecord(t.names[p]),
                        t.playerNumber[p] >= 0 ? QString::number(t.playerNumber[p] + 1) : QString(),
                        table >= 0 ? QString::number(table + 1) : QString()});
    }
    auto table = std::make_shared<TextTable>(
        std::vector<TableColumn>{
            {QStringLiteral(u"Игрок"), Qt::AlignLeft, true},
            {QStringLiteral(u"№"), Qt::AlignRight},
            {QStringLiteral(u"Стол"), Qt::AlignHCenter, false, 0, true},
        },
        std::move(rows));
    const QRectF body = frame.body();
    const double gap = frame.mm(8);
    const double columnWidth = (body.width() - (kColumns - 1) * gap) / kColumns;
    TableStyle style;
    style.points = 14; // readable from two metres; long names wrap rather than shrink
    style.minPoints = 14;
    style.minStretchMm = 40;
    style.zebra = true;
    table->layout(frame.device(), columnWidth, style);
    const auto runs = table->paginate(body.height(), body.height());
    for (size_t first = 0; first < runs.size(); first += kColumns) {
        frame.addPage([table, runs, first, body, gap, columnWidth](QPainter& p) {
            for (size_t c = 0; c < kColumns && first + c < runs.size(); ++c) {
                const double x = body.left() + c * (columnWidth + gap);
                table->draw(p, QPointF(x, body.top()), runs[first + c].first,
                            runs[first + c].second);
            }
        });
    }
}

} // namespace quelna
