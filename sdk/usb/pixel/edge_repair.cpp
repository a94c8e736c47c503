#include "edge_repair.h"

#include <cstring>

namespace kqcmos {
namespace {

// The mirror of an edge of `n` lines fits when the line beyond it and its n
// sources lie inside `lines`.
bool Fits(std::int32_t n, int lines) { return n > 0 && 2 * static_cast<std::int64_t>(n) + 1 <= lines; }

}  // namespace

void RepairEdges(const EdgeRepair& counts, FrameSize size, std::span<std::uint8_t> frame, int bytesPerPixel) {
    if (bytesPerPixel <= 0 || !HoldsFrame(frame, size, bytesPerPixel)) return;
    const auto bpp = static_cast<std::size_t>(bytesPerPixel);
    const auto w = static_cast<std::size_t>(size.width);
    const std::size_t stride = w * bpp;
    const bool left = Fits(counts.left, size.width);
    const bool right = Fits(counts.right, size.width);
    if (left || right) {
        const auto nl = static_cast<std::size_t>(counts.left);
        const auto nr = static_cast<std::size_t>(counts.right);
        auto copy = [bpp](std::uint8_t* row, std::size_t to, std::size_t from) {
            std::memcpy(row + to * bpp, row + from * bpp, bpp);
        };
        for (int y = 0; y < size.height; ++y) {
            std::uint8_t* row = frame.data() + static_cast<std::size_t>(y) * stride;
            if (left) {
                for (std::size_t j = 0; j < nl; ++j) copy(row, nl - 1 - j, nl + 1 + j);
            }
            if (right) {
                for (std::size_t j = 0; j < nr; ++j) copy(row, w - nr + j, w - nr - 2 - j);
            }
        }
    }
    auto row = [&](std::size_t y) { return frame.data() + y * stride; };
    const auto h = static_cast<std::size_t>(size.height);
    if (Fits(counts.bottom, size.height)) {
        const auto n = static_cast<std::size_t>(counts.bottom);
        for (std::size_t j = 0; j < n; ++j) std::memcpy(row(h - n + j), row(h - n - 2 - j), stride);
    }
    if (Fits(counts.top, size.height)) {
        const auto n = static_cast<std::size_t>(counts.top);
        for (std::size_t j = 0; j < n; ++j) std::memcpy(row(n - 1 - j), row(n + 1 + j), stride);
    }
}

}  // namespace kqcmos
