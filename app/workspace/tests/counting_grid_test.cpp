#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "counting_grid.h"

namespace {

// A 40 x 30 picture at zoom 1, centred at (80, 60) in a 200 x 150 window.
GridPlacement Centred() {
    GridPlacement p;
    p.pictureWidth = 40;
    p.pictureHeight = 30;
    p.zoom = 1.0f;
    p.zoomedWidth = 40;
    p.zoomedHeight = 30;
    p.centreX = 80;
    p.centreY = 60;
    return p;
}

std::vector<std::int32_t> Rows(const std::vector<GridSegment>& lines) {
    std::vector<std::int32_t> ys;
    for (const GridSegment& s : lines) {
        if (s.y1 == s.y2) {
            ys.push_back(s.y1);
        }
    }
    return ys;
}

std::vector<std::int32_t> Columns(const std::vector<GridSegment>& lines) {
    std::vector<std::int32_t> xs;
    for (const GridSegment& s : lines) {
        if (s.x1 == s.x2) {
            xs.push_back(s.x1);
        }
    }
    return xs;
}

TEST(CountingGridTest, LinesAfterEveryWholeCellSpanThePicture) {
    const auto lines = CountingGridLines(Centred(), 10.0f, 10.0f);
    const std::vector<GridSegment> expected = {
        {80, 70, 120, 70}, {80, 80, 120, 80},  {80, 90, 120, 90},                       // rows
        {90, 60, 90, 90},  {100, 60, 100, 90}, {110, 60, 110, 90}, {120, 60, 120, 90},  // columns
    };
    EXPECT_EQ(lines, expected);
}

TEST(CountingGridTest, NoLineBeyondTheLastWholeCell) {
    GridPlacement p = Centred();
    p.pictureWidth = p.zoomedWidth = 45;  // 4 whole cells of 10 and a part
    p.pictureHeight = p.zoomedHeight = 29;
    const auto lines = CountingGridLines(p, 10.0f, 10.0f);
    EXPECT_EQ(Columns(lines), (std::vector<std::int32_t>{90, 100, 110, 120}));
    EXPECT_EQ(Rows(lines), (std::vector<std::int32_t>{70, 80}));
}

TEST(CountingGridTest, CellsBelowOnePixelDrawAsOnePixel) {
    struct Case {
        float cell;
        float drawnAs;
    };
    for (const Case k : {Case{0.5f, 1.0f}, Case{0.0f, 1.0f}, Case{-3.0f, 1.0f},
                         Case{std::numeric_limits<float>::quiet_NaN(), 1.0f}, Case{2.5f, 2.5f}}) {
        EXPECT_EQ(GridCellSize(k.cell), k.drawnAs) << k.cell;
        EXPECT_EQ(CountingGridLines(Centred(), k.cell, k.cell), CountingGridLines(Centred(), k.drawnAs, k.drawnAs))
            << k.cell;
    }
    // Every pixel row and column of the 40 x 30 picture.
    const auto lines = CountingGridLines(Centred(), 0.5f, 0.5f);
    EXPECT_EQ(Rows(lines).size(), 30u);
    EXPECT_EQ(Columns(lines).size(), 40u);
}

TEST(CountingGridTest, CellsLargerThanThePictureDrawNothing) {
    for (const float cell : {41.0f, 1e30f, std::numeric_limits<float>::infinity()}) {
        EXPECT_TRUE(CountingGridLines(Centred(), cell, cell).empty()) << cell;
    }
    GridPlacement empty = Centred();
    empty.pictureWidth = empty.pictureHeight = empty.zoomedWidth = empty.zoomedHeight = 0;
    EXPECT_TRUE(CountingGridLines(empty, 10.0f, 10.0f).empty());
}

TEST(CountingGridTest, ZoomTruncatesEachLineOnItsOwn) {
    GridPlacement p = Centred();
    p.centreX = p.centreY = 0;
    p.zoom = 1.5f;
    p.zoomedWidth = 60;
    p.zoomedHeight = 45;
    // Screen step 3.3 x 1.5 = 4.95: lines at trunc(4.95 i), not at i x 4.
    const auto lines = CountingGridLines(p, 3.3f, 3.3f);
    const std::vector<std::int32_t> xs = Columns(lines);
    ASSERT_GE(xs.size(), 4u);
    EXPECT_EQ((std::vector<std::int32_t>(xs.begin(), xs.begin() + 4)), (std::vector<std::int32_t>{4, 9, 14, 19}));
    EXPECT_EQ(xs.size(), 12u);  // 40 / trunc(3.3) = 13 cells, the 13th lies beyond the picture
}

TEST(CountingGridTest, ScrolledLinesSkipTheWindowEdgeAndStopAtThePictureEnd) {
    GridPlacement p;
    p.pictureWidth = p.zoomedWidth = 400;
    p.pictureHeight = p.zoomedHeight = 300;
    p.scrollX = 150;
    p.scrollY = 100;
    const auto lines = CountingGridLines(p, 10.0f, 10.0f);
    const std::vector<std::int32_t> ys = Rows(lines);
    ASSERT_FALSE(ys.empty());
    EXPECT_EQ(ys.front(), 10);  // rows at y <= 0 are scrolled away
    EXPECT_EQ(ys.back(), 200);  // the picture's bottom edge in the window
    EXPECT_EQ(ys.size(), 20u);
    const std::vector<std::int32_t> xs = Columns(lines);
    EXPECT_EQ(xs.front(), 10);
    EXPECT_EQ(xs.back(), 250);
    // Each line runs across the whole picture, scrolled.
    EXPECT_EQ(lines.front(), (GridSegment{-150, 10, 250, 10}));
    EXPECT_EQ(lines.back(), (GridSegment{250, -100, 250, 200}));
}

}  // namespace
