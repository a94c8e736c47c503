#include "sensor_timing.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kq::timing {
namespace {

// num / den rounded to nearest (the sensors' "+ 0.5, truncated"); den > 0.
std::int64_t RoundedQuotient(std::int64_t num, std::int64_t den) {
    if (num >= 0) return (2 * num + den) / (2 * den);
    return -((-2 * num + den) / (2 * den));
}

std::uint32_t Limit(std::int64_t v, std::int64_t lowest, std::int64_t highest) {
    return static_cast<std::uint32_t>(std::clamp(v, lowest, highest));
}

std::uint32_t ToTime(std::int64_t v) { return Limit(v, 0, std::numeric_limits<std::uint32_t>::max()); }

std::int64_t PelvarLine(const LineGeometry& g) {
    return std::int64_t{g.width} + 2 * std::max<std::int64_t>(g.horizontalBlanking, 450);
}

std::int64_t PelvarClock(std::int32_t speedMode) {
    if (speedMode == 0) return 12;
    if (speedMode == 2) return 48;
    return 24;
}

std::int64_t ZundraLine(const LineGeometry& g) { return g.width == g.sensorWidth ? 7006 : 4890; }

}  // namespace

GainCode EncodeGain(std::uint8_t gain) {
    const std::uint8_t limited = std::clamp<std::uint8_t>(gain, 8, 95);
    if (limited < 64) return {limited, limited};
    return {63, static_cast<std::uint8_t>(limited + 32)};
}

std::uint32_t TimeToLines(ExposureFamily family, const LineGeometry& g, std::uint32_t time) {
    const std::int64_t t = time;
    switch (family) {
    case ExposureFamily::dorisk: {
        const std::int64_t line = std::int64_t{g.width} + g.horizontalBlanking;
        if (line == 0 || 27 * t <= line - 255) return 2;
        return Limit(RoundedQuotient(27 * t + 255 - line, line), 2, 32767);
    }
    case ExposureFamily::pelvar: return Limit(RoundedQuotient(t * PelvarClock(g.speedMode), PelvarLine(g)), 1, 65535);
    case ExposureFamily::ebrant: return Limit(RoundedQuotient(48 * t, PelvarLine(g)), 1, 65535);
    case ExposureFamily::quessa: return Limit(RoundedQuotient(48 * t + 1222, std::int64_t{g.width} + 888), 1, 65535);
    case ExposureFamily::zundra:
        if (9 * t < 2842) return 1;
        return Limit((9 * t - 2842) / ZundraLine(g), 1, 65535);
    case ExposureFamily::newChip: return Limit(RoundedQuotient(24 * t, std::int64_t{g.width} + 708), 1, 65535);
    }
    return 1;
}

std::uint32_t LinesToTime(ExposureFamily family, const LineGeometry& g, std::uint32_t lines) {
    const std::int64_t r = lines;
    switch (family) {
    case ExposureFamily::dorisk: {
        const std::int64_t line = std::int64_t{g.width} + g.horizontalBlanking;
        return ToTime(RoundedQuotient(line * (r + 1) - 255, 27));
    }
    case ExposureFamily::pelvar: return ToTime(RoundedQuotient(PelvarLine(g) * r, PelvarClock(g.speedMode)));
    case ExposureFamily::ebrant: return ToTime(RoundedQuotient(PelvarLine(g) * r, 48));
    case ExposureFamily::quessa: return ToTime(RoundedQuotient(r * (std::int64_t{g.width} + 888) - 1222, 48));
    case ExposureFamily::zundra: return ToTime((r * ZundraLine(g) + 2842) / 9);
    case ExposureFamily::newChip: return ToTime(RoundedQuotient((std::int64_t{g.width} + 708) * r, 24));
    }
    return 0;
}

std::uint16_t FramePeriodMs(std::uint32_t exposureTime, std::uint32_t width, std::uint32_t height,
                            std::uint32_t horizontalBlanking, std::uint32_t verticalBlanking) {
    // In microseconds: the exposure, then the frame's readout at 27 MHz.
    const std::int64_t readout = (std::int64_t{horizontalBlanking} + width) * (std::int64_t{verticalBlanking} + height);
    const std::int64_t micro27 = 27 * std::int64_t{exposureTime} + readout;  // 27 x microseconds
    return static_cast<std::uint16_t>(Limit(RoundedQuotient(micro27, 27 * 1000), 0, 0xFFFF));
}

std::uint16_t SentHorizontalBlanking(std::uint16_t blanking, std::uint32_t width) {
    if (std::uint64_t{blanking} + width >= 660) return blanking;
    return static_cast<std::uint16_t>(660 - width);
}

std::uint32_t HdrLines(std::uint32_t lines) { return lines >= 512 && lines <= 524 ? 511 : lines; }

std::uint32_t LimitStart(std::uint32_t start, std::uint32_t size, std::uint32_t sensor, std::uint32_t factor) {
    const std::uint64_t covered = std::uint64_t{size} * factor;
    if (covered >= sensor) return 0;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(start, sensor - covered));
}

std::uint16_t Range::Clamp(std::int32_t value) const {
    return static_cast<std::uint16_t>(std::clamp(value, lowest, highest));
}

std::uint16_t TriggerReadMode(std::uint16_t word, bool on, TriggerBits bits) {
    if (on) return static_cast<std::uint16_t>(word | bits.setWhenOn);
    return static_cast<std::uint16_t>(word & bits.keepWhenOff);
}

}  // namespace kq::timing
