#include "print/text_table.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <numeric>

namespace quelna {

TextTable::TextTable(std::vector<TableColumn> columns, std::vector<QStringList> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

double TextTable::padding() const {
    return 1.2 * device_->logicalDpiX() / 25.4;
}

void TextTable::layout(QPaintDevice* device, double width, const TableStyle& style) {
    device_ = device;
    style_ = style;
    const double mm = device->logicalDpiX() / 25.4;
    const double pad = padding();
    const int n = static_cast<int>(columns_.size());
    const int stretching = static_cast<int>(
        std::count_if(columns_.begin(), columns_.end(), [](const auto& c) { return c.stretch; }));

    // The largest font at which every stretching column keeps its minimum width.
    for (points_ = style.points;; points_ -= 0.5) {
        const QFont font = printFont(points_);
        const QFont bold = printFont(points_, true);
        widths_.assign(n, 0);
        double fixed = 0;
        for (int c = 0; c < n; ++c) {
            const TableColumn& col = columns_[c];
            if (col.stretch)
                continue;
            double w = textWidth(col.heading, bold, device);
            for (const QStringList& row : rows_)
                if (c < row.size())
                    w = std::max(w, textWidth(row[c], col.bold ? bold : font, device));
            // A little slack: layout and measurement may round a hair apart, and a text that
            // just fits must not wrap.
            w = std::max(w + 2 * pad + 0.5 * mm, col.minWidthMm * mm);
            if (col.maxWidthMm > 0)
                w = std::min(w, col.maxWidthMm * mm);
            widths_[c] = w;
            fixed += w;
        }
        const double left = width - fixed;
        if (stretching == 0 || left >= stretching * style.minStretchMm * mm ||
            points_ - 0.5 < style.minPoints) {
            if (stretching > 0 && left < stretching * style.minStretchMm * mm) {
                // Even the smallest font leaves too little: the fixed columns give way in
                // proportion and their texts wrap.
                const double scale = std::max(0.0, width - stretching * style.minStretchMm * mm) /
                                     std::max(fixed, 1.0);
                for (int c = 0; c < n; ++c)
                    if (!columns_[c].stretch)
                        widths_[c] *= scale;
                fixed *= scale;
            }
            for (int c = 0; c < n; ++c)
                if (columns_[c].stretch)
                    widths_[c] = std::max(0.0, width - fixed) / stretching;
            if (stretching == 0 && fixed < width) {
                // No stretching column: the spare width goes to the last one.
                widths_[n - 1] += width - fixed;
            }
            break;
        }
    }

    const QFont font = printFont(points_);
    const QFont bold = printFont(points_, true);
    headings_.clear();
    headingHeight_ = 0;
    for (int c = 0; c < n; ++c) {
        headings_.push_back(
            fitText(columns_[c].heading, bold, widths_[c] - 2 * pad, 2, style.minPoints, device));
        headingHeight_ = std::max(headingHeight_, headings_.back().height() + 2 * pad);
    }
    cells_.assign(rows_.size(), {});
    rowHeights_.assign(rows_.size(), 0);
    for (size_t r = 0; r < rows_.size(); ++r) {
        double h = style.minRowHeightMm * mm;
        for (int c = 0; c < n; ++c) {
            const QString text = c < rows_[r].size() ? rows_[r][c] : QString();
            cells_[r].push_back(fitText(text, columns_[c].bold ? bold : font, widths_[c] - 2 * pad,
                                        style.maxLines, style.minPoints, device));
            h = std::max(h, cells_[r].back().height() + 1.4 * pad);
        }
        rowHeights_[r] = h;
    }
}

double TextTable::height(int first, int last) const {
    return headingHeight_ +
           std::accumulate(rowHeights_.begin() + first, rowHeights_.begin() + last, 0.0);
}

std::vector<std::pair<int, int>> TextTable::paginate(double firstHeight, double height) const {
    std::vector<std::pair<int, int>> runs;
    int first = 0;
    double room = firstHeight;
    while (first < rowCount()) {
        int last = first;
        double used = headingHeight_;
        while (last < rowCount() && used + rowHeights_[last] <= room) {
            used += rowHeights_[last];
            ++last;
        }
        if (last == first) {
            if (room < height) { // the short first room: start on a full page instead
                runs.emplace_back(first, first);
                room = height;
                continue;
            }
            last = first + 1;
        }
        runs.emplace_back(first, last);
        first = last;
        room = height;
    }
    return runs;
}

double TextTable::draw(QPainter& p, QPointF topLeft, int first, int last) const {
    const double pad = padding();
    const double total = std::accumulate(widths_.begin(), widths_.end(), 0.0);
    const double h = height(first, last);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xdd, 0xdd, 0xdd));
    p.drawRect(QRectF(topLeft, QSizeF(total, headingHeight_)));
    if (style_.zebra) {
        p.setBrush(QColor(0xf0, 0xf0, 0xf0));
        double y = topLeft.y() + headingHeight_;
        for (int r = first; r < last; ++r) {
            if ((r - first) % 2 == 1)
                p.drawRect(QRectF(topLeft.x(), y, total, rowHeights_[r]));
            y += rowHeights_[r];
        }
    }
    p.restore();

    double x = topLeft.x();
    for (size_t c = 0; c < widths_.size(); ++c) {
        drawFitted(p, headings_[c],
                   QRectF(x + pad, topLeft.y(), widths_[c] - 2 * pad, headingHeight_),
                   columns_[c].align);
        x += widths_[c];
    }
    double y = topLeft.y() + headingHeight_;
    for (int r = first; r < last; ++r) {
        x = topLeft.x();
        for (size_t c = 0; c < widths_.size(); ++c) {
            drawFitted(p, cells_[r][c], QRectF(x + pad, y, widths_[c] - 2 * pad, rowHeights_[r]),
                       columns_[c].align);
            x += widths_[c];
        }
        y += rowHeights_[r];
        if (r + 1 < last)
            p.drawLine(QPointF(topLeft.x(), y), QPointF(topLeft.x() + total, y));
    }

    p.save();
    QPen pen = p.pen();
    pen.setWidthF(pen.widthF() * 1.6);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(topLeft, QSizeF(total, h)));
    p.drawLine(QPointF(topLeft.x(), topLeft.y() + headingHeight_),
               QPointF(topLeft.x() + total, topLeft.y() + headingHeight_));
    p.restore();
    x = topLeft.x();
    for (size_t c = 0; c + 1 < widths_.size(); ++c) {
        x += widths_[c];
        p.drawLine(QPointF(x, topLeft.y()), QPointF(x, topLeft.y() + h));
    }
    return h;
}

} // namespace quelna
