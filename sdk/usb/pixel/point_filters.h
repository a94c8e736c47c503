// Picture-wide adjustments set through the C interface: light, contrast,
// saturation and sharpness, and the limits their settings are stored with.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"
#include "gain_tables.h"
#include "simd_level.h"

namespace kqcmos {

inline constexpr int kNeutralLight = 32;
inline constexpr int kNeutralContrast = 16;
inline constexpr int kNeutralSaturation = 8;
inline constexpr int kNeutralSharpness = 1;

// ((v - 1) remainder 32) + 1, the remainder taking the sign of v - 1:
// 1..32 stay, 33 becomes 1.
int NormalizeContrast(int v);
int ClampSaturation(int v);  // 1..16
int ClampSharpness(int v);   // 1..8
// The contrast argument of AdjustColor for a stored contrast setting:
// (2 x contrast) mod 256, in 0..255 (a setting of 0 or less gives 0 or a
// large value, as the byte argument of the reference design does).
int ContrastArgument(int contrast);

// Scales every byte: v x (light + 31) / 64 below 32, v x light / 32 above,
// limited to 255; 32 leaves the bytes unchanged.
void ApplyLight(std::span<std::uint8_t> bytes, int light);
// The table ApplyLight maps every byte through (other than at 32).
ByteTable LightTable(int light);

// Contrast c (twice the stored contrast setting) on every byte:
// (c x v) / 32 + 128 - 4c limited to 0..255, a slope of c / 32 around 128.
// Runs for colour modes 0 to 3 and 5 and returns 0; any other mode changes
// nothing and is returned.
int AdjustColor(std::span<std::uint8_t> bytes, int c, int colorMode);
// True for the colour modes AdjustColor runs for.
bool AdjustsColour(int colorMode);
// The table AdjustColor maps every byte through.
ByteTable ContrastTable(int c);

// Moves each channel of a 24-bit picture away from (s > 8) or toward (s < 8)
// the pixel's grey level 3/8 x (B + G + R), for rows 1 .. height - 2.
// Runs the kernels of `level`, which the CPU must support.
void ApplySaturation(FrameSize size, std::span<std::uint8_t> rgb, int s, SimdLevel level = BestSimdLevel());
// The same, pixel by pixel: the reference the fast kernels are checked against.
void ApplySaturationReference(FrameSize size, std::span<std::uint8_t> rgb, int s);

// v + ((8v - N) / 2) x (s - 1) / 8 with N the sum of the eight neighbours in
// the same channel, for rows 1 .. height - 2 and columns 1 .. width - 2.
// `scratch` holds two rows (2 x width x bytesPerPixel bytes) of the unfiltered
// picture; false when it is too small or the frame is not 3 x 3 or larger.
// Runs the kernels of `level`, which the CPU must support.
[[nodiscard]] bool ApplySharpness(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> frame, int s,
                                  std::span<std::uint8_t> scratch, SimdLevel level = BestSimdLevel());
// The same, byte by byte: the reference the fast kernels are checked against.
[[nodiscard]] bool ApplySharpnessReference(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> frame, int s,
                                           std::span<std::uint8_t> scratch);

// ApplySaturation and then ApplySharpness (3 bytes a pixel) on a 24-bit
// picture, in one pass over it where both settings are in their stored
// range; returns what ApplySharpness returns.
[[nodiscard]] bool ApplySaturationAndSharpness(FrameSize size, std::span<std::uint8_t> rgb, int saturation,
                                               int sharpness, std::span<std::uint8_t> scratch,
                                               SimdLevel level = BestSimdLevel());

}  // namespace kqcmos
