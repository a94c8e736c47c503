#pragma once
// The output sub-rectangle cut out of the delivered picture. The caller's
// window (x, y, width, height) is placed in the bottom-up buffer according to
// the flip mode; it is checked against every frame, because the frame can be
// smaller than when the window was set, or turned a quarter.

#include <cstdint>
#include <optional>
#include <span>

#include "frame_size.h"

namespace kq {

struct CropRequest {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

// Column, row and size of the block in buffer coordinates.
struct CropBlock {
    std::int32_t column = 0, row = 0, width = 0, height = 0;
    bool operator==(const CropBlock&) const = default;
};

// `frame` is the picture after rotation. Nothing when the block does not lie
// wholly inside it.
std::optional<CropBlock> PlaceCrop(const CropRequest& crop, std::int32_t flipMode, kqcmos::FrameSize frame);

// Copies the block out of `picture` into the front of `out`, rows without
// gaps. False when a buffer is too small.
bool CopyCrop(const CropBlock& block, kqcmos::FrameSize frame, int bytesPerPixel, std::span<const std::uint8_t> picture,
              std::span<std::uint8_t> out);

}  // namespace kq
