// White balance of the GigE cameras: three gains (one per Bayer site class),
// the lookup tables built from them, the one-shot measurement on a raw frame
// and the continuous apply of the tables to every raw byte.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "frame_layout.h"

namespace kqge {

using AwbTable = std::array<std::uint8_t, 256>;

struct AwbGains {
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;
    friend bool operator==(const AwbGains&, const AwbGains&) = default;
};

struct AwbTables {
    AwbTable red;
    AwbTable green;
    AwbTable blue;
};

AwbTables IdentityAwbTables();

// table_c[i] = min(255, i x M / gain_c) with M the largest gain. Any gain
// below 1 (a missing, zero or negative value in the settings file) gives
// identity tables.
AwbTables BuildAwbTables(const AwbGains& gains);

struct AwbMeasurement {
    AwbGains gains;  // the site means, each at least 1
    AwbTables tables;
};

// Means of the red, green and blue sites of the whole frame (4 x sum / area
// for red and blue, 2 x sum / area for green, each at least 1) and tables
// that bring each to the largest; blue to 6 below it. Frames smaller than
// the buffer's claim measure nothing and give identity tables.
AwbMeasurement MeasureWhiteBalance(FrameSize size, int measurementPhase, std::span<const std::uint8_t> raw);

// Every raw byte through the table of its site.
void ApplyWhiteBalance(FrameSize size, int measurementPhase, const AwbTables& tables, std::span<std::uint8_t> raw);

}  // namespace kqge
