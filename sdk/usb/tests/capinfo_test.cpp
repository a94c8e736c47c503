#include <gtest/gtest.h>

#include "core/capinfo_record.h"
#include "core/exposure_units.h"
#include "core/format_block.h"
#include "core/model_geometry.h"

namespace kq {
namespace {

TEST(CapInfoRecord, EncodesEveryFieldAtItsOffset) {
    CapInfo r;
    r.reserved = 0xA1A2A3A4;
    r.height = 0x0400;
    r.width = 0x0500;
    r.columnStart = 0x01020304;
    r.rowStart = 0x11121314;
    r.exposure = 0x21222324;
    r.gain = {0x31, 0x32, 0x33};
    r.control = 0x34;
    r.mode = {0x41, 0x42, 0x43, 0x44};
    r.extra = 0x51525354;
    const CapInfoBytes expected{0xA4, 0xA3, 0xA2, 0xA1, 0x00, 0x04, 0,    0,    0x00, 0x05, 0,    0,
                                0x04, 0x03, 0x02, 0x01, 0x14, 0x13, 0x12, 0x11, 0x24, 0x23, 0x22, 0x21,
                                0x31, 0x32, 0x33, 0x34, 0x41, 0x42, 0x43, 0x44, 0x54, 0x53, 0x52, 0x51};
    EXPECT_EQ(EncodeCapInfo(r), expected);
    EXPECT_EQ(DecodeCapInfo(expected), r);
}

TEST(FormatBlock, LaysOutAll52Bytes) {
    FormatBlock b;
    b.height = 1024;
    b.width = 1280;
    b.columnStart = 8;
    b.rowStart = 16;
    b.exposure = 0x1234;
    b.exposureDelay = 2047;
    b.gain = 63;
    b.control = 0x12;
    b.mode = 0x07;
    b.encodedGain = 127;
    b.sensorReadMode = 0xC040;
    b.extra = 0xDEADBEEF;
    b.horizontalBlanking = 142;
    b.verticalBlanking = 25;
    b.registerPairs = {0x3012, 0x00FF, 0x3014, 0x0100};
    b.triggerPeriod = 0x0203;
    b.triggerCheckTime = 1000;
    const std::array<std::uint8_t, 52> expected{0,  0,    0,    0,    0x00, 0x04, 0,    0,    0x00, 0x05, 0,    0,  8,
                                                0,  0,    0,    16,   0,    0,    0,    0x34, 0x12, 0xFF, 0x07, 63, 63,
                                                63, 0x12, 0x07, 127,  0x40, 0xC0, 0xEF, 0xBE, 0xAD, 0xDE, 142,  0,  25,
                                                0,  0x12, 0x30, 0xFF, 0x00, 0x14, 0x30, 0x00, 0x01, 0x03, 0x02, 0xE8, 0x03};
    EXPECT_EQ(EncodeFormatBlock(b), expected);
}

TEST(ModelGeometry, SensorLimitsAndDefaultsPerType) {
    struct Case {
        int type, w, h, maxExposure;
        bool stripe;
        std::uint16_t mode, hb, vb;
    };
    const Case cases[] = {
        {3, 1280, 1024, 4000, true, 0x8000, 25, 25},   {14, 1024, 816, 4000, true, 0x8000, 25, 25},
        {15, 1280, 1024, 4000, false, 0x8000, 25, 25}, {17, 2048, 1536, 4000, false, 0xC040, 142, 25},
        {4, 1600, 1200, 255, false, 0, 0, 0},          {7, 3488, 2560, 4000, false, 0, 0, 0},
        {8, 2560, 1944, 5000, false, 0, 0, 0},         {10, 752, 480, 5000, false, 0, 0, 0},
        {19, 2048, 1536, 10000, false, 0, 0, 0},       {20, 1280, 1024, 10000, false, 0, 0, 0},
        {16, 1280, 960, 10000, false, 0, 0, 0},        {18, 4096, 4096, 10000, false, 0, 0, 0},
        {25, 2592, 1944, 10000, false, 0, 0, 0},       {23, 2592, 1944, 4000, false, 0, 0, 0},
        {6, 2592, 1944, 4000, false, 0x4006, 0, 25},   {22, 2592, 1944, 4000, false, 0x4006, 0, 25},
    };
    for (const auto& c : cases) {
        const ModelGeometry g = GeometryForType(c.type);
        EXPECT_EQ(g.maxWidth, c.w) << c.type;
        EXPECT_EQ(g.maxHeight, c.h) << c.type;
        EXPECT_EQ(g.maxExposure, c.maxExposure) << c.type;
        EXPECT_EQ(g.stripeCapable, c.stripe) << c.type;
        EXPECT_EQ(g.defaultSensorReadMode, c.mode) << c.type;
        EXPECT_EQ(g.defaultHorizontalBlanking, c.hb) << c.type;
        EXPECT_EQ(g.defaultVerticalBlanking, c.vb) << c.type;
    }
}

TEST(ExposureUnits, ConvertOnlyForTheTimedTypes) {
    const LineTiming type3{3, 1, 25, 1280};
    EXPECT_EQ(TimeToLines(type3, 1000), 16u);  // (24000 + 180) / 1531 + 0.5
    EXPECT_EQ(LinesToTime(type3, 16), 1013u);  // (16 * 1531 - 180) / 24 + 0.5
    EXPECT_EQ(TimeToLines(type3, 0), 1u);      // never below one line
    EXPECT_EQ(TimeToLines(type3, 100000000), 16383u);
    const LineTiming type5{5, 2, 142, 2048};   // 48 MHz
    EXPECT_EQ(TimeToLines(type5, 1000), 19u);  // 48000 / 2559 + 0.5
    EXPECT_EQ(LinesToTime(type5, 19), 1013u);  // 2559 * 19 / 48 + 0.5
    const LineTiming type8{8, 1, 0, 2560};
    EXPECT_FALSE(TimeToLines(type8, 1000).has_value());
    EXPECT_FALSE(LinesToTime(type8, 10).has_value());
}

}  // namespace
}  // namespace kq
