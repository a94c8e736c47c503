// The model code of a camera, chosen from the model name of its discovery
// record. Codes 0x1....... are CMOS sensors, others CCD; the low bit marks a
// monochrome sensor; 0xB0 and 0xB1 in the low byte the two-bytes-per-pixel
// CCD variants. 0 is the default camera.
#pragma once

#include <cstdint>
#include <string_view>

namespace kqge {

// Patterns are tried in a fixed order, case-insensitively, anywhere in the
// name; the first found wins.
std::uint32_t ModelCodeFromName(std::string_view modelName);

}  // namespace kqge
