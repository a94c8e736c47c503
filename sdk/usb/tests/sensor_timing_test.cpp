// The model cameras' capture-parameter arithmetic, case by case from the
// sensors' formulas, with the 32-bit overflow points of each clock.

#include <gtest/gtest.h>

#include <cstdint>

#include "models/sensor_timing.h"

namespace kq::timing {
namespace {

TEST(SensorTiming, GainCodeKeepsLowGainsAndShiftsHighOnes) {
    struct Case {
        std::uint8_t given, sent, code;
    };
    for (const Case c : {Case{70, 63, 102}, Case{3, 8, 8}, Case{63, 63, 63}, Case{64, 63, 96}, Case{95, 63, 127},
                         Case{200, 63, 127}}) {
        SCOPED_TRACE(int{c.given});
        const GainCode g = EncodeGain(c.given);
        EXPECT_EQ(g.gain, c.sent);
        EXPECT_EQ(g.code, c.code);
    }
}

TEST(SensorTiming, TimeToLinesPerFamilyRoundsAndLimitsInSixtyFourBits) {
    struct Case {
        const char* name;
        ExposureFamily family;
        LineGeometry line;
        std::uint32_t time;
        std::uint32_t lines;
    };
    const LineGeometry dorisk{752, 100, 752};
    const LineGeometry pelvar{2592, 0, 2592, 1};
    const Case cases[] = {
        {"dorisk 1000", ExposureFamily::dorisk, dorisk, 1000, 31},  // (27000 + 255 - 852) / 852 = 30.99
        {"dorisk short", ExposureFamily::dorisk, dorisk, 22, 2},    // 594 <= 852 - 255
        {"dorisk zero", ExposureFamily::dorisk, dorisk, 0, 2},
        {"dorisk 27t wraps", ExposureFamily::dorisk, dorisk, 159072863, 32767},
        {"pelvar speed 1", ExposureFamily::pelvar, pelvar, 10000, 69},  // 240000 / 3492 = 68.7
        {"pelvar speed 0", ExposureFamily::pelvar, {2592, 0, 2592, 0}, 10000, 34},
        {"pelvar speed 2", ExposureFamily::pelvar, {2592, 0, 2592, 2}, 10000, 137},
        {"pelvar wide blanking", ExposureFamily::pelvar, {2592, 500, 2592, 1}, 10000, 67},  // 240000 / 3592
        {"pelvar minimum", ExposureFamily::pelvar, pelvar, 0, 1},
        {"ebrant", ExposureFamily::ebrant, pelvar, 10000, 137},
        {"ebrant 48t wraps", ExposureFamily::ebrant, pelvar, 89478486, 65535},
        {"quessa", ExposureFamily::quessa, {2560, 0, 2560}, 1000, 14},  // 49222 / 3448 = 14.3
        {"zundra under 316", ExposureFamily::zundra, {3488, 0, 3488}, 315, 1},
        {"zundra at 316", ExposureFamily::zundra, {3488, 0, 3488}, 316, 1},
        {"zundra full width", ExposureFamily::zundra, {3488, 0, 3488}, 10000, 12},  // 87158 / 7006
        {"zundra window", ExposureFamily::zundra, {1744, 0, 3488}, 10000, 17},      // 87158 / 4890
        {"zundra 9t wraps", ExposureFamily::zundra, {3488, 0, 3488}, 477218589, 65535},
        {"new chip", ExposureFamily::newChip, {1280, 0, 1280}, 1000, 12},  // 24000 / 1988
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TimeToLines(c.family, c.line, c.time), c.lines);
    }
}

TEST(SensorTiming, LinesToTimePerFamily) {
    struct Case {
        const char* name;
        ExposureFamily family;
        LineGeometry line;
        std::uint32_t lines;
        std::uint32_t time;
    };
    const Case cases[] = {
        {"dorisk", ExposureFamily::dorisk, {752, 100, 752}, 31, 1000},      // (852 x 32 - 255) / 27
        {"pelvar", ExposureFamily::pelvar, {2592, 0, 2592, 1}, 69, 10040},  // 3492 x 69 / 24 = 10039.5
        {"ebrant", ExposureFamily::ebrant, {2592, 0, 2592}, 137, 9967},     // 3492 x 137 / 48 = 9966.75
        {"quessa", ExposureFamily::quessa, {2560, 0, 2560}, 14, 980},       // 47050 / 48
        {"quessa no time", ExposureFamily::quessa, {2560, 0, 2560}, 0, 0},  // below zero: 0
        {"zundra", ExposureFamily::zundra, {3488, 0, 3488}, 12, 9657},      // 86914 / 9
        {"new chip", ExposureFamily::newChip, {1280, 0, 1280}, 12, 994},    // 1988 x 12 / 24
        {"zundra limit", ExposureFamily::zundra, {3488, 0, 3488}, 0xFFFFFFFF, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LinesToTime(c.family, c.line, c.lines), c.time);
    }
}

TEST(SensorTiming, FramePeriodBlankingAndLineRules) {
    // 1000 us + 852 x 525 / 27 us = 17.57 ms.
    EXPECT_EQ(FramePeriodMs(1000, 752, 480, 100, 45), 18);
    EXPECT_EQ(FramePeriodMs(0, 752, 480, 100, 45), 17);
    EXPECT_EQ(FramePeriodMs(0xFFFFFFFF, 752, 480, 100, 45), 0xFFFF);

    struct Blank {
        std::uint16_t blanking;
        std::uint32_t width;
        std::uint16_t sent;
    };
    for (const Blank b :
         {Blank{100, 500, 160}, Blank{100, 752, 100}, Blank{0, 640, 20}, Blank{700, 0, 700}, Blank{100, 560, 100}}) {
        SCOPED_TRACE(b.width);
        EXPECT_EQ(SentHorizontalBlanking(b.blanking, b.width), b.sent);
    }

    for (const std::uint32_t lines : {511u, 512u, 520u, 524u}) EXPECT_EQ(HdrLines(lines), 511u) << lines;
    EXPECT_EQ(HdrLines(525), 525u);
    EXPECT_EQ(HdrLines(2), 2u);
}

TEST(SensorTiming, StartsStayOnTheSensorWithoutWrapping) {
    struct Case {
        std::uint32_t start, size, sensor, factor, limited;
    };
    for (const Case c :
         {Case{200, 640, 752, 1, 112}, Case{50, 640, 752, 1, 50}, Case{10, 800, 752, 1, 0}, Case{100, 376, 752, 2, 0},
          Case{100, 300, 752, 2, 100}, Case{200, 300, 752, 2, 152}, Case{0xFFFFFFFF, 0xFFFFFFFF, 752, 2, 0}}) {
        SCOPED_TRACE(c.start);
        EXPECT_EQ(LimitStart(c.start, c.size, c.sensor, c.factor), c.limited);
    }
}

TEST(SensorTiming, TriggerBitsOfTheReadModeWord) {
    const TriggerBits narrow{0xF0FF, 0x0300};
    const TriggerBits wide{0xF00F, 0x0110};
    EXPECT_EQ(TriggerReadMode(0x8000, true, narrow), 0x8300);
    EXPECT_EQ(TriggerReadMode(0x8F55, false, narrow), 0x8055);
    EXPECT_EQ(TriggerReadMode(0x4006, true, wide), 0x4116);
    EXPECT_EQ(TriggerReadMode(0x4FF6, false, wide), 0x4006);
    EXPECT_EQ((Range{100, 1023}.Clamp(5000)), 1023);
    EXPECT_EQ((Range{45, 1023}.Clamp(-7)), 45);
}

}  // namespace
}  // namespace kq::timing
