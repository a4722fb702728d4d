#include "ui/grid_layout.h"

#include <algorithm>

namespace quelna {

void fitOverviewWidths(ColumnWidths& w, int rounds, int available) {
    const int r = rounds;
    const int a = available;
    int& l = w.listWidth;
    int& s = w.seatWidth;
    int& p = w.pointsWidth;
    if (r * (p + s + 20) + l + 70 <= a)
        return;
    if (r * (p + 60) + l + 70 <= a) {
        s = (a - r * (p + 20) - l - 70) / r;
    } else {
        p = 0;
        s = (r * 60 + l + 70 <= a) ? (a - 20 * r - l - 70) / r : kMinColumnWidth;
    }
    // The list takes what is left, so the overview fills the width exactly - unless the screen is
    // too narrow even for the narrowest seats.
    l = std::max(kMinColumnWidth, a - r * (p + s + 20) - 70);
}

void fitWidenedWidths(ColumnWidths& w, int rounds, int clientWidth) {
    const int r = rounds;
    const int cw = clientWidth;
    int& fl = w.focusListWidth;
    int& fs = w.focusSeatWidth;
    int& os = w.otherSeatWidth;
    int& op = w.otherPointsWidth;
    if (!(w.seatWidth >= 250 && w.pointsWidth >= 60)) {
        if ((r - 1) * (op + 40) + 20 * r + fs + fl + 130 <= cw) {
            os = (cw - 20 * r - (r - 1) * op - fs - fl - 130) / (r - 1);
        } else {
            os = 40;
            op = 0;
            if (40 * (r - 1) + 20 * r + fs + fl + 130 <= cw)
                os = (cw - 20 * r - fs - fl - 130) / (r - 1);
            else if (40 * (r - 1) + 20 * r + fs + 170 <= cw)
                fl = cw - 20 * r - 40 * (r - 1) - fs - 130;
            else
                fl = kMinColumnWidth;
        }
    }
    w.listWidthDiffers = fl != w.listWidth;
    fs = std::max(kMinColumnWidth, cw - 20 * r - (r - 1) * (os + op) - fl - 130);
}

GridGeometry computeGridGeometry(int players, int rounds, const WorkArea& area,
                                 const NonClient& frame) {
    GridGeometry g;
    const int n = players;
    const int rows = n + n / 4;
    int h = (rows + 2) * kRowHeight;
    g.contentHeight = h;
    const int v = area.bottom - area.top - frame.height;
    if (v < h) {
        // Never fewer than one visible row, whatever the screen says.
        const int visible = std::max(1, (v - 40) / kRowHeight);
        g.scrollMax = std::max(0, rows - visible);
        g.scrolls = g.scrollMax > 0;
        h = visible * kRowHeight + 40;
    }
    g.clientHeight = h;

    fitOverviewWidths(g.widths, rounds, area.right - area.left - frame.width);
    const ColumnWidths& w = g.widths;
    g.clientWidth = w.listWidth + rounds * (w.pointsWidth + w.seatWidth + 20) + 70;
    fitWidenedWidths(g.widths, rounds, g.clientWidth);

    g.windowX = area.left + (area.right - area.left - frame.width - g.clientWidth) / 2;
    g.windowY = area.top + (area.bottom - area.top - h - frame.height) / 2;
    g.windowWidth = frame.width + g.clientWidth;
    g.windowHeight = h + frame.height;
    return g;
}

int listWidthFor(const ColumnWidths& w, int shown) {
    return shown == 0 ? w.listWidth : w.focusListWidth;
}

std::vector<RoundColumn> roundColumns(const ColumnWidths& w, int rounds, int shown) {
    std::vector<RoundColumn> columns(rounds);
    int x = listWidthFor(w, shown) + 70;
    for (int r = 0; r < rounds; ++r) {
        RoundColumn& c = columns[r];
        c.x = x;
        if (shown == 0) {
            c.seatWidth = w.seatWidth;
            c.pointsWidth = w.pointsWidth;
        } else if (r == shown - 1) {
            c.seatWidth = w.focusSeatWidth;
            c.pointsWidth = kWidenedPointsWidth;
        } else {
            c.seatWidth = w.otherSeatWidth;
            c.pointsWidth = w.otherPointsWidth;
        }
        x += c.seatWidth + c.pointsWidth + 20;
    }
    return columns;
}

} // namespace quelna
