// Contrast on the raw frame, before anything else touches it.
#pragma once

#include <cstdint>
#include <span>

namespace kqge {

// 8-bit samples: v -> clamp(c x v / 32 + 128 - 4c, 0, 255), the USB
// library's contrast kernel; c = 32 leaves the bytes alone.
void ApplyContrast8(std::span<std::uint8_t> raw, int contrast);

// 12-bit samples in 16-bit words: v -> clamp(c x v / 32 - 64c + 2048, 0, 4095).
// A trailing odd byte is left alone.
void ApplyContrast16(std::span<std::uint8_t> raw, int contrast);

}  // namespace kqge
