#pragma once
// Plain value types of the counting engine: picture points and sizes with y
// counted from the bottom row, and the rectangle counting is limited to.
#include <cstddef>

struct CountPoint {
    int x = 0;
    int y = 0;
};

struct CountSize {
    int cx = 0;
    int cy = 0;
};

// A rectangle of pixels, clipped to a width x height picture: x0..x1 and
// y0..y1 are half-open and never outside the picture.
struct CountRect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    static CountRect Clipped(CountPoint corner, int width, int height, int pictureWidth, int pictureHeight);
    bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
    std::size_t Area() const {
        return x1 > x0 && y1 > y0 ? static_cast<std::size_t>(x1 - x0) * static_cast<std::size_t>(y1 - y0) : 0;
    }
};

// Bytes per row of a 24-bit picture: rows padded to 4 bytes.
constexpr std::size_t BgrStride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }
