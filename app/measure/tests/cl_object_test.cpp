#include <gtest/gtest.h>

#include "cl_object.h"
#include "test_segment.h"

namespace {

TEST(Object, IdsCountUpAndCopiesKeepThem) {
    CCLObject first;
    CCLObject second;
    EXPECT_EQ(second.id, first.id + 1);
    EXPECT_EQ(CCLObject::PeekNextId(), second.id + 1);
    CCLObject copy(first);
    EXPECT_EQ(copy.id, first.id);
    second = first;
    EXPECT_EQ(second.id, first.id);
}

TEST(Object, Defaults) {
    const CCLObject o;
    EXPECT_EQ(o.type, 0);
    EXPECT_EQ(o.state, 0);
    EXPECT_EQ(o.selectedColour, 200u);
    EXPECT_EQ(o.lineWidth, 1);
    EXPECT_EQ(o.number, -1);
    EXPECT_EQ(o.decimals, 2);
    EXPECT_EQ(o.unitText, u"μm");
    EXPECT_EQ(o.scale, 1.0f);
    EXPECT_EQ(o.visible, 1);
    EXPECT_EQ(o.handleSize, 2);
    EXPECT_EQ(o.label.boxColour, 0x649664u);
    EXPECT_EQ(o.label.boxShown, 1);
}

TEST(Object, AssignmentLeavesVisibilityHandleSizeAndDrag) {
    CCLObject source;
    source.type = 7;
    source.number = 4;
    source.visible = 0;
    source.handleSize = 5;
    source.dragging = 1;
    source.unitText = u"mm";
    source.label.text = u"label";
    source.results[6] = 2.0f;
    CCLObject target;
    target.visible = 1;
    target.handleSize = 8;
    target = source;
    EXPECT_EQ(target.type, 7);
    EXPECT_EQ(target.number, 4);
    EXPECT_EQ(target.unitText, u"mm");
    EXPECT_EQ(target.label.text, u"label");
    EXPECT_EQ(target.results[6], 2.0f);
    EXPECT_EQ(target.visible, 1);
    EXPECT_EQ(target.handleSize, 8);
    EXPECT_EQ(target.dragging, 0);
    const CCLObject copied(source);
    EXPECT_EQ(copied.visible, 1);  // the constructor's default
    EXPECT_EQ(copied.handleSize, 2);
}

TEST(Object, BaseOperationsDoNothing) {
    CCLObject o;
    int step = 0;
    EXPECT_FALSE(o.Track(nullptr, 1, 1, step, false, 1.0f, 0, 0));
    EXPECT_FALSE(o.HitTest(0, 0, 1.0f));
    EXPECT_FALSE(o.HitRect(PixelRect{-100, -100, 100, 100}, 1.0f));
    o.dragging = 1;
    o.Draw(nullptr, 1.0f, 0, 0);
    EXPECT_EQ(o.dragging, 0);
    EXPECT_EQ(o.state, 0);
}

class SegmentTest : public ::testing::Test {
protected:
    CTestSegment segment{{10.0f, 10.0f}, {40.0f, 50.0f}};
    void SetUp() override {
        segment.label.x = 100.0f;
        segment.label.y = 100.0f;
        segment.label.width = 20;
        segment.label.height = 10;
    }
};

TEST_F(SegmentTest, HandleHitIsWithinThreePixels) {
    struct Case {
        int x, y;
        float zoom;
        std::int32_t handle;
    };
    const Case cases[] = {
        {13, 10, 1.0f, 1}, {14, 10, 1.0f, 0}, {10, 7, 1.0f, 1},  {10, 6, 1.0f, 0},
        {37, 53, 1.0f, 2}, {36, 50, 1.0f, 0}, {23, 20, 2.0f, 1}, {24, 20, 2.0f, 0},
    };
    for (const Case& c : cases) {
        segment.state = 0;
        segment.activeHandle = 0;
        EXPECT_EQ(segment.HitTest(c.x, c.y, c.zoom), c.handle != 0) << c.x << "," << c.y;
        EXPECT_EQ(segment.activeHandle, c.handle) << c.x << "," << c.y;
        EXPECT_EQ(segment.state, c.handle != 0 ? 1 : 0) << c.x << "," << c.y;
    }
}

TEST_F(SegmentTest, LabelIsTestedFirstAndInvisibleNeverHits) {
    segment.label.x = 10.0f;
    segment.label.y = 10.0f;
    EXPECT_TRUE(segment.HitTest(10, 10, 1.0f));
    EXPECT_EQ(segment.state, 2);
    EXPECT_EQ(segment.activeHandle, 0);
    segment.state = 0;
    segment.visible = 0;
    EXPECT_FALSE(segment.HitTest(10, 10, 1.0f));
    EXPECT_FALSE(segment.HitTest(15, 15, 1.0f));
    EXPECT_FALSE(segment.HitRect(PixelRect{0, 0, 100, 100}, 1.0f));
    EXPECT_EQ(segment.state, 0);
}

TEST_F(SegmentTest, HitRectSelectsWhole) {
    EXPECT_FALSE(segment.HitRect(PixelRect{0, 0, 10, 10}, 1.0f));
    EXPECT_TRUE(segment.HitRect(PixelRect{79, 99, 81, 101}, 2.0f));
    EXPECT_EQ(segment.state, 4);
}

TEST_F(SegmentTest, MoveFollowsTheState) {
    segment.state = 4;
    segment.Move(0, 0, 20, 10, 2.0f);
    EXPECT_EQ(segment.points[0], (PointF{20.0f, 15.0f}));
    EXPECT_EQ(segment.label.x, 110.0f);
    EXPECT_EQ(segment.dragging, 1);
    segment.state = 3;
    segment.Move(0, 0, 10, 0, 1.0f);
    EXPECT_EQ(segment.points[1], (PointF{60.0f, 55.0f}));
    EXPECT_EQ(segment.label.x, 110.0f);
    segment.state = 2;
    segment.Move(0, 0, 5, 5, 1.0f);
    EXPECT_EQ(segment.points[0], (PointF{30.0f, 15.0f}));
    EXPECT_EQ(segment.label.x, 115.0f);
    const float before = segment.results[CCLObject::kLength];
    segment.state = 1;
    segment.activeHandle = 2;
    segment.Move(0, 0, 30, 40, 1.0f);
    EXPECT_EQ(segment.points[1], (PointF{90.0f, 95.0f}));
    EXPECT_GT(segment.results[CCLObject::kLength], before);
}

TEST_F(SegmentTest, CycleHandleWrapsThroughTheBody) {
    segment.state = 3;
    segment.activeHandle = 0;
    const std::int32_t forward[][2] = {{1, 1}, {1, 2}, {3, 0}, {1, 1}};
    for (const auto& expected : forward) {
        segment.CycleHandle(true);
        EXPECT_EQ(segment.state, expected[0]);
        EXPECT_EQ(segment.activeHandle, expected[1]);
    }
    segment.activeHandle = 0;
    segment.state = 3;
    segment.CycleHandle(false);
    EXPECT_EQ(segment.activeHandle, 2);
    segment.state = 4;
    segment.CycleHandle(true);
    EXPECT_EQ(segment.state, 4);
    EXPECT_EQ(segment.activeHandle, 2);
}

TEST_F(SegmentTest, HandleSquareGrowsForTheActiveHandle) {
    segment.lineWidth = 2;
    segment.state = 1;
    segment.activeHandle = 2;
    EXPECT_EQ(segment.HandleSquare({10.0f, 10.0f}, 1, 2.0f, 5, 3), (PixelRect{11, 13, 19, 21}));
    EXPECT_EQ(segment.HandleSquare({10.0f, 10.0f}, 2, 2.0f, 5, 3), (PixelRect{10, 12, 20, 22}));
}

}  // namespace
