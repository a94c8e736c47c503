#pragma once
// The raw formats of the 16-bit model cameras, converted for the 8-bit
// picture path: RGB 5-6-5 pixels to 24-bit BGR, and 16-bit samples to one
// byte each. Both run once per frame: no allocation, every pixel including
// any tail that does not fill a whole group.

#include <cstdint>
#include <span>

namespace kq::raw {

// Two little-endian bytes per pixel: byte 0 holds green bits 2-0 in its top
// three bits and blue in its low five, byte 1 red in its top five and green
// bits 5-3 in its low three. Out: blue = byte 0 x 8, green = (value >> 3)
// & 0xFC, red = byte 1 & 0xF8. False (nothing written) unless `bgr` holds
// 3 bytes per pixel of `pixels` (2 bytes per pixel, an even count).
[[nodiscard]] bool Rgb565ToBgr(std::span<const std::uint8_t> pixels, std::span<std::uint8_t> bgr);

// Which byte of each little-endian 16-bit sample the picture keeps.
enum class SampleByte { high, low };

// Sample k (bytes 2k, 2k + 1) becomes byte k of the same buffer. Returns the
// number of samples reduced (the buffer's size / 2).
std::size_t ReduceSamplesInPlace(std::span<std::uint8_t> samples, SampleByte keep);

}  // namespace kq::raw
