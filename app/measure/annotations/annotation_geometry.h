#pragma once
// Geometry the annotation objects share: mouse positions (zoomed-picture
// pixels) as image pixels, device points and saturating device arithmetic.
#include <cstdint>

#include "geometry.h"

// A point in device pixels.
struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

inline bool IsUsableZoom(float zoom) { return zoom > 0.0f; }

inline PointF ToImagePoint(int x, int y, float zoom) {
    return {static_cast<float>(x) / zoom, static_cast<float>(y) / zoom};
}

// True when the device point lies in rect (right and bottom exclusive).
inline bool PixelInRect(const PixelRect& rect, std::int32_t x, std::int32_t y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// Device arithmetic on positions and sizes read from files is done in 64
// bits and brought back into the int32 range here.
inline std::int32_t SaturateToInt(std::int64_t value) {
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(value);
}
