// Edge repair of a raw frame: the outermost columns and rows that a sensor
// delivers without usable samples are replaced by mirror images of their
// inner neighbours, about the first good column or row, before any step
// reads them.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"

namespace kqcmos {

// How many columns at the left and right and rows at the bottom (the last
// rows of the raw frame, which arrives top row first) and top are repaired.
struct EdgeRepair {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t top = 0;
    friend bool operator==(const EdgeRepair&, const EdgeRepair&) = default;
};

// With n the count of an edge, column n - 1 - j takes column n + 1 + j at
// the left, column W - n + j takes column W - n - 2 - j at the right, and
// the rows likewise; the columns first, then the rows. An edge whose count
// is not positive, or whose mirror would reach past the frame (fewer than
// 2n + 1 columns or rows), is left as it is; nothing is done when `frame`
// is short of the frame. A pixel is `bytesPerPixel` bytes (1 or 3).
void RepairEdges(const EdgeRepair& counts, FrameSize size, std::span<std::uint8_t> frame, int bytesPerPixel = 1);

}  // namespace kqcmos
