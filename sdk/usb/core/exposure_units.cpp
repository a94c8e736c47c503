#include "exposure_units.h"

#include <algorithm>

namespace kq {
namespace {

double Clock(std::int32_t clockSelect) {
    if (clockSelect == 0) return 12.0;
    if (clockSelect == 2) return 48.0;
    return 24.0;
}

double LineLength(const LineTiming& t) {
    return static_cast<double>(t.horizontalBlanking) + static_cast<double>(t.width);
}

std::uint32_t TruncateLimited(double value, double lowest, double highest) {
    return static_cast<std::uint32_t>(std::clamp(value, lowest, highest));
}

}  // namespace

std::optional<std::uint32_t> TimeToLines(const LineTiming& t, std::uint32_t time) {
    const double clock = Clock(t.clockSelect);
    const double length = LineLength(t);
    if (t.typeCode == 3) {
        return TruncateLimited((time * clock + 180.0) / (length + 226.0) + 0.5, 1.0, 16383.0);
    }
    if (t.typeCode == 5 || t.typeCode == 17) {
        return TruncateLimited(time * clock / (length + 369.0) + 0.5, 1.0, 65535.0);
    }
    return std::nullopt;
}

std::optional<std::uint32_t> LinesToTime(const LineTiming& t, std::uint32_t lines) {
    const double clock = Clock(t.clockSelect);
    const double length = LineLength(t);
    double time = 0;
    if (t.typeCode == 3) {
        time = (lines * (length + 226.0) - 180.0) / clock + 0.5;
    } else if (t.typeCode == 5 || t.typeCode == 17) {
        time = (length + 369.0) * lines / clock + 0.5;
    } else {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(std::max(time, 0.0));
}

}  // namespace kq
