// The contrast-demosaic camera's kernels: nearest-sample demosaic of its
// Bayer cell (green on the diagonal, blue right of the top-left green, red
// below it) with the contrast mapping applied while interpolating. Outputs
// are bottom-up unless an orientation says otherwise; frames need at least
// 2 x 2 pixels, and a last odd row or column takes the cell before it.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"
#include "simd_level.h"

namespace kqcmos {

// m(x) = (c x x >> 4) + 128 - 8c within 0..255; c = 16 is the identity and
// 29 is taken as 30.
int ContrastValue(int contrast);
int ContrastMap(int x, int contrast);

// Grey (306 m(R) + 601 m(G) + 117 m(B)) >> 10 of each pixel's cell, G the
// mean of the cell's two greens. The row of the last raw row then repeats
// the row of the one before it. `flipMode` 0..3 orients the picture as the
// Bayer kernels do (0 bottom-up, 1 mirrored, 2 top-down, 3 both).
[[nodiscard]] bool BayerToGrayContrast8(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw,
                                        int contrast, int flipMode = 0);
[[nodiscard]] bool BayerToGrayContrast24(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw,
                                         int contrast, int flipMode = 0);

// The sensor's Bayer phase as each flip mode reads it: which corner of a
// 2 x 2 cell holds blue and red (greens on the other two).
enum class ContrastPhase {
    flip0,  // BayerToRgbContrast: blue top right, red bottom left
    flip1,  // BayerToRgbContrastA: blue top left, red bottom right
    flip2,  // BayerToRgbContrastB: blue bottom right, red top left
};

// The colour kernels. First an in-place stage on the raw frame over the
// first height / 2 - 1 row pairs, eight pixels at a time (the rest of a row
// is left alone): for a cell a b / c d, G = m((a + d) >> 1),
// k = (G - c) >> 1, and the cell becomes G, m(2b - G - (k >> 2)) / m(c - k), G.
// Then 24-bit BGR from each pixel's cell read in `phase`.
[[nodiscard]] bool BayerToRgbContrastReference(FrameSize size, std::span<std::uint8_t> out,
                                               std::span<std::uint8_t> raw, int contrast,
                                               ContrastPhase phase = ContrastPhase::flip0);
// The same, byte for byte (the raw frame's stage included), through the
// model kernels of `level` while the contrast keeps their 16-bit lanes.
[[nodiscard]] bool BayerToRgbContrast(FrameSize size, std::span<std::uint8_t> out, std::span<std::uint8_t> raw,
                                      int contrast, ContrastPhase phase = ContrastPhase::flip0,
                                      SimdLevel level = BestSimdLevel());

// The camera's conversion by colour mode: 0 and 5 the colour kernel of the
// flip's phase, 1 the flip-0 colour kernel, 2 grey RGB in the flip's
// orientation, 3 8-bit grey, 4 the raw bytes. Flip modes 4 and 5 arrive
// turned and take flip 0's kernels. False for other colour modes or frames
// the kernels cannot take.
[[nodiscard]] bool ContrastDemosaic(int colorMode, int flipMode, FrameSize size, std::span<std::uint8_t> out,
                                    std::span<std::uint8_t> raw, int contrast);

}  // namespace kqcmos
