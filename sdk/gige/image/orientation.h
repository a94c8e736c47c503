// Flips before conversion and quarter turns after it. Both work on whole
// samples of `bytesPerSample` bytes (1 or 2 for raw frames, 1, 2 or 3 for
// pictures) and write into a separate buffer.
#pragma once

#include <cstdint>
#include <span>

#include "frame_layout.h"

namespace kqge {

// Flip mode 1 mirrors each row, 2 reverses the row order, 3 does both (the
// whole buffer reversed); any other mode copies. False (nothing written)
// when a buffer is smaller than the frame.
[[nodiscard]] bool FlipFrame(int flipMode, FrameSize size, int bytesPerSample, std::span<const std::uint8_t> in,
                             std::span<std::uint8_t> out);

inline bool IsQuarterTurn(int flipMode) { return flipMode == 4 || flipMode == 5; }

// Flip mode 4: output row i is input column i read from the last input row
// to the first; 5: output row (width - 1 - i) is input column i read from
// the first input row to the last. The result is height wide and width high.
// False (nothing written) for other modes or buffers smaller than the frame.
[[nodiscard]] bool TurnFrame(int flipMode, FrameSize size, int bytesPerSample, std::span<const std::uint8_t> in,
                             std::span<std::uint8_t> out);

// A rectangle of a frame: x along a stored row, y the stored row index.
struct PictureRegion {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

// Where region `r` of the unturned frame lies once flip mode `flipMode` has
// flipped or turned that frame into a picture of size `picture`: the same
// scene, its origin mirrored by flips 1-3 and turned with the frame by 4 and
// 5, width and height exchanged by a quarter turn.
PictureRegion RegionInPicture(int flipMode, FrameSize picture, const PictureRegion& r);

}  // namespace kqge
