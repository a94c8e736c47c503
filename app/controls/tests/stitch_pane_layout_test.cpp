// The picture grid pane's layout: centring, which bars show, scroll ranges
// and the pull-back when the pane grows.
#include <gtest/gtest.h>

#include "stitch_pane_layout.h"

namespace {

using stitch_pane::LayOut;
using stitch_pane::ScrollCode;

TEST(StitchPaneLayout, CentresOrShowsTheBarsTheGridNeeds) {
    const struct {
        const char* what;
        int width, height, gridWidth, gridHeight;
        bool horizontal, vertical;
        int offsetX, offsetY;
    } cases[] = {
        {"smaller grid centred", 400, 300, 200, 100, false, false, 100, 100},
        {"odd difference rounds down", 401, 300, 200, 299, false, false, 100, 0},
        {"exactly the pane", 400, 300, 400, 300, false, false, 0, 0},
        {"wider, low enough", 400, 300, 600, 200, true, false, 0, 50},
        {"wider, the bar makes it too tall", 400, 300, 600, 290, true, true, 0, 5},
        {"taller, narrow enough", 400, 300, 300, 500, false, true, 50, 0},
        {"taller, the bar makes it too wide", 400, 300, 390, 500, true, true, 5, 0},
        {"larger both ways", 400, 300, 800, 900, true, true, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const stitch_pane::Layout layout = LayOut(c.width, c.height, c.gridWidth, c.gridHeight, 0, 0, c.width, c.height);
        EXPECT_EQ(layout.horizontal, c.horizontal);
        EXPECT_EQ(layout.vertical, c.vertical);
        EXPECT_EQ(layout.offsetX, c.offsetX);
        EXPECT_EQ(layout.offsetY, c.offsetY);
        EXPECT_EQ(layout.visibleWidth, c.width - (c.vertical ? 16 : 0));
        EXPECT_EQ(layout.visibleHeight, c.height - (c.horizontal ? 16 : 0));
        // Bars along the right and bottom edges, leaving the corner free.
        EXPECT_EQ(layout.verticalBar, (stitch_pane::Box{c.width - 16, 0, 16, layout.visibleHeight}));
        EXPECT_EQ(layout.horizontalBar, (stitch_pane::Box{0, c.height - 16, layout.visibleWidth, 16}));
    }
}

TEST(StitchPaneLayout, ScrollPositionsStayWithinTheGridAndFollowGrowth) {
    const struct {
        const char* what;
        int width, height, gridWidth, gridHeight, scrollX, scrollY, lastWidth, lastHeight;
        int expectX, expectY;
    } cases[] = {
        {"kept", 400, 300, 1000, 200, 120, 0, 400, 300, 120, 0},
        {"clamped to the end", 400, 300, 1000, 200, 900, 0, 400, 300, 600, 0},
        {"no bar, no scroll", 400, 300, 300, 200, 50, 40, 400, 300, 0, 0},
        // Scrolled to the far right (600 of 1000 in 400), the pane grows by
        // 100: the grid's right edge stays at the pane's edge.
        {"grown after scrolling to the end", 500, 300, 1000, 200, 600, 0, 400, 300, 500, 0},
        {"shrunk keeps the position", 300, 300, 1000, 200, 250, 0, 400, 300, 250, 0},
        {"grown both ways", 500, 500, 1000, 1000, 400, 300, 400, 300, 300, 100},
        {"negative clamped", 400, 300, 1000, 200, -20, 0, 400, 300, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const stitch_pane::Layout layout =
            LayOut(c.width, c.height, c.gridWidth, c.gridHeight, c.scrollX, c.scrollY, c.lastWidth, c.lastHeight);
        EXPECT_EQ(layout.scrollX, c.expectX);
        EXPECT_EQ(layout.scrollY, c.expectY);
        if (layout.horizontal) {
            EXPECT_EQ(layout.scrollX + layout.visibleWidth <= c.gridWidth, true);
        }
    }
}

TEST(StitchPaneLayout, ScrollActions) {
    const struct {
        ScrollCode code;
        int position, thumb;
        int expect;
    } cases[] = {
        {ScrollCode::kLineBack, 20, 0, 15},    {ScrollCode::kLineBack, 3, 0, 0},
        {ScrollCode::kLineForward, 20, 0, 25}, {ScrollCode::kLineForward, 598, 0, 600},
        {ScrollCode::kThumb, 20, 333, 333},    {ScrollCode::kThumb, 20, 900, 600},
        {ScrollCode::kStart, 250, 0, 0},       {ScrollCode::kEnd, 20, 0, 600},
        {ScrollCode::kPageBack, 250, 0, 250},  {ScrollCode::kPageForward, 250, 0, 250},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stitch_pane::Scroll(c.code, c.position, c.thumb, 1000, 400), c.expect)
            << static_cast<int>(c.code) << " from " << c.position;
    }
}

}  // namespace
