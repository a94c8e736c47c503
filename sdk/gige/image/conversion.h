// Conversion of a raw frame into the picture of one output kind. Every
// output is bottom-up (raw row 0 ends in the last output row) except the raw
// copy of kind 3 and the 16-bit samples of kind 4, which keep the raw order;
// colour bytes are blue, green, red.
//
// Each function returns false and writes nothing when the size is not
// positive or a buffer is smaller than the frame it describes; any size from
// 1 x 1 up is converted without reading outside the raw frame.
#pragma once

#include <cstdint>
#include <span>

#include "frame_layout.h"

namespace kqge {

// 24-bit colour by Bayer phase: every pixel from the 2 x 2 window with the
// pixel at its top-left corner, blue and red its samples, green half of each
// of its two greens. The last column repeats the one before it, the last raw
// row the window of the row above; phases 1, 3 and 4 also copy the window
// of raw row 1 over raw row 0. Phase 3 on frames whose width is a multiple
// of 3 and height a multiple of 8 uses the USB library's packed kernel
// (green the halved sum, the last two raw rows from the window of the third
// last). Then the first byte of every row becomes the byte three later.
// Frames narrower or lower than 2 give each raw byte as grey.
[[nodiscard]] bool ConvertToColor(FrameSize size, int phase, std::span<const std::uint8_t> raw,
                                  std::span<std::uint8_t> out);

// Grey in 24 bits (`rgb`) or 8 bits by the settings' sensor and path:
// - mono sensor without the mono path: the raw bytes, rows reversed;
// - mono sensor with the mono path on the CMOS register family: the exact
//   mean of the 2 x 2 window;
// - otherwise the sum of the window's four samples each divided by 4.
// Windows as in ConvertToColor; the last column and raw row repeat.
[[nodiscard]] bool ConvertToGrey(FrameSize size, const ImageSettings& settings, bool rgb,
                                 std::span<const std::uint8_t> raw, std::span<std::uint8_t> out);

// Kind 4: 16-bit samples shifted left by 4 at 8 or 12 valid bits (raw row
// order), the exact 2 x 2 mean at 10 valid bits (bottom-up); any other count
// leaves the output untouched.
[[nodiscard]] bool ConvertWide16(FrameSize size, int validBits, std::span<const std::uint8_t> raw,
                                 std::span<std::uint8_t> out);

// The 8-bit picture drawn for a kind 4 picture: sample >> 2 at 10 valid bits,
// else sample >> 8.
[[nodiscard]] bool Wide16ToDrawing(FrameSize size, int validBits, std::span<const std::uint8_t> wide,
                                   std::span<std::uint8_t> grey);

// The conversion of `kind`: colour by the interpolation phase, grey, the raw
// copy or the 16-bit path.
[[nodiscard]] bool ConvertByKind(OutputKind kind, FrameSize size, const ImageSettings& settings,
                                 std::span<const std::uint8_t> raw, std::span<std::uint8_t> out);

}  // namespace kqge
