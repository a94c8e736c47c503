#include <gtest/gtest.h>

#include "floating_geometry.h"

namespace {

TEST(FloatingGeometryTest, WindowRectanglesBecomePicturePixels) {
    struct Case {
        int x, y, width, height;
        WindowPlacement place;
        PictureBox box;
    };
    const Case cases[] = {
        {10, 20, 30, 40, {1.0f, 0, 0, 0, 0}, {10, 20, 30, 40}},
        {10, 20, 31, 41, {2.0f, 0, 0, 0, 0}, {5, 10, 15, 20}},      // sides cut
        {11, 21, 30, 40, {2.0f, 0, 0, 0, 0}, {6, 11, 15, 20}},      // 5.5 rounds up
        {60, 45, 20, 10, {1.0f, 50, 40, 0, 0}, {10, 5, 20, 10}},    // centred picture
        {10, 10, 20, 20, {2.0f, 0, 0, 100, 60}, {55, 35, 10, 10}},  // scrolled
        {10, 10, 30, 30, {0.5f, 0, 0, 0, 0}, {20, 20, 60, 60}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowToPicture(c.x, c.y, c.width, c.height, c.place), c.box) << c.x << "," << c.y;
    }
}

TEST(FloatingGeometryTest, ClippingKeepsThePartInsideThePicture) {
    struct Case {
        PictureBox box;
        std::optional<PictureBox> clipped;
    };
    const Case cases[] = {
        {{10, 10, 20, 20}, PictureBox{10, 10, 20, 20}},
        {{-5, -5, 20, 20}, PictureBox{0, 0, 15, 15}},
        {{90, 40, 20, 20}, PictureBox{90, 40, 10, 10}},
        {{100, 10, 5, 5}, std::nullopt},
        {{10, 10, 0, 5}, std::nullopt},
        {{2147483000, 0, 2000, 10}, std::nullopt},  // the right edge past int
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClipToPicture(c.box, 100, 50), c.clipped) << c.box.left << "," << c.box.top;
    }
}

}  // namespace
