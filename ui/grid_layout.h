#pragma once
// Pure arithmetic of the main window's grid: fitting the column widths to the screen, the window's
// size and place, and where each round's columns go in the overview and with one round widened.
#include <vector>

namespace quelna {

inline constexpr int kRowHeight = 20;
// Narrowest list or seat column the fitting leaves, so a tiny screen still shows a usable grid.
inline constexpr int kMinColumnWidth = 40;
inline constexpr int kWidenedPointsWidth = 60;

struct ColumnWidths {
    int listWidth = 250;
    int seatWidth = 250;
    int pointsWidth = 60;
    int focusListWidth = 250;
    int focusSeatWidth = 250;
    int otherSeatWidth = 250;
    int otherPointsWidth = 60;
    bool listWidthDiffers = false;
};

// The screen's work area, edges as the platform reports them (right and bottom exclusive).
struct WorkArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What the window frame, caption, menu bar and scroll bar take around the client area.
struct NonClient {
    int width = 0;  // scroll bar + two frames
    int height = 0; // menu bar + two frames + caption
};

struct GridGeometry {
    ColumnWidths widths;
    int clientWidth = 0;   // W
    int clientHeight = 0;  // H, the visible part of the grid
    int contentHeight = 0; // the whole grid, scrolled or not
    int scrollMax = 0;     // in rows; 0 when the grid fits
    bool scrolls = false;
    int windowX = 0; // outer position and size
    int windowY = 0;
    int windowWidth = 0;
    int windowHeight = 0;
};

// Overview widths of N players' rounds fitted into the available width a.
void fitOverviewWidths(ColumnWidths& w, int rounds, int available);
// Widened-round widths fitted to the client width W the overview came to.
void fitWidenedWidths(ColumnWidths& w, int rounds, int clientWidth);

GridGeometry computeGridGeometry(int players, int rounds, const WorkArea& area,
                                 const NonClient& frame);

struct RoundColumn {
    int x = 0;
    int seatWidth = 0;
    int pointsWidth = 0;
};

// Player list width for a view: shown 0 is the overview, k widens round k (1-based).
int listWidthFor(const ColumnWidths& w, int shown);
// Columns of every round for that view, left to right.
std::vector<RoundColumn> roundColumns(const ColumnWidths& w, int rounds, int shown);

} // namespace quelna
