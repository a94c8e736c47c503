#pragma once
// Sensor size, exposure limit and timing defaults per device type code.

#include <cstdint>

namespace kq {

struct ModelGeometry {
    std::int32_t maxWidth = 2592;
    std::int32_t maxHeight = 1944;
    std::int32_t maxExposure = 4000;
    bool stripeCapable = false;
    std::uint16_t defaultSensorReadMode = 0;
    std::uint16_t defaultHorizontalBlanking = 0;
    std::uint16_t defaultVerticalBlanking = 0;
    // Types with timing defaults also repair two columns at the right edge.
    std::int32_t rightEdgeRepair = 0;
};

ModelGeometry GeometryForType(std::int32_t typeCode);

}  // namespace kq
