// Shading (erasure) correction of 24-bit pictures: planes that hold, per
// pixel and byte position, how far the sample lies below its channel mean,
// added back to later frames with saturation.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"

namespace kqcmos {

// Means of blue, green and red over a centre window (half-width
// min(width / 2, 320), half-height min(height / 2, 192) for Bayer order
// indices 0 to 3, the two limits exchanged for 4 and 5), then per sample
// max(0, ((mean - value) / 5) x 5). False when a buffer is too small.
[[nodiscard]] bool ComputeErasurePlanes(FrameSize size, int bayerOrderIndex, std::span<const std::uint8_t> rgb,
                                        std::span<std::uint8_t> bluePlane, std::span<std::uint8_t> greenPlane,
                                        std::span<std::uint8_t> redPlane);

// out = min(255, frame + plane), byte by byte over the shorter of the two.
void AddPlaneSaturated(std::span<std::uint8_t> frame, std::span<const std::uint8_t> plane);

// Adds the three planes to a 24-bit picture.
void ApplyErasurePlanes(FrameSize size, std::span<std::uint8_t> rgb, std::span<const std::uint8_t> bluePlane,
                        std::span<const std::uint8_t> greenPlane, std::span<const std::uint8_t> redPlane);

}  // namespace kqcmos
