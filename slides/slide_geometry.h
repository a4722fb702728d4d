#pragma once
// Pixel geometry of the slides. Pure integer arithmetic: every division truncates, so the
// numbers come out the same on every machine for a given screen size.

namespace quelna {

// Margins and band heights shared by every kind of slide.
struct BandGeometry {
    int width = 0;  // W, the monitor's width
    int height = 0; // H
    int margin = 0; // left and right margin
    int gap = 0;    // vertical gap, used per kind
    int band = 0;   // height of the title band and of the round band
    int titleFontHeight = 0;
    int roundFontHeight = 0;
};

BandGeometry bandGeometry(int width, int height);

// A grid of table cards (seating and round results).
struct CardGeometry {
    BandGeometry bands;
    int tablesX = 0;
    int tablesY = 0;
    int cardW = 0;
    int cardH = 0;
    int rowH = 0;  // one seat row
    int capH = 0;  // the caption row with the table number
    int nameW = 0; // name column; the value column takes the rest of the card
    int captionFontHeight = 0;
    int cellFontHeight = 0;

    int cardX(int column) const { return bands.margin + column * (bands.margin + cardW); }
    int cardY(int row) const { return 2 * bands.band + row * (cardH + bands.gap); }
};

// resultsColumn: the value column shows points (wider) instead of start numbers.
CardGeometry cardGeometry(int width, int height, int tablesX, int tablesY, bool resultsColumn);

enum class ListColumns { WithNextTable, Players, Teams };

// A ranked list with a heading row (standings of players or teams).
struct ListGeometry {
    BandGeometry bands;
    int lines = 0;
    int innerW = 0;
    int y0 = 0;    // top of the list frame
    int areaH = 0; // height of the list frame
    int rowH = 0;  // one data line
    int hdrH = 0;  // the heading row; absorbs the rounding
    int placeW = 0;
    int numberW = 0;
    int nameW = 0;
    int totalW = 0;
    int nextW = 0;                      // 0 unless the list has the next-table column
    int x1 = 0, x2 = 0, x3 = 0, x4 = 0; // column boundaries
    int captionFontHeight = 0;          // headings
    int cellFontHeight = 0;
};

ListGeometry listGeometry(int width, int height, int lines, ListColumns columns, bool roundBand);

// Pages needed for entries at perPage a page; 0 entries need no page.
int pagesFor(int entries, int perPage);

} // namespace quelna
