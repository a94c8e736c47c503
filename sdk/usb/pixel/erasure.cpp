#include "erasure.h"

#include <algorithm>
#include <array>

namespace kqcmos {

bool ComputeErasurePlanes(FrameSize size, int bayerOrderIndex, std::span<const std::uint8_t> rgb,
                          std::span<std::uint8_t> bluePlane, std::span<std::uint8_t> greenPlane,
                          std::span<std::uint8_t> redPlane) {
    const std::size_t pixels = FrameBytes(size);
    if (!HoldsFrame(rgb, size, 3) || bluePlane.size() < pixels || greenPlane.size() < pixels ||
        redPlane.size() < pixels) {
        return false;
    }
    const bool upright = bayerOrderIndex < 4;
    const int halfWidth = std::min(size.width / 2, upright ? 320 : 192);
    const int halfHeight = std::min(size.height / 2, upright ? 192 : 320);
    const int x0 = size.width / 2 - halfWidth;
    const int y0 = size.height / 2 - halfHeight;
    std::array<std::uint64_t, 3> sums{};
    std::uint64_t count = 0;
    for (int y = y0; y < y0 + 2 * halfHeight; ++y) {
        const std::uint8_t* p =
            rgb.data() +
            (static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) + static_cast<std::size_t>(x0)) * 3;
        for (int x = 0; x < 2 * halfWidth; ++x, p += 3) {
            sums[0] += p[0];
            sums[1] += p[1];
            sums[2] += p[2];
        }
        count += static_cast<std::uint64_t>(2 * halfWidth);
    }
    std::array<int, 3> means{};
    for (std::size_t c = 0; c < 3; ++c) {
        means[c] = count == 0 ? 0 : static_cast<int>(sums[c] / count);
    }
    const std::array<std::span<std::uint8_t>, 3> planes{bluePlane, greenPlane, redPlane};
    for (std::size_t i = 0; i < pixels; ++i) {
        for (std::size_t c = 0; c < 3; ++c) {
            const int below = (means[c] - rgb[3 * i + c]) / 5 * 5;
            planes[c][i] = static_cast<std::uint8_t>(std::max(0, below));
        }
    }
    return true;
}

void AddPlaneSaturated(std::span<std::uint8_t> frame, std::span<const std::uint8_t> plane) {
    const std::size_t n = std::min(frame.size(), plane.size());
    for (std::size_t i = 0; i < n; ++i) {
        frame[i] = static_cast<std::uint8_t>(std::min(255, frame[i] + plane[i]));
    }
}

void ApplyErasurePlanes(FrameSize size, std::span<std::uint8_t> rgb, std::span<const std::uint8_t> bluePlane,
                        std::span<const std::uint8_t> greenPlane, std::span<const std::uint8_t> redPlane) {
    const std::size_t pixels = FrameBytes(size);
    if (!HoldsFrame(rgb, size, 3) || bluePlane.size() < pixels || greenPlane.size() < pixels ||
        redPlane.size() < pixels) {
        return;
    }
    for (std::size_t i = 0; i < pixels; ++i) {
        rgb[3 * i] = static_cast<std::uint8_t>(std::min(255, rgb[3 * i] + bluePlane[i]));
        rgb[3 * i + 1] = static_cast<std::uint8_t>(std::min(255, rgb[3 * i + 1] + greenPlane[i]));
        rgb[3 * i + 2] = static_cast<std::uint8_t>(std::min(255, rgb[3 * i + 2] + redPlane[i]));
    }
}

}  // namespace kqcmos
