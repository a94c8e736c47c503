// Frames for the pixel tests: random content, uniform content, and the odd
// sizes every kernel is run at.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "frame_size.h"

namespace kqcmos::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes RandomBytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes b(n);
    for (auto& v : b) {
        v = static_cast<std::uint8_t>(byte(rng));
    }
    return b;
}

// Sizes not divisible by 8, odd in either direction, and the smallest ones.
inline const std::vector<FrameSize>& OddSizes() {
    static const std::vector<FrameSize> sizes = {
        {2, 4}, {3, 5}, {5, 4}, {7, 7}, {9, 6}, {13, 11}, {16, 9}, {33, 17}, {972, 6}, {31, 64},
    };
    return sizes;
}

inline std::uint8_t& At(Bytes& frame, FrameSize size, int y, int x, int bpp = 1, int c = 0) {
    return frame[(static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) + static_cast<std::size_t>(x)) *
                     static_cast<std::size_t>(bpp) +
                 static_cast<std::size_t>(c)];
}

}  // namespace kqcmos::test
