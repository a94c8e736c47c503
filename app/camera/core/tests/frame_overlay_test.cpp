// The frame thread's overlay draws only within the geometry the main thread
// published, and nothing while a library call may be changing the frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "colour_ref.h"
#include "frame_overlay.h"

namespace {

constexpr std::uint8_t kBackground = 0xA5;

struct Overlay {
    CrossLineList lines;
    FrameOverlay overlay{lines};
};

int CountNot(const std::vector<std::uint8_t>& bytes, std::uint8_t value) {
    int n = 0;
    for (std::uint8_t b : bytes) n += b != value;
    return n;
}

TEST(FrameOverlay, DrawsNothingUntilAGeometryIsPublishedAndWhileSuspended) {
    Overlay o;
    o.lines.Grow(1);
    o.lines.Set(0, {0, 1, 1, 0, 0, MakeColourRef(255, 255, 255)});
    std::vector<std::uint8_t> frame(4 * 3 * 3, kBackground);
    EXPECT_FALSE(o.overlay.DrawInto(frame.data()));
    o.overlay.SetGeometry({4, 3, 24});
    o.overlay.Suspend();
    EXPECT_FALSE(o.overlay.DrawInto(frame.data()));
    EXPECT_EQ(CountNot(frame, kBackground), 0);
    o.overlay.SetGeometry({4, 3, 24});
    EXPECT_TRUE(o.overlay.DrawInto(frame.data()));
    EXPECT_EQ(CountNot(frame, kBackground), (4 + 3 - 1) * 3);
}

// The buffers are exactly one frame of the published geometry long, so a
// write past it is caught by the address sanitizer; the counts show which
// pixels were drawn.
TEST(FrameOverlay, ListAndSingleCrossStayWithinTheDeliveredSizeAndDepth) {
    struct Case {
        FrameGeometry geometry;
        SingleCross cross;
        int changedBytes;
    };
    const Case cases[] = {
        // 8-bit frame (colour modes 3 and 4): one byte per pixel, red's grey 76.
        {{6, 5, 8}, {true, false, 100, -100}, 6 + 5 - 1},
        {{6, 5, 8}, {true, true, 0, 0}, 6 + 5 - 1},
        {{6, 5, 24}, {true, false, 2, 1}, (6 + 5 - 1) * 3},
        {{6, 5, 24}, {false, false, 2, 1}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.geometry.bitsPerPixel);
        Overlay o;
        o.overlay.SetGeometry(c.geometry);
        o.overlay.SetSingleCross(c.cross);
        std::vector<std::uint8_t> frame(std::size_t(c.geometry.width * c.geometry.height * c.geometry.bitsPerPixel / 8),
                                        kBackground);
        EXPECT_TRUE(o.overlay.DrawInto(frame.data()));
        EXPECT_EQ(CountNot(frame, kBackground), c.changedBytes);
        if (c.cross.on && c.geometry.bitsPerPixel == 8) {
            EXPECT_EQ(int(frame.size()) - CountNot(frame, 76), c.changedBytes);  // every drawn byte is red's grey
        }
    }
}

TEST(FrameOverlay, SingleCrossInTheMiddleOfAColourFrameIsPureRed) {
    Overlay o;
    o.overlay.SetGeometry({5, 4, 24});
    o.overlay.SetSingleCross({true, true, 0, 0});
    std::vector<std::uint8_t> frame(5 * 4 * 3, kBackground);
    ASSERT_TRUE(o.overlay.DrawInto(frame.data()));
    for (int x = 0; x < 5; ++x) {
        const std::size_t at = (std::size_t(2) * 5 + std::size_t(x)) * 3;  // row 4 / 2
        EXPECT_EQ(frame[at], 0);
        EXPECT_EQ(frame[at + 1], 0);
        EXPECT_EQ(frame[at + 2], 255);
    }
    EXPECT_EQ(frame[(std::size_t(0) * 5 + 2) * 3 + 2], 255);  // column 5 / 2, first row
}

}  // namespace
