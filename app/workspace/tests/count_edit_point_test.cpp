#include <gtest/gtest.h>

#include <limits>

#include "count_edit_point.h"

namespace {

TEST(EnginePixelAt, CountsRowsFromTheBottomAndStaysOnThePicture) {
    struct Case {
        int x, y;
        float zoom;
        int width, height;
        EnginePixel expected;
        const char* what;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0, 0, 1.0f, 200, 150, {0, 149}, "the top row at zoom 1"},
        {199, 149, 1.0f, 200, 150, {199, 0}, "the bottom row at zoom 1"},
        {200, 150, 1.0f, 200, 150, {199, 0}, "the far edge the track point may reach"},
        {7, 3, 2.0f, 200, 150, {3, 148}, "zoomed in: halves rounded down"},
        {399, 299, 2.0f, 200, 150, {199, 0}, "zoomed in: the last zoomed pixel"},
        {1, 1, 0.5f, 200, 150, {2, 147}, "zoomed out"},
        {74, 74, 0.5f, 200, 150, {148, 1}, "zoomed out: two picture rows a shown row"},
        {33, 0, 3.0f, 200, 150, {11, 149}, "a third rounded down"},
        {-5, -5, 1.0f, 200, 150, {0, 149}, "before the picture"},
        {5000, 5000, 1.0f, 200, 150, {199, 0}, "beyond the picture"},
        {10, 10, 0.0f, 200, 150, {0, 0}, "no zoom"},
        {10, 10, nan, 200, 150, {0, 0}, "a zoom that is not a number"},
        {10, 10, 1.0f, 0, 0, {0, 0}, "no picture"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EnginePixelAt(c.x, c.y, c.zoom, c.width, c.height), c.expected) << c.what;
    }
}

}  // namespace
