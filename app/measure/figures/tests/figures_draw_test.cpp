// What the figures put on a device: outline, ticks, ring, handles, and the
// figure in progress while the mouse moves.
#include <gtest/gtest.h>

#include "angle_figures.h"
#include "area_figures.h"
#include "circle_figures.h"
#include "dc.h"
#include "line_figures.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kInk = 0x0000FF;       // RGB(0, 0, 255) as 0x00RRGGBB
constexpr std::uint32_t kSelected = 0xC80000;  // RGB(200, 0, 0)

class FigureDrawTest : public ::testing::Test {
protected:
    CMemoryDC dc{nullptr, 200, 150, CMemoryDC::Kind::dibSection};

    void SetUp() override {
        ASSERT_TRUE(dc.IsValid());
        Clear();
    }
    void Clear() { dc.FillSolidRect(RECT{0, 0, 200, 150}, RGB(255, 255, 255)); }
    std::uint32_t At(int x, int y) const { return dc.GetPixelRGB(x, y); }
    int Count(std::uint32_t rgb, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                n += At(x, y) == rgb ? 1 : 0;
            }
        }
        return n;
    }
    static void Style(CCLObject& o) {
        o.drawColour = RGB(0, 0, 255);
        o.labelMode = CCLObject::kLabelNothing;
    }
};

TEST_F(FigureDrawTest, LineWithEndTicksAtZoomAndScroll) {
    CCLLine line;
    Style(line);
    line.points = {PointF{20, 20}, PointF{60, 20}};
    line.Draw(&dc, 2.0f, 10, 5);
    // Device ends (30, 35) and (110, 35); vertical ticks 5 up and down.
    EXPECT_EQ(At(70, 35), kInk);
    EXPECT_EQ(At(30, 31), kInk);
    EXPECT_EQ(At(110, 39), kInk);
    EXPECT_EQ(At(30, 29), kWhite);
    EXPECT_EQ(At(70, 36), kWhite);
}

TEST_F(FigureDrawTest, SelectedLineShowsHandlesInTheSelectedColour) {
    CCLLine line;
    Style(line);
    line.points = {PointF{20, 20}, PointF{60, 60}};
    line.state = CCLObject::kSelectedWhole;
    line.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(At(18, 18), kSelected);
    EXPECT_EQ(At(58, 58), kSelected);
    EXPECT_EQ(At(40, 40), kSelected);  // the line in the selected colour
    EXPECT_EQ(Count(kInk, 0, 0, 200, 150), 0);
}

TEST_F(FigureDrawTest, CircleIsARingWithACentreMark) {
    CCLCircle circle;
    Style(circle);
    circle.centre() = {50, 50};
    circle.points[0] = {70, 50};
    circle.Recompute();
    circle.Draw(&dc, 1.0f, 0, 0);
    EXPECT_GT(Count(kInk, 68, 45, 72, 55), 0);  // right of the ring
    EXPECT_GT(Count(kInk, 45, 28, 55, 32), 0);  // top of the ring
    EXPECT_EQ(Count(kInk, 40, 40, 48, 48), 0);  // not filled
    EXPECT_EQ(At(49, 49), kInk);                // centre mark
}

TEST_F(FigureDrawTest, TrackingDrawsTheFigureInProgress) {
    CCLPolygon polygon;
    Style(polygon);
    int step = 0;
    EXPECT_FALSE(polygon.Track(&dc, 20, 20, step, false, 1.0f, 0, 0));
    EXPECT_FALSE(polygon.Track(&dc, 100, 20, step, false, 1.0f, 0, 0));
    Clear();
    EXPECT_FALSE(polygon.Track(&dc, 100, 100, step, true, 1.0f, 0, 0));
    EXPECT_EQ(At(60, 20), kInk);   // first edge
    EXPECT_EQ(At(100, 60), kInk);  // to the mouse
    EXPECT_EQ(At(60, 60), kInk);   // closing back to the first point
    EXPECT_EQ(polygon.points.size(), 2u);

    CCLEllipse ellipse;
    Style(ellipse);
    step = 0;
    Clear();
    ellipse.Track(&dc, 20, 20, step, false, 1.0f, 0, 0);
    ellipse.Track(&dc, 120, 80, step, true, 1.0f, 0, 0);
    EXPECT_GT(Count(kInk, 18, 45, 23, 55), 0);  // left of the ellipse
    EXPECT_EQ(At(70, 19), kInk);                // the box one pixel out
    EXPECT_EQ(Count(kInk, 60, 40, 80, 60), 0);  // hollow
}

TEST_F(FigureDrawTest, RectangleAndAngleOutlines) {
    CCLRectangle rectangle;
    Style(rectangle);
    rectangle.corner0 = {10, 10};
    rectangle.corner1 = {60, 40};
    rectangle.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(At(35, 10), kInk);
    EXPECT_EQ(At(60, 25), kInk);
    EXPECT_EQ(At(35, 25), kWhite);

    Clear();
    CCLAngle angle;
    Style(angle);
    angle.points = {PointF{100, 20}, PointF{100, 100}, PointF{180, 100}};
    angle.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(At(100, 60), kInk);
    EXPECT_EQ(At(140, 100), kInk);
    EXPECT_EQ(At(140, 60), kWhite);
}

}  // namespace
