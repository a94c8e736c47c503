// Orientation of raw frames: the quarter turns of flip modes 4 and 5, and the
// orientation copy used for monochrome sensors.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"

namespace kqcmos {

// What mode 4 repairs: the first output column (it repeats column 2), the
// last (it repeats the column two before it), or, as mode 5 always does, the
// last output row. Sensors read out in the opposite direction leave their
// bad column on the other side.
enum class TurnRepair { firstColumn, lastColumn, lastRow };

// Mode 4: output row j, column i from input row H - 1 - i, column j, then
// the `repair` column is mended. Mode 5: output row W - 1 - j, column i
// from input row i, column j, then the last output row repeats the row two
// before it. `size` becomes H x W. Other modes do nothing. False (nothing
// written) for frames smaller than 3 x 3 or buffers that are too small.
[[nodiscard]] bool FlipFrame(int flipMode, FrameSize& size, std::span<std::uint8_t> out,
                             std::span<const std::uint8_t> raw, TurnRepair repair = TurnRepair::firstColumn);

// Copies a grey frame into output orientation, the same as the Bayer
// kernels: rows bottom-up for flip modes 0, 4, 5 and 1, top-down for 2 and 3,
// each row mirrored for 1 and 3.
[[nodiscard]] bool OrientGrayFrame(int flipMode, FrameSize size, std::span<std::uint8_t> out,
                                   std::span<const std::uint8_t> in);

// Every pixel the mean of itself and its right, lower and lower-right
// neighbours; the last column repeats the one before it and the first and
// last rows copy their neighbours. `bytesPerPixel` 1 or 3 (grey RGB).
[[nodiscard]] bool Average2x2(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> out,
                              std::span<const std::uint8_t> in);

}  // namespace kqcmos
