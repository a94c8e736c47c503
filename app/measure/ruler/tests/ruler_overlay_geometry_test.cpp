#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ruler_overlay_geometry.h"

namespace {

// 0.5 μm per pixel, a tick every 10 μm, a frame of 200 by 100 shown 1:1.
RulerAxisInput HalfMicronLine() {
    RulerAxisInput in;
    in.spacing = 10;
    in.scale = 0.5;
    in.zoom = 1.0;
    in.frameAlong = 200;
    in.displayAlong = 200;
    in.displayAcross = 100;
    in.linePosition = 60;
    return in;
}

TEST(RulerOverlayGeometryTest, TicksTwentyPixelsApartLongerEveryFifthLongestEveryTenth) {
    const RulerLine line = LayOutRulerLine(HalfMicronLine());
    EXPECT_EQ(line.across, 60);
    EXPECT_EQ(line.lineFrom, 0);
    EXPECT_EQ(line.lineTo, 200);
    ASSERT_EQ(line.ticks.size(), 10u);
    for (std::size_t i = 0; i < line.ticks.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const int reach = n == 10 ? 7 : n == 5 ? 5 : 3;
        EXPECT_EQ(line.ticks[i].along, 20 * n) << n;
        EXPECT_EQ(line.ticks[i].from, 60 - reach) << n;
        EXPECT_EQ(line.ticks[i].to, 60 + reach) << n;
    }
}

TEST(RulerOverlayGeometryTest, SpacingFollowsScaleAndZoom) {
    const struct {
        int spacing;
        double scale;
        double zoom;
        int firstTick;
        std::size_t ticks;
    } cases[] = {
        {10, 0.5, 2.0, 40, 5},     // 200 display pixels hold 5 of 10 ticks
        {10, 0.5, 0.5, 10, 10},    // the frame holds 10
        {1, 0.001, 1.0, 1000, 0},  // a spacing wider than the display
        {1, 100.0, 1.0, 1, 200},   // 0.01 pixel apart: at least 1
        {10, 0.0, 1.0, 10, 20},    // a scale of 0 is 1
        {10, -2.0, 1.0, 10, 20},  {10, std::numeric_limits<double>::quiet_NaN(), 1.0, 10, 20},
        {0, 1.0, 1.0, 1, 200},  // spacing below 1 is 1
    };
    for (const auto& c : cases) {
        RulerAxisInput in = HalfMicronLine();
        in.spacing = c.spacing;
        in.scale = c.scale;
        in.zoom = c.zoom;
        const RulerLine line = LayOutRulerLine(in);
        EXPECT_EQ(line.ticks.size(), c.ticks) << c.spacing << " " << c.scale << " " << c.zoom;
        if (!line.ticks.empty()) {
            EXPECT_EQ(line.ticks.front().along, c.firstTick) << c.spacing << " " << c.scale << " " << c.zoom;
        }
    }
}

TEST(RulerOverlayGeometryTest, ScrollingMovesLineAndTicksAndDropsThoseOffTheStart) {
    RulerAxisInput in = HalfMicronLine();
    in.scrollAlong = 50;
    in.scrollAcross = 20;
    const RulerLine line = LayOutRulerLine(in);
    EXPECT_EQ(line.across, 40);
    EXPECT_EQ(line.lineFrom, -50);
    EXPECT_EQ(line.lineTo, 150);
    ASSERT_FALSE(line.ticks.empty());
    EXPECT_EQ(line.ticks.front().along, 10);  // tick 3 at 60 - 50
    EXPECT_EQ(line.ticks.back().along, 150);  // tick 10
    EXPECT_EQ(line.ticks.size(), 8u);
}

TEST(RulerOverlayGeometryTest, TicksAreCutToTheDisplayAcross) {
    RulerAxisInput in = HalfMicronLine();
    in.linePosition = 3;
    EXPECT_EQ(LayOutRulerLine(in).ticks[9].from, 0);
    in.linePosition = 97;
    EXPECT_EQ(LayOutRulerLine(in).ticks[9].to, 99);
}

TEST(RulerOverlayGeometryTest, LabelsSitAboveOrBelowTheLineAndBesideTheVerticalOne) {
    EXPECT_EQ(RulerLabelText(10, u"\u03bcm"), u"10\u03bcm");
    const struct {
        int lineY;
        int top;
        int bottom;
    } horizontal[] = {{41, 21, 41}, {40, 50, 70}, {100, 80, 100}, {0, 10, 30}};
    for (const auto& c : horizontal) {
        const RulerLabelRect r = HorizontalLabelRect(c.lineY, 5, 4);
        EXPECT_EQ(r.left, 5) << "scrolled by 5: 10 right of the display's edge at -5";
        EXPECT_EQ(r.right, 5 + 48);
        EXPECT_EQ(r.top, c.top) << c.lineY;
        EXPECT_EQ(r.bottom, c.bottom) << c.lineY;
    }
    const RulerLabelRect right = VerticalLabelRect(100, 0, 4, 200);
    EXPECT_EQ(right.left, 110);
    EXPECT_EQ(right.right, 158);
    EXPECT_EQ(right.top, 10);
    EXPECT_EQ(right.bottom, 30);
    const RulerLabelRect left = VerticalLabelRect(150, 7, 4, 200);
    EXPECT_EQ(left.left, 92);
    EXPECT_EQ(left.right, 140);
    EXPECT_EQ(left.top, 3);
}

TEST(RulerOverlayGeometryTest, PositionsConvertOnlyBetweenRealSizes) {
    EXPECT_EQ(FrameToDisplay(100, 1000, 500), 50);
    EXPECT_EQ(DisplayToFrame(50, 1000, 500), 100);
    EXPECT_FALSE(FrameToDisplay(100, 0, 500));
    EXPECT_FALSE(FrameToDisplay(100, 1000, 0));
    EXPECT_FALSE(DisplayToFrame(50, 0, 500));
    EXPECT_FALSE(DisplayToFrame(50, 1000, -1));
    EXPECT_EQ(RulerScaleValue(0.0), 1.0);
    EXPECT_EQ(RulerScaleValue(-0.5), 1.0);
    EXPECT_EQ(RulerScaleValue(std::numeric_limits<double>::infinity()), 1.0);
    EXPECT_EQ(RulerScaleValue(0.5), 0.5);
    EXPECT_FALSE((RulerSizes{200, 100, 0, 100}.Usable()));
    EXPECT_TRUE((RulerSizes{200, 100, 400, 200}.Usable()));
}

}  // namespace
