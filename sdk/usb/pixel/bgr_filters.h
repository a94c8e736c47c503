// The colour-adjust filters in the form the YUV camera runs them, on its
// 24-bit BGR picture instead of a raw Bayer frame: kind 1 sharpens the
// middle (green) byte against the other two, kind 2 boosts each pixel's
// strongest channel and drags the middle one along.
#pragma once

#include <cstdint>
#include <span>

namespace kqcmos {

// Each pixel's middle byte m becomes m + (2m - first - third) / 2, limited
// to 0..255.
void SharpenBgr(std::span<std::uint8_t> bgr);

// Per pixel, channels ordered max >= mid >= min:
// max' = min(255, max + max x (max - mid) x 5 / 1024),
// mid' = min(255, mid + (mid - min) x (max' - max) / ((mid - min) + 85)),
// min unchanged. Of equal channels the one earlier in the pixel ranks higher.
void FilterDefectsBgr(std::span<std::uint8_t> bgr);

// Runs the filter for `kind` (the colour-adjust value); other kinds run nothing.
void RunBgrFilter(int kind, std::span<std::uint8_t> bgr);

}  // namespace kqcmos
