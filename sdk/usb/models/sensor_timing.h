#pragma once
// The model cameras' capture-parameter arithmetic: the gain code of the
// 52-byte block, exposure time to line counts and back per sensor family,
// the frame period, blanking limits, window starts, the HDR line rule and
// the trigger bits of the FPGA read-mode word. Pure functions: products of
// times and clocks are taken in 64 bits and limited afterwards, so a large
// time gives the longest exposure instead of a wrapped short one.

#include <cstdint>

namespace kq::timing {

// The first gain byte limited to 8..95: below 64 it is its own code;
// 64 and above give code = gain + 32 and are kept as 63.
struct GainCode {
    std::uint8_t gain = 0;  // the value stored and sent in all three gain bytes
    std::uint8_t code = 0;  // offset 29 of the 52-byte block
};
GainCode EncodeGain(std::uint8_t gain);

// The sensors that convert exposure time to lines by their own rule.
enum class ExposureFamily {
    dorisk,   // 752 x 480: 27 MHz pixel clock, line of W + HB
    pelvar,   // clock 12, 24 or 48 by speed mode, line of W + 2 max(HB, 450)
    ebrant,   // the same line at clock 48
    quessa,   // line of W + 888 with a 1222 offset
    zundra,   // line 7006 at the full width, else 4890, offset 2842 at clock 9
    newChip,  // line of W + 708 at clock 24
};

struct LineGeometry {
    std::uint32_t width = 0;  // capture window width
    std::uint32_t horizontalBlanking = 0;
    std::uint32_t sensorWidth = 0;  // the sensor's full width (zundra)
    std::int32_t speedMode = 1;     // pelvar: 0, 1 or 2
};

// Time to lines, rounded to nearest and limited to the family's range.
std::uint32_t TimeToLines(ExposureFamily family, const LineGeometry& line, std::uint32_t time);
// Lines to time, rounded to nearest; never below 0, at most UINT32_MAX.
std::uint32_t LinesToTime(ExposureFamily family, const LineGeometry& line, std::uint32_t lines);

// One frame's duration in ms: exposure time plus (HB + W)(VB + H) / 27 us,
// rounded; limited to 16 bits.
std::uint16_t FramePeriodMs(std::uint32_t exposureTime, std::uint32_t width, std::uint32_t height,
                            std::uint32_t horizontalBlanking, std::uint32_t verticalBlanking);

// The horizontal blanking sent for a window: a line of fewer than 660
// columns (window plus blanking) is lengthened to 660.
std::uint16_t SentHorizontalBlanking(std::uint16_t blanking, std::uint32_t width);

// With HDR the sensor takes no line count from 512 through 524: 511 instead.
std::uint32_t HdrLines(std::uint32_t lines);

// A start that keeps `factor` x size on a sensor of `sensor` pixels; 0 when
// the window is larger than the sensor (never a wrapped start).
std::uint32_t LimitStart(std::uint32_t start, std::uint32_t size, std::uint32_t sensor, std::uint32_t factor = 1);

struct Range {
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    std::uint16_t Clamp(std::int32_t value) const;
};

// The FPGA read-mode word with triggering switched: each sensor has its
// trigger bits (bits 8-11 with 0x300 set, or bits 4-11 with 0x110 set).
struct TriggerBits {
    std::uint16_t keepWhenOff = 0xF0FF;
    std::uint16_t setWhenOn = 0x0300;
};
std::uint16_t TriggerReadMode(std::uint16_t word, bool on, TriggerBits bits);

}  // namespace kq::timing
