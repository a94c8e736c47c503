// Fixed tone tables: the default tone curve (three equal 32-bit tables) and
// the HDR tone table applied to every byte of a colour frame.
#pragma once

#include <array>
#include <cstdint>

#include "gain_tables.h"

namespace kqcmos {

using ToneCurve = std::array<std::uint32_t, 256>;

// Piecewise-linear curve that lifts the shadows; continuous at its knots.
ToneCurve BuildDefaultToneCurve();

const ByteTable& HdrToneTable();

}  // namespace kqcmos
