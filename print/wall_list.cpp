// The wall list: every player of the latest seated round by name, with start number and table,
// in type large enough to read from a few metres, so that a crowd finds its seats at the entrance.
// A substitute is listed under his own name too, since he looks for his name, not the player's.
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
constexpr double kWallPoints = 20;

struct WallRow {
    QString name;
    int number = -1; // start number shown, -1: none (a substitute)
    int table = -1;
};

// Rows by name in Russian collation; equal names by start number.
void sortByName(std::vector<WallRow>& rows) {
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(rows.begin(), rows.end(), [&](const WallRow& a, const WallRow& b) {
        const int c = collator.compare(a.name, b.name);
        if (c != 0)
            return c < 0;
        return a.number < b.number;
    });
}

std::vector<WallRow> wallRows(const Tournament& t, int round) {
    std::vector<WallRow> rows;
    for (int p = 0; p < t.playerCount; ++p) {
        const int table = t.tableAt(round, p);
        rows.push_back({QString::fromStdString(seatNameUtf8(t, round, p)),
                        t.playerNumber[p] >= 0 ? t.playerNumber[p] + 1 : -1, table});
        const Substitute* s = t.adjustments.substitute(round, p);
        if (s && !s->name.empty())
            rows.push_back({QStringLiteral(u"%1 (замена: %2)")
                                .arg(fromRecord(s->name), fromRecord(t.names[p])),
                            -1, table});
    }
    sortByName(rows);
    return rows;
}

} // namespace

void layoutWallList(const Tournament& t, PageFrame& frame) {
    const int round = latestSeatedRound(t);
    frame.setCaption(roundCaption(QStringLiteral(u"Рассадка по алфавиту"), std::max(round, 0)));
    if (round < 0)
        return;
    std::vector<QStringList> rows;
    for (const WallRow& w : wallRows(t, round))
        rows.push_back({w.name, w.number >= 0 ? QString::number(w.number) : QString(),
                        w.table >= 0 ? QString::number(w.table + 1) : QString()});
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
    // Readable from a few metres on a landscape page; long names wrap rather than shrink.
    style.points = kWallPoints;
    style.minPoints = kWallPoints;
    style.minStretchMm = 60;
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
