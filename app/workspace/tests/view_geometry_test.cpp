#include <gtest/gtest.h>

#include <limits>

#include "view_geometry.h"

namespace {

TEST(ViewGeometry, ZoomIsClamped) {
    EXPECT_EQ(ClampZoom(1.5f), 1.5f);
    EXPECT_EQ(ClampZoom(1000.0f), 64.0f);
    EXPECT_EQ(ClampZoom(1e-9f), 1.0f / 64.0f);
    EXPECT_EQ(ClampZoom(0.0f), 1.0f);
    EXPECT_EQ(ClampZoom(-2.0f), 1.0f);
    EXPECT_EQ(ClampZoom(std::numeric_limits<float>::quiet_NaN()), 1.0f);
    EXPECT_EQ(ClampZoom(std::numeric_limits<float>::infinity()), 64.0f);
}

TEST(ViewGeometry, ZoomedSizeRoundsAndCentres) {
    EXPECT_EQ(ZoomPictureSize(40, 30, 0.5f).width, 20);
    EXPECT_EQ(ZoomPictureSize(41, 31, 0.5f).width, 21);  // 20.5 rounds up
    EXPECT_EQ(ZoomPictureSize(40, 30, 2.0f).height, 60);
    EXPECT_EQ(ZoomPictureSize(65536, 65536, 64.0f).width, 4194304);
    EXPECT_EQ(CentringOffset(200, 40), 80);
    EXPECT_EQ(CentringOffset(200, 199), 0);  // odd difference: integer halving
    EXPECT_EQ(CentringOffset(200, 300), 0);
}

TEST(ViewGeometry, ScrollingNeedsTwoPixels) {
    EXPECT_FALSE(NeedsScrolling(200, 150, {201, 150}));
    EXPECT_TRUE(NeedsScrolling(200, 150, {202, 150}));
    EXPECT_TRUE(NeedsScrolling(200, 150, {100, 152}));
}

TEST(ViewGeometry, VisibleSourceFollowsScrollAndZoom) {
    const SourceRect one = VisibleSource(50, 40, 200, 150, 1.0f);
    EXPECT_EQ(one.x, 50);
    EXPECT_EQ(one.y, 40);
    EXPECT_EQ(one.width, 200);
    const SourceRect two = VisibleSource(50, 41, 200, 150, 2.0f);
    EXPECT_EQ(two.x, 25);
    EXPECT_EQ(two.y, 21);  // 20.5 rounds up
    EXPECT_EQ(two.width, 100);
    EXPECT_EQ(two.height, 75);
}

TEST(ViewGeometry, FitZoom) {
    EXPECT_FLOAT_EQ(FitZoom(200, 150, 400, 100), 0.5f);
    EXPECT_FLOAT_EQ(FitZoom(200, 150, 40, 100), 1.5f);
    EXPECT_EQ(FitZoom(200, 150, 0, 0), 0.0f);
    EXPECT_EQ(FitZoom(0, 150, 40, 30), 0.0f);
}

}  // namespace
