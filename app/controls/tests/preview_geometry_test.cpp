#include <gtest/gtest.h>

#include "preview_geometry.h"

namespace {

using namespace preview;

TEST(PreviewLayout, ActualSizeCentresAndDecidesTheBars) {
    const struct {
        const char* name;
        int pictureWidth;
        int pictureHeight;
        bool horizontal;
        bool vertical;
        Rect visible;
    } cases[] = {
        {"small is centred", 100, 50, false, false, {50, 50, 150, 100}},
        {"exact fit", 200, 150, false, false, {0, 0, 200, 150}},
        {"wide, and too tall once the bar shows", 300, 140, true, true, {0, 5, 183, 133}},
        // Centred in the whole client: 15 above, the bar below.
        {"wide only", 300, 120, true, false, {0, 15, 200, 133}},
        {"tall, and too wide once the bar shows", 190, 160, true, true, {5, 0, 183, 133}},
        {"tall only", 150, 400, false, true, {25, 0, 175, 150}},
    };
    for (const auto& c : cases) {
        const Layout layout = ComputeLayout(200, 150, c.pictureWidth, c.pictureHeight, Mode::kActualSize, {});
        EXPECT_EQ(layout.horizontalBar, c.horizontal) << c.name;
        EXPECT_EQ(layout.verticalBar, c.vertical) << c.name;
        EXPECT_FLOAT_EQ(layout.scale, 1.0f) << c.name;
        EXPECT_EQ(layout.visible, c.visible) << c.name;
    }
}

TEST(PreviewLayout, FitScalesTheLongerSideAndCentresTheOther) {
    const Layout wide = ComputeLayout(200, 150, 400, 100, Mode::kFit, {});
    EXPECT_FLOAT_EQ(wide.scale, 0.5f);
    EXPECT_EQ(wide.visible, (Rect{0, 50, 200, 100}));
    EXPECT_FALSE(wide.horizontalBar || wide.verticalBar);
    const Layout tall = ComputeLayout(200, 150, 50, 300, Mode::kFit, {});
    EXPECT_FLOAT_EQ(tall.scale, 0.5f);
    EXPECT_EQ(tall.visible, (Rect{87, 0, 112, 150}));
    const Layout small = ComputeLayout(200, 150, 20, 10, Mode::kFit, {});
    EXPECT_FLOAT_EQ(small.scale, 10.0f);
    EXPECT_EQ(small.visible, (Rect{0, 25, 200, 125}));
    EXPECT_EQ(ComputeLayout(200, 150, 0, 0, Mode::kFit, {}).visible, (Rect{}));
}

TEST(PreviewLayout, ScrollPositionsStayInRangeWhenTheAreaGrows) {
    Layout before = ComputeLayout(200, 150, 1000, 800, Mode::kActualSize, {});
    before.horizontalPosition = before.MaxHorizontal();  // 1000 - 183
    before.verticalPosition = 100;
    // Wider client: the position moves back by the growth (100) and stays in range.
    const Layout after = ComputeLayout(300, 150, 1000, 800, Mode::kActualSize, before);
    EXPECT_EQ(after.horizontalPosition, 817 - 100);
    EXPECT_EQ(after.verticalPosition, 100);
    EXPECT_LE(after.horizontalPosition, after.MaxHorizontal());
    // Large enough for the whole width: the bar goes and its position is 0.
    const Layout whole = ComputeLayout(1100, 150, 1000, 800, Mode::kActualSize, after);
    EXPECT_FALSE(whole.horizontalBar);
    EXPECT_EQ(whole.ShownHorizontal(), 0);
    EXPECT_EQ(ClampPosition(-5, 10), 0);
    EXPECT_EQ(ClampPosition(15, 10), 10);
    EXPECT_EQ(ClampPosition(3, -4), 0);
}

TEST(PreviewSelection, LinesRoundTripThroughTheirPositions) {
    const Layout layouts[] = {
        ComputeLayout(200, 150, 400, 100, Mode::kFit, {}),
        ComputeLayout(200, 150, 100, 50, Mode::kActualSize, {}),
    };
    for (const Layout& layout : layouts) {
        const Selection s{10, 6, 90, 40};
        const Lines lines = PlaceLines(s, layout, true);
        EXPECT_EQ(lines[kTopEdge].Height(), kLineThickness);
        EXPECT_EQ(lines[kLeftEdge].Width(), kLineThickness);
        EXPECT_EQ(lines[kTopEdge].left, lines[kLeftEdge].left);
        EXPECT_EQ(lines[kRightEdge].right, lines[kTopEdge].right);
        const Selection back = SelectionFromLines(lines, layout);
        EXPECT_NEAR(back.left, s.left, 1 / layout.scale);
        EXPECT_NEAR(back.top, s.top, 1 / layout.scale);
        EXPECT_NEAR(back.right, s.right, 1 / layout.scale);
        EXPECT_NEAR(back.bottom, s.bottom, 1 / layout.scale);
    }
}

TEST(PreviewSelection, ScrolledLinesMoveWithThePicture) {
    Layout layout = ComputeLayout(200, 150, 1000, 800, Mode::kActualSize, {});
    layout.horizontalPosition = 50;
    layout.verticalPosition = 30;
    const Lines lines = PlaceLines({100, 100, 200, 150}, layout, true);
    EXPECT_EQ(lines[kTopEdge], (Rect{50, 70, 150, 72}));
    EXPECT_EQ(lines[kBottomEdge], (Rect{50, 118, 150, 120}));
    EXPECT_EQ(lines[kRightEdge], (Rect{148, 70, 150, 120}));
}

TEST(PreviewSelection, DraggingAnEdgeOntoItsOppositeChangesNothing) {
    const Layout layout = ComputeLayout(200, 150, 100, 50, Mode::kActualSize, {});
    Lines lines = PlaceLines({10, 10, 60, 40}, layout, true);
    const Lines before = lines;
    const struct {
        Edge edge;
        int dx;
        int dy;
    } blocked[] = {
        {kTopEdge, 0, 28}, {kTopEdge, 0, 100}, {kBottomEdge, 0, -28}, {kLeftEdge, 48, 0}, {kRightEdge, -48, 0}};
    for (const auto& b : blocked) {
        EXPECT_FALSE(DragLine(lines, b.edge, b.dx, b.dy)) << b.edge;
        EXPECT_EQ(lines, before) << b.edge;
    }
    EXPECT_TRUE(DragLine(lines, kTopEdge, 0, 5));
    EXPECT_EQ(lines[kTopEdge].top, before[kTopEdge].top + 5);
    EXPECT_EQ(lines[kLeftEdge].top, before[kLeftEdge].top + 5);
    EXPECT_EQ(lines[kRightEdge].Height(), before[kRightEdge].Height() - 5);
    EXPECT_TRUE(DragLine(lines, kRightEdge, -4, 0));
    EXPECT_EQ(lines[kBottomEdge].right, before[kBottomEdge].right - 4);
    const Selection s = SelectionFromLines(lines, layout);
    EXPECT_FLOAT_EQ(s.top, 15);
    EXPECT_FLOAT_EQ(s.right, 56);
}

TEST(PreviewSelection, HitTestWidensEachLineAcrossIt) {
    const Layout layout = ComputeLayout(200, 150, 200, 150, Mode::kActualSize, {});
    const Lines lines = PlaceLines({20, 20, 120, 100}, layout, true);
    const struct {
        int x;
        int y;
        Edge expected;
    } cases[] = {{60, 20, kTopEdge},    {60, 18, kTopEdge},  {60, 23, kTopEdge},    {60, 24, kNoEdge},
                 {60, 99, kBottomEdge}, {18, 60, kLeftEdge}, {121, 60, kRightEdge}, {60, 60, kNoEdge}};
    for (const auto& c : cases) {
        EXPECT_EQ(HitTestLines(lines, c.x, c.y), c.expected) << c.x << "," << c.y;
    }
}

TEST(PreviewSelection, DragPointsNearThePictureEdgeAreIgnored) {
    const Layout layout = ComputeLayout(200, 150, 100, 50, Mode::kActualSize, {});  // picture at (50,50)-(150,100)
    EXPECT_TRUE(AcceptsDragPoint(layout, 52, 52));
    EXPECT_TRUE(AcceptsDragPoint(layout, 148, 98));
    EXPECT_FALSE(AcceptsDragPoint(layout, 51, 60));
    EXPECT_FALSE(AcceptsDragPoint(layout, 60, 51));
    EXPECT_FALSE(AcceptsDragPoint(layout, 149, 60));
    EXPECT_FALSE(AcceptsDragPoint(layout, 60, 99));
}

TEST(PreviewSelection, RoundedSelectionStaysInsideThePicture) {
    const struct {
        Selection s;
        Rect expected;
    } cases[] = {
        {{10.4f, 10.5f, 50.49f, 30.5f}, {10, 11, 50, 31}},
        {{-3.0f, 0.4f, 120.0f, 90.0f}, {0, 0, 100, 50}},
        {{0.6f, -0.2f, 100.4f, 50.6f}, {1, 0, 100, 50}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundSelection(c.s, 100, 50), c.expected);
    }
}

TEST(PreviewClick, PointsArePicturePixelsInEitherMode) {
    const Layout fit = ComputeLayout(200, 150, 400, 100, Mode::kFit, {});  // scale 0.5, picture from y 50
    EXPECT_EQ(ClientToPicture(fit, 100, 75), (PicturePoint{200, 50}));
    EXPECT_EQ(ClientToPicture(fit, 199, 99), (PicturePoint{398, 98}));
    EXPECT_EQ(ClientToPicture(fit, 5, 10), (PicturePoint{10, 0}));
    Layout scrolled = ComputeLayout(200, 150, 1000, 800, Mode::kActualSize, {});
    scrolled.horizontalPosition = 40;
    scrolled.verticalPosition = 7;
    EXPECT_EQ(ClientToPicture(scrolled, 10, 20), (PicturePoint{50, 27}));
    const Layout small = ComputeLayout(200, 150, 100, 50, Mode::kActualSize, {});
    EXPECT_EQ(ClientToPicture(small, 190, 140), (PicturePoint{100, 50}));
}

}  // namespace
