#pragma once
// Grey levels of the counting engine: the grey working image of one channel,
// its histogram, the window of levels chosen automatically and the target
// mask of a window. Grey images and masks hold one byte per pixel, rows
// bottom-up without padding; the 24-bit source keeps the picture's padded rows.
#include <array>
#include <cstdint>
#include <span>

#include "count_geometry.h"

using GreyHistogram = std::array<std::int64_t, 256>;

enum class GreyChannel : int { red = 0, green = 1, blue = 2, luminance = 3 };

// grey must hold width x height bytes; bgr the padded 24-bit rows.
void MakeGreyImage(std::span<const std::uint8_t> bgr, int width, int height, GreyChannel channel,
                   std::span<std::uint8_t> grey);

GreyHistogram HistogramOf(std::span<const std::uint8_t> grey, int width, const CountRect& area);

// Splits the levels where the two classes differ most (between-class
// variance) and takes the class with fewer pixels as the targets: their
// levels low..high. An empty histogram gives 0..0.
CountSize AutomaticWindow(const GreyHistogram& histogram);

// 255 where the grey level lies in low..high and the pixel is in `area`,
// 0 elsewhere.
void ThresholdMask(std::span<const std::uint8_t> grey, int width, int height, int low, int high, const CountRect& area,
                   std::span<std::uint8_t> mask);
