#pragma once
// Expected frames after the edge repair, written from the mirror rule: a
// pixel of an edge of n lines takes the pixel that lies as far inside the
// first good line (line n from that edge) as it lies outside it. An edge
// whose mirror would reach past the frame stays as it is.

#include <cstdint>
#include <vector>

#include "edge_repair.h"
#include "frame_size.h"

namespace kq::test {

// The line a pixel at `i` of `lines` takes, with `low` lines repaired at the
// start and `high` at the end.
inline int MirrorSource(int i, int lines, int low, int high) {
    if (low > 0 && 2 * low + 1 <= lines && i < low) return 2 * low - i;
    if (high > 0 && 2 * high + 1 <= lines && i >= lines - high) return 2 * (lines - 1 - high) - i;
    return i;
}

// `frame` (rows top first, `bytesPerPixel` bytes a pixel) with its edges
// mirrored; `bottom` counts the last rows of the buffer.
inline std::vector<std::uint8_t> MirroredEdges(const std::vector<std::uint8_t>& frame, kqcmos::FrameSize size,
                                               kqcmos::EdgeRepair counts, int bytesPerPixel = 1) {
    std::vector<std::uint8_t> out(frame);
    const auto bpp = static_cast<std::size_t>(bytesPerPixel);
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = 0; y < size.height; ++y) {
        const auto fromY = static_cast<std::size_t>(MirrorSource(y, size.height, counts.top, counts.bottom));
        for (int x = 0; x < size.width; ++x) {
            const auto fromX = static_cast<std::size_t>(MirrorSource(x, size.width, counts.left, counts.right));
            for (std::size_t b = 0; b < bpp; ++b) {
                out[(static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)) * bpp + b] =
                    frame[(fromY * w + fromX) * bpp + b];
            }
        }
    }
    return out;
}

}  // namespace kq::test
