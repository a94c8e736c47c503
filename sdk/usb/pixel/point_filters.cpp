#include "point_filters.h"

#include "fast_kernels.h"
#include "gain_tables.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kqcmos {
namespace {

// A frame of at least 3 x 3 pixels and two rows of scratch.
bool SharpnessFits(FrameSize size, int bytesPerPixel, std::span<const std::uint8_t> frame,
                   std::span<const std::uint8_t> scratch) {
    return HoldsFrame(frame, size, bytesPerPixel, 3, 3) &&
           scratch.size() >= 2 * static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerPixel);
}

}  // namespace

int NormalizeContrast(int v) { return static_cast<int>((static_cast<long long>(v) - 1) % 32) + 1; }

int ClampSaturation(int v) { return std::clamp(v, 1, 16); }

int ClampSharpness(int v) { return std::clamp(v, 1, 8); }

int ContrastArgument(int contrast) {
    return static_cast<int>(((2 * static_cast<long long>(contrast)) % 256 + 256) % 256);
}

ByteTable LightTable(int light) {
    const int numerator = light < kNeutralLight ? light + 31 : light;
    const int denominator = light < kNeutralLight ? 64 : 32;
    ByteTable table{};
    for (int v = 0; v < 256; ++v) {
        table[static_cast<std::size_t>(v)] = ClampToByte(v * numerator / denominator);
    }
    return table;
}

void ApplyLight(std::span<std::uint8_t> bytes, int light) {
    if (light == kNeutralLight) {
        return;
    }
    ApplyTable(bytes, LightTable(light));
}

bool AdjustsColour(int colorMode) { return colorMode >= 0 && colorMode <= 5 && colorMode != 4; }

ByteTable ContrastTable(int c) {
    const int offset = 128 - 4 * c;
    ByteTable table{};
    for (int v = 0; v < 256; ++v) {
        table[static_cast<std::size_t>(v)] = ClampToByte(c * v / 32 + offset);
    }
    return table;
}

int AdjustColor(std::span<std::uint8_t> bytes, int c, int colorMode) {
    if (!AdjustsColour(colorMode)) {
        return colorMode;
    }
    ApplyTable(bytes, ContrastTable(c));
    return 0;
}

void ApplySaturation(FrameSize size, std::span<std::uint8_t> rgb, int s, SimdLevel level) {
    if (s == kNeutralSaturation || !HoldsFrame(rgb, size, 3, 1, 3)) {
        return;
    }
    // The fast kernels compute in 16 bits, exact for the settings' range.
    if (s != ClampSaturation(s)) {
        ApplySaturationReference(size, rgb, s);
        return;
    }
    KernelsFor(level).saturationRows(size.width, size.height, rgb.data(), s);
}

void ApplySaturationReference(FrameSize size, std::span<std::uint8_t> rgb, int s) {
    if (s == kNeutralSaturation || !HoldsFrame(rgb, size, 3, 1, 3)) {
        return;
    }
    const auto rowBytes = static_cast<std::size_t>(size.width) * 3;
    for (int y = 1; y + 1 < size.height; ++y) {
        std::uint8_t* p = rgb.data() + static_cast<std::size_t>(y) * rowBytes;
        for (int x = 0; x < size.width; ++x, p += 3) {
            const int sum = p[0] + p[1] + p[2];
            const int grey = (sum >> 3) + (sum >> 2);
            for (int c = 0; c < 3; ++c) {
                const int v = p[c];
                const int moved =
                    s < kNeutralSaturation ? v + (((8 - s) * (grey - v)) >> 3) : v + (((s - 8) * (v - grey)) >> 3);
                p[c] = ClampToByte(moved);
            }
        }
    }
}

bool ApplySharpness(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> frame, int s,
                    std::span<std::uint8_t> scratch, SimdLevel level) {
    // The fast kernels compute in 16 bits, exact for the settings' range.
    if (s != ClampSharpness(s) || !SharpnessFits(size, bytesPerPixel, frame, scratch)) {
        return ApplySharpnessReference(size, bytesPerPixel, frame, s, scratch);
    }
    if (s > kNeutralSharpness) {
        KernelsFor(level).sharpnessRows(size.width * bytesPerPixel, size.height, bytesPerPixel, frame.data(), s,
                                        scratch.data());
    }
    return true;
}

bool ApplySaturationAndSharpness(FrameSize size, std::span<std::uint8_t> rgb, int saturation, int sharpness,
                                 std::span<std::uint8_t> scratch, SimdLevel level) {
    const bool bothRun = saturation != kNeutralSaturation && sharpness > kNeutralSharpness;
    const bool inRange = saturation == ClampSaturation(saturation) && sharpness == ClampSharpness(sharpness);
    if (!bothRun || !inRange || !SharpnessFits(size, 3, rgb, scratch)) {
        ApplySaturation(size, rgb, saturation, level);
        return ApplySharpness(size, 3, rgb, sharpness, scratch, level);
    }
    KernelsFor(level).saturateSharpenRows(size.width, size.height, rgb.data(), saturation, sharpness, scratch.data());
    return true;
}

bool ApplySharpnessReference(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> frame, int s,
                             std::span<std::uint8_t> scratch) {
    if (!SharpnessFits(size, bytesPerPixel, frame, scratch)) {
        return false;
    }
    const auto rowBytes = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerPixel);
    if (s <= kNeutralSharpness) {
        return true;
    }
    // Rows above the current one are already filtered; keep their originals.
    std::uint8_t* above = scratch.data();
    std::uint8_t* current = scratch.data() + rowBytes;
    std::memcpy(above, frame.data(), rowBytes);
    const int step = bytesPerPixel;
    for (int y = 1; y + 1 < size.height; ++y) {
        std::uint8_t* row = frame.data() + static_cast<std::size_t>(y) * rowBytes;
        const std::uint8_t* below = row + rowBytes;
        std::memcpy(current, row, rowBytes);
        for (std::size_t i = static_cast<std::size_t>(step); i + static_cast<std::size_t>(step) < rowBytes; ++i) {
            const int v = current[i];
            const int neighbours = above[i - step] + above[i] + above[i + step] + current[i - step] +
                                   current[i + step] + below[i - step] + below[i] + below[i + step];
            row[i] = ClampToByte(v + (8 * v - neighbours) / 2 * (s - 1) / 8);
        }
        std::swap(above, current);
    }
    return true;
}

}  // namespace kqcmos
