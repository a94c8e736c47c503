#pragma once
// Expected pictures of the cameras whose Bayer cell is G R / B G (red at
// even rows, odd columns; blue at odd rows, even columns), written out per
// pixel: the colour members 0..3 and the FPGA family's quarter turns.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "frame_size.h"

namespace kq::test {

// Member 0 bottom-up, 1 bottom-up mirrored, 2 top-down, 3 top-down mirrored.
// Output row y (raw rows R0 = 2k, R1 = 2k + 1, R2 = 2k + 2 with k = y / 2)
// and column x = 2i or 2i + 1: blue R1[2i] or R1[2i + 2], green the mean of
// R1[2i + 1] and the even row's sample at 2i or 2i + 2 (R0 for even y, R2
// for odd y), red that row's R[2i + 1]. Rows below 2 (H / 2) - 3 repeat it;
// the last four pixels of each row repeat the one before them.
inline std::vector<std::uint8_t> GreenDiagonalPicture(int member, kqcmos::FrameSize size,
                                                      const std::vector<std::uint8_t>& raw) {
    const auto w = static_cast<std::size_t>(size.width);
    const int lastRow = 2 * (size.height / 2) - 3;
    std::vector<std::uint8_t> out(3 * raw.size());
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const int sy = std::min(y, lastRow);
            const int sx = std::min(x, size.width - 5);
            const int k = sy / 2, i = sx / 2;
            const std::uint8_t* r1 = raw.data() + static_cast<std::size_t>(2 * k + 1) * w;
            const std::uint8_t* rn = raw.data() + static_cast<std::size_t>(sy % 2 == 0 ? 2 * k : 2 * k + 2) * w;
            const int at = sx % 2 == 0 ? 2 * i : 2 * i + 2;
            const int blue = r1[at];
            const int green = (r1[2 * i + 1] + rn[at]) / 2;
            const int red = rn[2 * i + 1];
            const int oy = member < 2 ? size.height - 1 - y : y;
            const int ox = member % 2 == 1 ? size.width - 1 - x : x;
            std::uint8_t* p = out.data() + 3 * (static_cast<std::size_t>(oy) * w + static_cast<std::size_t>(ox));
            p[0] = static_cast<std::uint8_t>(blue);
            p[1] = static_cast<std::uint8_t>(green);
            p[2] = static_cast<std::uint8_t>(red);
        }
    }
    return out;
}

// Flip 4: out[r][c] = in[H - 1 - c][r], its last column mirrored from the
// one two before it; flip 5: out[r][c] = in[c][W - 1 - r], its last row
// from the row two above. `size` becomes H x W.
inline std::vector<std::uint8_t> FpgaQuarterTurn(int flip, kqcmos::FrameSize& size,
                                                 const std::vector<std::uint8_t>& in) {
    const int w = size.width, h = size.height;
    std::vector<std::uint8_t> out(in.size());
    // The turned frame is h wide and w high.
    auto at = [&](int r, int c) -> std::uint8_t& { return out[static_cast<std::size_t>(r) * h + c]; };
    for (int r = 0; r < w; ++r) {
        for (int c = 0; c < h; ++c) {
            const int from = flip == 4 ? (h - 1 - c) * w + r : c * w + (w - 1 - r);
            at(r, c) = in[static_cast<std::size_t>(from)];
        }
    }
    for (int r = 0; r < w; ++r) {
        for (int c = 0; c < h; ++c) {
            if (flip == 4 && c == h - 1) at(r, c) = at(r, c - 2);
            if (flip == 5 && r == w - 1) at(r, c) = at(r - 2, c);
        }
    }
    size = {h, w};
    return out;
}

}  // namespace kq::test
