#include "slides/slide_geometry.h"

namespace quelna {

BandGeometry bandGeometry(int width, int height) {
    BandGeometry g;
    g.width = width;
    g.height = height;
    g.margin = width * 20 / 1000;
    g.gap = height * 30 / 1000;
    g.band = height * 70 / 1000;
    g.titleFontHeight = g.band * 70 / 100;
    g.roundFontHeight = g.band * 80 / 100;
    return g;
}

CardGeometry cardGeometry(int width, int height, int tablesX, int tablesY, bool resultsColumn) {
    CardGeometry g;
    g.bands = bandGeometry(width, height);
    g.tablesX = tablesX;
    g.tablesY = tablesY;
    const BandGeometry& b = g.bands;
    g.cardW = (width - b.margin * (tablesX + 1)) / tablesX;
    g.cardH = (height - tablesY * b.gap - 2 * b.band) / tablesY;
    g.rowH = g.cardH * 75 / 400;
    g.capH = g.cardH - 4 * g.rowH;
    g.nameW = g.cardW * (resultsColumn ? 75 : 85) / 100;
    g.captionFontHeight = g.capH * 80 / 100;
    g.cellFontHeight = g.rowH * 60 / 100;
    return g;
}

ListGeometry listGeometry(int width, int height, int lines, ListColumns columns, bool roundBand) {
    ListGeometry g;
    g.bands = bandGeometry(width, height);
    g.lines = lines;
    const BandGeometry& b = g.bands;
    const int bands = roundBand ? 2 : 1;
    g.innerW = width - 2 * b.margin;
    g.areaH = height - 2 * b.gap - bands * b.band;
    g.y0 = b.gap + bands * b.band;
    g.rowH = (g.areaH - g.areaH * 10 / 100) / lines;
    g.hdrH = g.areaH - lines * g.rowH;

    g.placeW = g.innerW * 13 / 100;
    g.numberW = g.innerW * 10 / 100;
    g.nameW = g.innerW * 55 / 100;
    if (columns == ListColumns::WithNextTable) {
        g.totalW = g.innerW * 15 / 100;
        g.nextW = g.innerW - g.placeW - g.numberW - g.nameW - g.totalW;
    } else {
        g.totalW = g.innerW - g.placeW - g.numberW - g.nameW;
    }
    g.x1 = b.margin + g.placeW;
    g.x2 = g.x1 + g.numberW;
    g.x3 = g.x2 + g.nameW;
    g.x4 = g.x3 + g.totalW;

    g.captionFontHeight = g.hdrH * 40 / 100;
    g.cellFontHeight = g.rowH * 80 / 100;
    return g;
}

int pagesFor(int entries, int perPage) {
    if (entries <= 0 || perPage <= 0)
        return 0;
    return entries / perPage + (entries % perPage != 0 ? 1 : 0);
}

} // namespace quelna
