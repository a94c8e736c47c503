// The still taken at the snapshot size and the capture window offsets.
#include <gtest/gtest.h>

#include "capture_size_rules.h"

namespace {

TEST(CaptureSizeRules, StillSwitchesOnlyWhenBothSidesDiffer) {
    struct Case {
        const char* what;
        CaptureSize capture, snapshot;
        bool inLines;
        bool switchSize;
        std::uint32_t exposure;
    };
    const Case cases[] = {
        {"both differ, lines", {1280, 1024}, {640, 480}, true, true, 200},
        {"both differ, time", {1280, 1024}, {640, 480}, false, true, 100},
        {"width equal", {1280, 1024}, {1280, 972}, true, false, 100},
        {"height equal", {2592, 1944}, {2560, 1944}, true, false, 100},
        {"same size", {640, 480}, {640, 480}, true, false, 100},
        {"no snapshot size", {640, 480}, {0, 0}, true, false, 100},
        {"larger still", {640, 480}, {2592, 1944}, true, true, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const StillPlan plan = PlanStillAtSize(c.capture, c.snapshot, 100, c.inLines);
        EXPECT_EQ(plan.switchSize, c.switchSize);
        EXPECT_EQ(plan.exposure, c.exposure);
    }
    // Wide arithmetic: no overflow of the product.
    EXPECT_EQ(PlanStillAtSize({4000, 3000}, {1, 1}, 4000000000u, true).exposure, 4294967295u);
}

TEST(CaptureSizeRules, WindowOffsetKeepsTheWindowWithinTheLargestSize) {
    EXPECT_EQ(ClampWindowOffset(100, 640, 1280), 100u);
    EXPECT_EQ(ClampWindowOffset(700, 640, 1280), 640u);
    EXPECT_EQ(ClampWindowOffset(10, 1280, 1280), 0u);
    EXPECT_EQ(ClampWindowOffset(4000000000u, 640, 1280), 640u);
}

TEST(CaptureSizeRules, DeliveredFramesAreBoundedByTheLargestSizeAndRoundedTo8) {
    struct Case {
        CaptureSize requested;
        bool half;
        CaptureSize largest, delivered;
    };
    const Case cases[] = {
        {{640, 486}, false, {2560, 1944}, {640, 480}},   {{2592, 1944}, false, {2560, 1944}, {2560, 1944}},
        {{1296, 972}, false, {2592, 1944}, {1296, 968}}, {{1280, 1024}, true, {1280, 1024}, {640, 512}},
        {{752, 480}, false, {752, 480}, {752, 480}},     {{-5, 7}, false, {752, 480}, {0, 0}},
    };
    for (const Case& c : cases) {
        const CaptureSize delivered = DeliveredFrameSize(c.requested, c.half, c.largest);
        EXPECT_EQ(delivered.width, c.delivered.width) << c.requested.width;
        EXPECT_EQ(delivered.height, c.delivered.height) << c.requested.height;
    }
}

}  // namespace
