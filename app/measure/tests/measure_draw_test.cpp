#include <gtest/gtest.h>

#include "dc.h"
#include "test_segment.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);

class DrawTest : public ::testing::Test {
protected:
    CMemoryDC dc{nullptr, 200, 150, CMemoryDC::Kind::dibSection};
    CTestSegment segment{{20.0f, 20.0f}, {60.0f, 20.0f}};

    void SetUp() override {
        ASSERT_TRUE(dc.IsValid());
        dc.FillSolidRect(RECT{0, 0, 200, 150}, kBackground);
        segment.number = 1;
        segment.drawColour = RGB(0, 0, 255);
        segment.label.Update(segment, 30.0f, 60.0f);
    }
    int Count(std::uint32_t rgb, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                n += dc.GetPixelRGB(x, y) == rgb ? 1 : 0;
            }
        }
        return n;
    }
};

TEST_F(DrawTest, LabelBoxAndTextAtItsPosition) {
    ASSERT_GT(segment.label.width, 0);
    ASSERT_GT(segment.label.height, 0);
    segment.Draw(&dc, 1.0f, 0, 0);
    const PixelRect r = segment.label.DeviceRect(1.0f, 0, 0);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 60);
    // The box reaches 2 pixels outside the text rectangle (exclusive edges).
    EXPECT_EQ(dc.GetPixelRGB(28, 58), 0x649664u);
    EXPECT_EQ(dc.GetPixelRGB(r.right, r.bottom), 0x649664u);
    EXPECT_EQ(dc.GetPixelRGB(27, 58), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixelRGB(r.right + 2, r.bottom + 1), 0xFFFFFFu);
    // Text in the object's colour lies inside the text rectangle only.
    EXPECT_GT(Count(0x0000FF, r.left, r.top, r.right, r.bottom), 5);
    EXPECT_EQ(Count(0x0000FF, 0, r.bottom + 2, 200, 150), 0);
    // The segment itself, no handles while idle.
    EXPECT_EQ(dc.GetPixelRGB(40, 20), 0x0000FFu);
    EXPECT_EQ(Count(0xC80000, 0, 0, 200, 150), 0);
}

TEST_F(DrawTest, ZoomAndScrollMoveTheLabel) {
    segment.label.boxShown = 0;
    segment.Draw(&dc, 2.0f, 10, 20);
    const PixelRect r = segment.label.DeviceRect(2.0f, 10, 20);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 100);
    EXPECT_GT(Count(0x0000FF, r.left, r.top, r.right, r.bottom), 5);
    EXPECT_EQ(Count(0x649664, 0, 0, 200, 150), 0);  // no box when boxes are off
    EXPECT_EQ(dc.GetPixelRGB(60, 20), 0x0000FFu);   // segment at 2 x 20 - 10, 2 x 20 - 20
}

TEST_F(DrawTest, NothingLabelDrawsNoBox) {
    segment.labelMode = CCLObject::kLabelNothing;
    segment.label.Update(segment, 30.0f, 60.0f);
    segment.state = 1;  // even selected
    segment.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(Count(0x649664, 0, 0, 200, 150), 0);
}

TEST_F(DrawTest, SelectedShowsHandlesBoxAndBoldLabel) {
    segment.label.boxShown = 0;
    segment.Draw(&dc, 1.0f, 0, 0);
    const int idleInk = Count(0x0000FF, 0, 40, 200, 150);
    dc.FillSolidRect(RECT{0, 0, 200, 150}, kBackground);
    segment.state = 1;
    segment.activeHandle = 2;
    segment.Draw(&dc, 1.0f, 0, 0);
    // Handle 1: half-size 2 + 1, square (17, 17)-(23, 23); handle 2 (active)
    // one more, (56, 16)-(64, 24). A null-pen Rectangle fills up to two
    // pixels short of its right and bottom coordinates.
    EXPECT_EQ(dc.GetPixelRGB(17, 17), 0xC80000u);
    EXPECT_EQ(dc.GetPixelRGB(21, 21), 0xC80000u);
    EXPECT_EQ(dc.GetPixelRGB(22, 22), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixelRGB(16, 16), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixelRGB(56, 16), 0xC80000u);
    EXPECT_EQ(dc.GetPixelRGB(62, 22), 0xC80000u);
    EXPECT_EQ(dc.GetPixelRGB(63, 23), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixelRGB(55, 15), 0xFFFFFFu);
    // The label box shows while selected; the label is bold, underlined and
    // in the selected colour, so it covers more pixels than before.
    EXPECT_GT(Count(0x649664, 0, 40, 200, 150), 0);
    EXPECT_EQ(segment.label.font.weight, 700);
    EXPECT_EQ(segment.label.font.underline, 1);
    EXPECT_GT(Count(0xC80000, 0, 40, 200, 150), idleInk);
    // Deselected: the object's own font again.
    segment.state = 0;
    segment.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(segment.label.font, segment.font);
}

TEST_F(DrawTest, InvisibleOrDraggedDrawsLess) {
    segment.visible = 0;
    segment.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(Count(0xFFFFFF, 0, 0, 200, 150), 200 * 150);
    segment.visible = 1;
    segment.state = 4;
    segment.Move(0, 0, 0, 0, 1.0f);
    segment.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(Count(0xC80000, 15, 15, 25, 20), 0);  // no handles while dragged
    EXPECT_GT(Count(0xC80000, 15, 20, 25, 21), 0);  // but the segment, selected
    EXPECT_EQ(segment.dragging, 0);
}

}  // namespace
