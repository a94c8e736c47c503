#pragma once
// Float to int32 toward zero, defined for every input: NaN and infinities
// give 0 and values beyond the int32 range give its nearest end. Values from
// files and from zoom arithmetic pass through here before they become pixel
// positions or record integers.
#include <cmath>
#include <cstdint>

inline std::int32_t TruncateToInt(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return INT32_MAX;
    }
    if (value <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

// trunc(zoom x p) as objects use it: the product is taken in float.
inline std::int32_t ZoomedPixel(float zoom, float p) { return TruncateToInt(static_cast<double>(zoom * p)); }
