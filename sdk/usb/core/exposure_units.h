#pragma once
// Conversion between exposure time units and sensor line counts. Only the
// types 3, 5 and 17 convert; the other types keep their line count.

#include <cstdint>
#include <optional>

namespace kq {

struct LineTiming {
    std::int32_t typeCode = 0;
    std::int32_t clockSelect = 1;  // 0: 12 MHz, 2: 48 MHz, else 24 MHz
    std::uint32_t horizontalBlanking = 0;
    std::uint32_t width = 0;
};

// Nothing for types that do not convert.
std::optional<std::uint32_t> TimeToLines(const LineTiming& timing, std::uint32_t time);
std::optional<std::uint32_t> LinesToTime(const LineTiming& timing, std::uint32_t lines);

}  // namespace kq
