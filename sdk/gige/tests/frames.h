// Small raw frames with known samples for the image tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "frame_layout.h"

namespace kqge::test {

using Bytes = std::vector<std::uint8_t>;

// Rows of samples, top row first.
inline Bytes Rows(std::initializer_list<std::initializer_list<int>> rows) {
    Bytes b;
    for (const auto& row : rows)
        for (int v : row) b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

// The 4 x 4 frame most conversion goldens are computed on.
inline Bytes Frame4x4() {
    return Rows({{11, 21, 31, 41}, {51, 61, 71, 81}, {91, 101, 111, 121}, {131, 141, 151, 161}});
}

struct Bgr {
    int b, g, r;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

// Pixel (x) of output row `row` of a 24-bit picture.
inline Bgr PixelAt(const Bytes& picture, int width, int row, int x) {
    const std::size_t i = (static_cast<std::size_t>(row) * width + x) * 3;
    return {picture[i], picture[i + 1], picture[i + 2]};
}

inline std::vector<Bgr> RowPixels(const Bytes& picture, int width, int row) {
    std::vector<Bgr> out;
    for (int x = 0; x < width; ++x) out.push_back(PixelAt(picture, width, row, x));
    return out;
}

inline Bytes Samples16(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    return b;
}

inline int Sample16(const Bytes& b, std::size_t i) { return b[2 * i] | (b[2 * i + 1] << 8); }

}  // namespace kqge::test
