// Offset slots, window starts and panning.

#include <gtest/gtest.h>

#include "capture_geometry.h"

namespace twain {
namespace {

TEST(CaptureGeometry, SizeModesKeepTheirStartInTheSlotsFrom768Up) {
    struct Case {
        std::int32_t sizeMode;
        std::size_t entries;
        std::optional<int> slot;
    };
    const Case cases[] = {
        {0, 4, 2},
        {3, 4, 5},
        {4, 6, 6},
        {5, 6, 7},
        {4, 7, 6},
        {5, 7, std::nullopt},  // the largest models' biggest sizes start at 0
        {6, 7, std::nullopt},
        {0, 1, std::nullopt},  // the one-size table
        {-1, 4, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sizeMode << " of " << c.entries);
        EXPECT_EQ(OffsetSlot(c.sizeMode, c.entries), c.slot);
    }
}

TEST(CaptureGeometry, StartsStayOnTheSensor) {
    struct Case {
        std::int32_t start, size, sensor, kept;
    };
    const Case cases[] = {
        {215, 640, 1280, 215}, {215, 1280, 1280, 0}, {700, 640, 1280, 640}, {-5, 640, 1280, 0}, {10, 2000, 1280, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.size << " " << c.sensor);
        EXPECT_EQ(StartWithin(c.start, c.size, c.sensor), c.kept);
    }
}

TEST(CaptureGeometry, PanningStopsAtBothEndsWithPagesOfAHundred) {
    struct Case {
        ScrollCode code;
        std::int32_t thumb, position, limit;
        PanOutcome out;
    };
    const Case cases[] = {
        {ScrollCode::lineBack, 0, 5, 480, {4, true, true}},
        {ScrollCode::lineBack, 0, 0, 480, {0, false, false}},
        {ScrollCode::lineForward, 0, 479, 480, {480, true, true}},
        {ScrollCode::lineForward, 0, 480, 480, {480, false, false}},
        {ScrollCode::pageForward, 0, 100, 480, {200, true, true}},
        {ScrollCode::pageForward, 0, 380, 480, {480, true, true}},
        {ScrollCode::pageForward, 0, 400, 480, {480, true, false}},  // less than a page left
        {ScrollCode::pageBack, 0, 250, 480, {150, true, true}},
        {ScrollCode::pageBack, 0, 60, 480, {0, true, false}},
        {ScrollCode::thumbTrack, 333, 0, 480, {333, true, true}},
        {ScrollCode::thumbTrack, 999, 0, 480, {480, true, true}},
        {ScrollCode::lineForward, 0, 0, 0, {0, false, false}},        // nothing to pan
        {static_cast<ScrollCode>(8), 0, 40, 480, {40, false, true}},  // SB_ENDSCROLL
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.code) << " from " << c.position);
        const PanOutcome out = Pan(static_cast<std::int32_t>(c.code), c.thumb, c.position, c.limit);
        EXPECT_EQ(out.position, c.out.position);
        EXPECT_EQ(out.moved, c.out.moved);
        EXPECT_EQ(out.accepted, c.out.accepted);
    }
    EXPECT_EQ(PanLimit(1280, 800), 480);
    EXPECT_EQ(PanLimit(640, 800), 0);
}

}  // namespace
}  // namespace twain
