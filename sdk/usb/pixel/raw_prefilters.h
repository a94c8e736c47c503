// Optional filters run on the raw Bayer frame before demosaicing, chosen by
// the colour-adjust setting: 1 sharpens the odd rows, 2 boosts colour
// contrast per cell; any other value runs nothing.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"

namespace kqcmos {

inline constexpr int kDefectFilterStrength = 5;
inline constexpr int kDefectFilterSoftness = 85;

// On rows 1, 3, 5 ...: each sample pair (x, y) at columns (2m, 2m + 1) with
// the samples L and R beside it becomes x + (2x - L - R) / 2 and
// y + (2y - L - R) / 2, limited to 0..255. Pairs without both L and R inside
// the row are left alone.
void SharpenRaw(FrameSize size, std::span<std::uint8_t> raw);

// Colour-contrast boost per 2 x 2 cell from row 2, column 2; frames narrower
// or lower than 5 are left alone.
void FilterDefects(FrameSize size, std::span<std::uint8_t> raw);

// Runs the pre-filter for `kind` (the colour-adjust value).
void RunRawPrefilter(int kind, FrameSize size, std::span<std::uint8_t> raw);

}  // namespace kqcmos
