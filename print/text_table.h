#pragma once
// A ruled table of text for paper: columns sized to their contents, one column (or more) taking
// the rest of the width, cells wrapping instead of clipping, and rows split over pages with the
// heading repeated on each.
#include <QPointF>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "print/print_text.h"

class QPainter;
class QPaintDevice;

namespace quelna {

struct TableColumn {
    QString heading;
    Qt::Alignment align = Qt::AlignLeft;
    bool stretch = false;  // shares the width the other columns leave
    double maxWidthMm = 0; // other columns: at most this wide (0: as wide as their texts)
    bool bold = false;
    double minWidthMm = 0; // a column to write into (points, signatures) is at least this wide
};

struct TableStyle {
    double points = 10;       // font size to start from
    double minPoints = 7;     // the font shrinks no further to make room
    double minStretchMm = 35; // what every stretching column needs at least
    int maxLines = 2;         // lines a cell may take before its font shrinks
    double minRowHeightMm = 0;
    bool zebra = false; // every other row shaded, to follow a long row with the eye
};

class TextTable {
  public:
    TextTable(std::vector<TableColumn> columns, std::vector<QStringList> rows);

    // Sizes columns and rows for the given width in device pixels.
    void layout(QPaintDevice* device, double width, const TableStyle& style);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    double headingHeight() const { return headingHeight_; }
    double rowHeight(int row) const { return rowHeights_[row]; }
    // Height of the heading plus rows [first, last).
    double height(int first, int last) const;
    double pointSize() const { return points_; }

    // Splits the rows into runs that each fit, with the heading, into one page's height; the
    // first run may be given less room. A row taller than a page gets a page of its own.
    std::vector<std::pair<int, int>> paginate(double firstHeight, double height) const;

    // Draws the heading and rows [first, last) from topLeft; returns the height drawn.
    double draw(QPainter& p, QPointF topLeft, int first, int last) const;

  private:
    double padding() const;

    std::vector<TableColumn> columns_;
    std::vector<QStringList> rows_;
    QPaintDevice* device_ = nullptr;
    TableStyle style_;
    double points_ = 10;
    std::vector<double> widths_;
    std::vector<FittedText> headings_;
    std::vector<std::vector<FittedText>> cells_;
    std::vector<double> rowHeights_;
    double headingHeight_ = 0;
};

} // namespace quelna
