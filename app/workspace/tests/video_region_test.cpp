// The live video's geometry in the view: the drag region handed to the
// camera, the overlay windows' place and visible part, and mouse points of
// the video's windows in view coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "video_region.h"

// Found by argument lookup: the rectangle's type lives in the global namespace.
static std::ostream& operator<<(std::ostream& out, const PixelRect& r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

TEST(ClampToDisplayedVideo, HoldsAPressOnTheDisplayedVideosEdges) {
    // 640 x 480 shown at half size from (10, 20): x 10..330, y 20..260.
    const VideoDisplay video{{10, 20}, 640, 480, 0.5f};
    struct Case {
        ViewPoint press;
        ViewPoint expected;
    };
    const Case cases[] = {
        {{100, 100}, {100, 100}},  // inside
        {{-5, 100}, {10, 100}},    // left of the video: its left edge
        {{100, 400}, {100, 260}},  // below: its bottom edge
        {{400, 5}, {330, 20}},     // right of and above it
        {{330, 260}, {330, 260}},  // the far corner itself
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClampToDisplayedVideo(c.press, video), c.expected) << c.press.x << "," << c.press.y;
    }
}

TEST(CameraRegion, ConvertsTheDraggedBandIntoVideoPixels) {
    struct Case {
        const char* what;
        VideoDisplay video;
        ViewPoint from, to, scroll;
        PixelRect expected;
    };
    const Case cases[] = {
        {"zoom 1, scrolled: the scroll offset counts",
         {{0, 0}, 640, 480, 1.0f},
         {10, 20},
         {110, 70},
         {30, 40},
         {40, 60, 140, 110}},
        {"zoom 1, centred", {{50, 40}, 640, 480, 1.0f}, {60, 50}, {160, 140}, {0, 0}, {10, 10, 110, 100}},
        {"half size: the scroll position does not count",
         {{10, 20}, 640, 480, 0.5f},
         {20, 30},
         {110, 80},
         {30, 40},
         {20, 20, 200, 120}},
        {"double size, truncated toward zero", {{0, 0}, 640, 480, 2.0f}, {3, 5}, {101, 51}, {0, 0}, {1, 2, 50, 25}},
        {"dragged upward: rows ordered", {{0, 0}, 640, 480, 1.0f}, {10, 80}, {50, 20}, {0, 0}, {10, 20, 50, 80}},
        {"scrolled to the far edge: held inside the frame",
         {{0, 0}, 640, 480, 1.0f},
         {600, 400},
         {640, 480},
         {30, 40},
         {630, 440, 640, 480}},
    };
    for (const Case& c : cases) {
        const std::optional<PixelRect> region = CameraRegion(c.from, c.to, c.video, c.scroll);
        ASSERT_TRUE(region.has_value()) << c.what;
        EXPECT_EQ(*region, c.expected) << c.what;
    }
}

TEST(CameraRegion, RunsNothingWithoutAWidthAHeightOrADisplayedVideo) {
    struct Case {
        const char* what;
        float zoom;
        ViewPoint from, to;
    };
    const Case cases[] = {
        {"right to left", 1.0f, {100, 20}, {40, 90}},
        {"a click", 1.0f, {40, 40}, {40, 40}},
        {"no height", 1.0f, {10, 40}, {90, 40}},
        {"one view row at double size is no video row", 2.0f, {10, 40}, {90, 41}},
        {"no video shown", 0.0f, {10, 20}, {90, 80}},
        {"no zoom known", std::numeric_limits<float>::quiet_NaN(), {10, 20}, {90, 80}},
    };
    for (const Case& c : cases) {
        const VideoDisplay video{{0, 0}, 640, 480, c.zoom};
        EXPECT_FALSE(CameraRegion(c.from, c.to, video, {0, 0}).has_value()) << c.what;
    }
}

TEST(LayoutVideoOverlay, CoversTheDisplayedVideoAndShowsOnlyWhatIsInsideTheView) {
    struct Case {
        const char* what;
        ViewPoint pos, scroll;
        int displayedWidth, displayedHeight, clientWidth, clientHeight;
        OverlayLayout expected;
    };
    const Case cases[] = {
        {"centred, all visible", {40, 30}, {0, 0}, 320, 240, 400, 300, {{40, 30, 360, 270}, {0, 0, 320, 240}}},
        {"larger, scrolled", {0, 0}, {100, 50}, 800, 600, 400, 300, {{-100, -50, 700, 550}, {100, 50, 500, 350}}},
        {"scrolled across, centred down",
         {0, 20},
         {60, 0},
         800,
         200,
         400,
         300,
         {{-60, 20, 740, 220}, {60, 0, 460, 200}}},
        {"no client area", {0, 0}, {0, 0}, 320, 240, 0, 0, {{0, 0, 320, 240}, {0, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        const OverlayLayout layout =
            LayoutVideoOverlay(c.pos, c.scroll, c.displayedWidth, c.displayedHeight, c.clientWidth, c.clientHeight);
        EXPECT_EQ(layout.window, c.expected.window) << c.what;
        EXPECT_EQ(layout.visible, c.expected.visible) << c.what;
    }
}

TEST(MoveMousePointIntoView, KeepsTheSignOfEachCoordinate) {
    const auto pack = [](int x, int y) {
        return static_cast<std::uint32_t>(static_cast<std::uint16_t>(x)) |
               (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16);
    };
    const auto unpack = [](std::uint32_t word) {
        return ViewPoint{static_cast<std::int16_t>(word & 0xFFFF), static_cast<std::int16_t>(word >> 16)};
    };
    struct Case {
        ViewPoint point, pos, scroll, expected;
    };
    const Case cases[] = {
        {{5, 7}, {40, 30}, {0, 0}, {45, 37}},
        {{-5, -7}, {10, 0}, {0, 20}, {5, -27}},  // a captured mouse left of and above the window
        {{300, 2}, {0, 0}, {100, 50}, {200, -48}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unpack(MoveMousePointIntoView(pack(c.point.x, c.point.y), c.pos, c.scroll)), c.expected)
            << c.point.x << "," << c.point.y;
    }
}

}  // namespace
