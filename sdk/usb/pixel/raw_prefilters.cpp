#include "raw_prefilters.h"

#include <algorithm>

#include "bayer_kernels.h"

namespace kqcmos {
namespace {

int Boost(int x, int y) { return std::min(255, x + x * y * kDefectFilterStrength / 1024); }

// Raises `follower` in proportion to how much the leader was raised, softer
// when the follower is close to the smallest value.
int Follow(int follower, int leaderRise, int spread) {
    return std::min(255, follower + leaderRise * spread / (spread + kDefectFilterSoftness));
}

void FilterCell(std::uint8_t& red, std::uint8_t& greenRight, std::uint8_t& greenBelow, std::uint8_t& blue) {
    const int r = red;
    const int b = blue;
    const int g = (greenBelow + greenRight) / 2;
    int newR = r;
    int newG = g;
    int newB = b;
    if (r >= g && g >= b) {
        newR = Boost(r, r - g);
        newG = Follow(g, newR - r, g - b);
    } else if (r >= b && b >= g) {
        newR = Boost(r, r - b);
        newB = Follow(b, newR - r, b - g);
    } else if (g >= b && b >= r) {
        newG = Boost(g, g - b);
        newB = Follow(b, newG - g, b - r);
    } else if (b > g && g >= r) {
        newB = Boost(b, b - g);
        newG = Follow(g, b - g, g - r);
    } else if (g >= r && r >= b) {
        newG = Boost(g, g - r);
        newR = Follow(r, newG - g, r - b);
    } else {
        return;
    }
    red = static_cast<std::uint8_t>(newR);
    blue = static_cast<std::uint8_t>(newB);
    greenRight = static_cast<std::uint8_t>(newG);
    greenBelow = static_cast<std::uint8_t>(newG);
}

}  // namespace

void SharpenRaw(FrameSize size, std::span<std::uint8_t> raw) {
    if (!HoldsFrame(raw, size, 1, 4, 2)) {
        return;
    }
    const auto stride = static_cast<std::size_t>(size.width);
    for (int y = 1; y < size.height; y += 2) {
        std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * stride;
        // L is the odd sample before the pair; keep its value from before
        // the previous pair changed it so the result does not depend on the
        // direction of the walk.
        int left = row[1];
        for (int x = 2; x + 2 < size.width; x += 2) {
            const int a = row[x];
            const int b = row[x + 1];
            const int right = row[x + 2];
            row[x] = ClampToByte(a + (2 * a - left - right) / 2);
            row[x + 1] = ClampToByte(b + (2 * b - left - right) / 2);
            left = b;
        }
    }
}

void FilterDefects(FrameSize size, std::span<std::uint8_t> raw) {
    ForEachInnerCell(size, raw, FilterCell);
}

void RunRawPrefilter(int kind, FrameSize size, std::span<std::uint8_t> raw) {
    if (kind == 1) {
        SharpenRaw(size, raw);
    } else if (kind == 2) {
        FilterDefects(size, raw);
    }
}

}  // namespace kqcmos
