// A plain reference of the YUV 4:2:2 conversion, pixel by pixel from the
// formulas, for the tests of the fast conversion and of the YUV camera.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "frame_size.h"

namespace kqcmos::test {

// The BGR picture of a width x height frame of pairs Y0, C1, Y1, C2 (rows of
// 2 x width bytes) in a flip mode; `width` and `height` become the
// picture's. The frame is repaired first, as the camera's frames need.
inline std::vector<std::uint8_t> ReferenceYuvToBgr(std::vector<std::uint8_t> yuv, int& width, int& height, int flip) {
    const int w = width, h = height, row = 2 * w;
    for (int y = 0; y < h; ++y) yuv[y * row + row - 1] = yuv[y * row + row - 5];
    for (int y = 0; y < 2; ++y) std::copy_n(yuv.begin() + 2 * row, row, yuv.begin() + y * row);
    auto clamp = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    std::vector<std::uint8_t> out(3 * static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* pair = &yuv[y * row + 4 * (x / 2)];
            const int luma = (pair[x % 2 == 0 ? 0 : 2] - 16) * 37 / 32;
            const bool lastPair = x / 2 == w / 2 - 1;
            const int c1 = x % 2 == 0 || lastPair ? pair[1] : pair[5];
            const int c2 = pair[3];
            int outRow = 0, outColumn = 0, outWidth = w;
            switch (flip) {
            case 0: outRow = h - 1 - y, outColumn = x; break;
            case 1: outRow = h - 1 - y, outColumn = w - 1 - x; break;
            case 2: outRow = y, outColumn = x; break;
            case 3: outRow = y, outColumn = w - 1 - x; break;
            case 4: outRow = x, outColumn = y, outWidth = h; break;
            default: outRow = w - 1 - x, outColumn = y, outWidth = h; break;
            }
            std::uint8_t* p = &out[3 * (static_cast<std::size_t>(outRow) * outWidth + outColumn)];
            p[0] = clamp(luma + (c2 - 128) * 129 / 64);
            p[1] = clamp(luma + (128 - c2) * 25 / 64 + (128 - c1) * 13 / 16);
            p[2] = clamp(luma + (c1 - 128) * 51 / 32);
        }
    }
    if (flip == 4 || flip == 5) std::swap(width, height);
    return out;
}

}  // namespace kqcmos::test
