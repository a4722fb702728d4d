#include <gtest/gtest.h>

#include "ui/grid_layout.h"

namespace quelna {
namespace {

// Right edge of the last round's columns plus the trailing 20-pixel gap.
int layoutWidth(const ColumnWidths& w, int rounds, int shown) {
    const RoundColumn last = roundColumns(w, rounds, shown).back();
    return last.x + last.seatWidth + last.pointsWidth + 20;
}

const NonClient kFrame{20, 50};

TEST(GridLayout, LargeWorkAreaKeepsInitialWidthsAndDoesNotScroll) {
    const GridGeometry g = computeGridGeometry(12, 2, WorkArea{0, 0, 2560, 1400}, kFrame);
    EXPECT_EQ(g.widths.listWidth, 250);
    EXPECT_EQ(g.widths.seatWidth, 250);
    EXPECT_EQ(g.widths.pointsWidth, 60);
    EXPECT_EQ(g.widths.focusListWidth, 250);
    EXPECT_EQ(g.widths.otherSeatWidth, 250);
    EXPECT_EQ(g.widths.otherPointsWidth, 60);
    EXPECT_FALSE(g.widths.listWidthDiffers);
    EXPECT_FALSE(g.scrolls);
    EXPECT_EQ(g.scrollMax, 0);
    EXPECT_EQ(g.clientWidth, 250 + 2 * 330 + 70);
    EXPECT_EQ(g.clientHeight, (12 + 3 + 2) * 20);
    // Centred in the work area with the frame around it.
    EXPECT_EQ(g.windowX, (2560 - 20 - g.clientWidth) / 2);
    EXPECT_EQ(g.windowY, (1400 - g.clientHeight - 50) / 2);
    EXPECT_EQ(g.windowWidth, g.clientWidth + 20);
    EXPECT_EQ(g.windowHeight, g.clientHeight + 50);
}

TEST(GridLayout, TallTournamentScrollsByWholeRows) {
    const WorkArea area{0, 40, 1900, 1040}; // 1000 pixels high, below a top panel
    const GridGeometry g = computeGridGeometry(200, 4, area, kFrame);
    const int v = (1000 - 50 - 40) / 20;
    EXPECT_TRUE(g.scrolls);
    EXPECT_EQ(g.scrollMax, 250 - v);
    EXPECT_EQ(g.clientHeight, v * 20 + 40);
    EXPECT_EQ(g.contentHeight, 252 * 20);
    EXPECT_EQ(g.windowY, 40 + (1000 - g.clientHeight - 50) / 2);
}

TEST(GridLayout, SeatColumnsShrinkBeforePointsColumns) {
    ColumnWidths w;
    fitOverviewWidths(w, 4, 1203);
    EXPECT_EQ(w.pointsWidth, 60);
    EXPECT_EQ(w.seatWidth, (1203 - 4 * 80 - 250 - 70) / 4);
    // The list takes the pixels the division dropped.
    EXPECT_EQ(w.listWidth, 253);
    EXPECT_EQ(layoutWidth(w, 4, 0), 1203);

    const int cw = w.listWidth + 4 * (w.pointsWidth + w.seatWidth + 20) + 70;
    fitWidenedWidths(w, 4, cw);
    EXPECT_EQ(w.focusListWidth, 250);
    EXPECT_EQ(w.otherPointsWidth, 60);
    EXPECT_EQ(w.otherSeatWidth, (cw - 80 - 3 * 60 - 250 - 250 - 130) / 3);
    EXPECT_TRUE(w.listWidthDiffers);
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(layoutWidth(w, 4, k), cw) << "widened round " << k;
}

TEST(GridLayout, NarrowScreenDropsOverviewPointsButWidenedRoundKeepsThem) {
    const GridGeometry g = computeGridGeometry(48, 12, WorkArea{0, 0, 1020, 700}, kFrame);
    const ColumnWidths& w = g.widths;
    EXPECT_EQ(w.pointsWidth, 0);
    EXPECT_GE(w.seatWidth, 40);
    EXPECT_EQ(w.otherPointsWidth, 0);
    EXPECT_EQ(g.clientWidth, 1000);
    EXPECT_EQ(layoutWidth(w, 12, 0), g.clientWidth);
    for (int k = 1; k <= 12; ++k) {
        const std::vector<RoundColumn> c = roundColumns(w, 12, k);
        EXPECT_EQ(c[k - 1].pointsWidth, 60);
        EXPECT_GE(c[k - 1].seatWidth, 40);
        EXPECT_EQ(layoutWidth(w, 12, k), g.clientWidth);
    }
}

TEST(GridLayout, FittedWidthsFillTheWindowAcrossSizes) {
    for (int rounds : {2, 3, 5, 8, 12}) {
        for (int width : {900, 1280, 1600, 1920, 2560, 3840}) {
            const GridGeometry g =
                computeGridGeometry(100, rounds, WorkArea{0, 0, width, 1000}, kFrame);
            const ColumnWidths& w = g.widths;
            SCOPED_TRACE(testing::Message() << rounds << " rounds, " << width << " px");
            EXPECT_GE(w.listWidth, 40);
            EXPECT_GE(w.seatWidth, 40);
            EXPECT_GE(w.focusListWidth, 40);
            EXPECT_GE(w.focusSeatWidth, 40);
            EXPECT_GE(w.otherSeatWidth, 40);
            if (w.listWidth > 40) {
                EXPECT_EQ(layoutWidth(w, rounds, 0), g.clientWidth);
            }
            if (w.focusSeatWidth > 40) {
                EXPECT_EQ(layoutWidth(w, rounds, rounds), g.clientWidth);
            }
            EXPECT_EQ(w.listWidthDiffers, w.focusListWidth != w.listWidth);
        }
    }
}

TEST(GridLayout, TinyWorkAreaKeepsUsableColumns) {
    const GridGeometry g = computeGridGeometry(200, 12, WorkArea{0, 0, 320, 240}, kFrame);
    EXPECT_EQ(g.widths.listWidth, 40);
    EXPECT_EQ(g.widths.seatWidth, 40);
    EXPECT_EQ(g.widths.focusListWidth, 40);
    EXPECT_GE(g.widths.focusSeatWidth, 40);
    EXPECT_GE(g.clientHeight, 60); // at least one row besides header and footer
    EXPECT_EQ(g.scrollMax, 250 - (g.clientHeight - 40) / 20);
}

TEST(GridLayout, RoundColumnsOfWidenedView) {
    ColumnWidths w;
    w.listWidth = 200;
    w.seatWidth = 100;
    w.pointsWidth = 30;
    w.focusListWidth = 180;
    w.focusSeatWidth = 300;
    w.otherSeatWidth = 80;
    w.otherPointsWidth = 10;
    const std::vector<RoundColumn> overview = roundColumns(w, 3, 0);
    EXPECT_EQ(overview[0].x, 270);
    EXPECT_EQ(overview[1].x, 270 + 150);
    EXPECT_EQ(overview[2].seatWidth, 100);
    const std::vector<RoundColumn> second = roundColumns(w, 3, 2);
    EXPECT_EQ(second[0].x, 250);
    EXPECT_EQ(second[0].seatWidth, 80);
    EXPECT_EQ(second[0].pointsWidth, 10);
    EXPECT_EQ(second[1].x, 250 + 110);
    EXPECT_EQ(second[1].seatWidth, 300);
    EXPECT_EQ(second[1].pointsWidth, 60);
    EXPECT_EQ(second[2].x, 250 + 110 + 380);
    EXPECT_EQ(listWidthFor(w, 0), 200);
    EXPECT_EQ(listWidthFor(w, 3), 180);
}

} // namespace
} // namespace quelna
