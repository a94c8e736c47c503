// The view's platform-free rules: the background picture's place and the
// video zoom.
#include <gtest/gtest.h>

#include <string>

#include "background_placement.h"
#include "video_zoom.h"

namespace {

TEST(PlaceBackgroundPicture, CentresAndShrinksButNeverEnlarges) {
    struct Case {
        int cw, ch, pw, ph;
        BackgroundPlacement expected;
    };
    const Case cases[] = {
        {400, 300, 100, 50, {150, 125, 100, 50}},  // smaller: kept at its size
        {400, 300, 800, 300, {0, 75, 400, 150}},   // too wide: half size
        {400, 300, 200, 600, {150, 0, 100, 300}},  // too tall: half size
        {100, 100, 300, 300, {0, 0, 100, 100}},   {0, 0, 10, 10, {0, 0, 0, 0}}, {400, 300, 0, 10, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const BackgroundPlacement p = PlaceBackgroundPicture(c.cw, c.ch, c.pw, c.ph);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
    }
}

TEST(VideoZoom, IsTheDisplayedWidthOverTheVideoWidthWhenBothAreKnown) {
    EXPECT_FLOAT_EQ(VideoZoom(1280, 640).value(), 2.0f);
    EXPECT_FLOAT_EQ(VideoZoom(320, 640).value(), 0.5f);
    // No frame width yet, or nothing displayed: no zoom to divide by.
    for (const auto& [displayed, video] : {std::pair{640, 0}, std::pair{640, -4}, std::pair{0, 640}}) {
        EXPECT_FALSE(VideoZoom(displayed, video).has_value()) << displayed << " / " << video;
    }
}

}  // namespace
