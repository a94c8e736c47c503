// The video-parameter dialogs' rules: exposure slider and time text, typed
// ranges, the colour-mode rules and what each GigE model offers.
#include <gtest/gtest.h>

#include <string>

#include "video_param_rules.h"

namespace {

using enum ExposureUnit;

TEST(ExposureSlider, RangePositionAndSentExposure) {
    const ExposureRange gige{54, 1000000};
    EXPECT_EQ(ExposureSliderRange(gige), (IntRange{1, (1000000 - 54 + 1) / 54 + 1}));
    struct Case {
        int exposure;
        int position;
    };
    const Case positions[] = {{0, 1}, {53, 1}, {54, 1}, {108, 2}, {540, 10}, {1000000, 18518}, {2000000000, 18518}};
    for (const Case& c : positions) {
        EXPECT_EQ(ExposureSliderPosition(c.exposure, gige), c.position) << c.exposure;
    }
    struct Sent {
        int position;
        int exposure;
    };
    const Sent sent[] = {{0, 54}, {1, 54}, {2, 108}, {18518, 999972}, {18519, 1000000}, {1 << 30, 1000000}};
    for (const Sent& s : sent) {
        EXPECT_EQ(ExposureAtPosition(s.position, gige), s.exposure) << s.position;
    }
}

TEST(ExposureText, MicrosecondsBelow1000ElseMilliseconds) {
    const ExposureRange range{75, 1000000};
    struct Case {
        int exposure;
        ExposureText shown;
    };
    const Case cases[] = {
        {10, {75, microseconds}},
        {999, {999, microseconds}},
        {1000, {1000 * 0.001, milliseconds}},
        {2500, {2500 * 0.001, milliseconds}},
        {1000000, {1000, milliseconds}},
        {5000000, {1000, milliseconds}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownExposure(c.exposure, range), c.shown) << c.exposure;
    }
    EXPECT_EQ(UnitText(microseconds), L"us");
    EXPECT_EQ(UnitText(milliseconds), L"ms");
}

TEST(ExposureText, TypedNumbersByTheShownUnit) {
    const ExposureRange range{75, 1000000};
    struct Case {
        double typed;
        ExposureUnit unit;
        TypedExposure result;
    };
    const Case cases[] = {
        {2.5, milliseconds, {2500, milliseconds}},     {0.5, milliseconds, {500, microseconds}},
        {0.01, milliseconds, {75, microseconds}},      {5000, milliseconds, {1000000, milliseconds}},
        {-3, milliseconds, {75, microseconds}},        {500, microseconds, {500, microseconds}},
        {10, microseconds, {75, microseconds}},        {1500, microseconds, {1500, milliseconds}},
        {1e30, microseconds, {1000000, milliseconds}}, {-1e30, milliseconds, {75, microseconds}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExposureFromTyped(c.typed, c.unit, range), c.result) << c.typed;
    }
}

TEST(VideoParamRanges, LineExposureAndColourGains) {
    for (int type : {8, 11, 12, 13, 16}) {
        EXPECT_EQ(LineExposureRange(false, type), (IntRange{1, 10000})) << type;
    }
    for (int type : {0, 9, 10, 14, 15}) {
        EXPECT_EQ(LineExposureRange(false, type), (IntRange{1, 5000})) << type;
    }
    EXPECT_EQ(LineExposureRange(true, 2), (IntRange{1, 10000}));
    const IntRange cmos = ColourGainRange(false, 10);
    const IntRange cmos15 = ColourGainRange(false, 15);
    const IntRange ccd = ColourGainRange(true, 15);
    struct Case {
        long long typed;
        int cmos, cmos15, ccd;
    };
    const Case cases[] = {
        {0, 1, 1, 1}, {-4, 1, 1, 1}, {7000, 6000, 127, 63}, {100, 100, 100, 63}, {1LL << 40, 6000, 127, 63}};
    for (const Case& c : cases) {
        EXPECT_EQ(ClampToRange(c.typed, cmos), c.cmos) << c.typed;
        EXPECT_EQ(ClampToRange(c.typed, cmos15), c.cmos15) << c.typed;
        EXPECT_EQ(ClampToRange(c.typed, ccd), c.ccd) << c.typed;
    }
}

TEST(VideoParamRanges, GigePacketsAndGains) {
    EXPECT_EQ(ClampToRange(1200, kGigePacketSizeRange), 1500);
    EXPECT_EQ(ClampToRange(9000, kGigePacketSizeRange), 8000);
    EXPECT_EQ(ClampToRange(70000, kGigePacketDelayRange), 65535);
    EXPECT_EQ(ClampToRange(-1, kGigePacketDelayRange), 0);
    EXPECT_EQ(GigeGlobalGainRange(0x10030000, true), (IntRange{16, 63}));
    EXPECT_EQ(GigeGlobalGainRange(0x20100B1, false), (IntRange{1, 250}));
    EXPECT_EQ(GigeGlobalGainRange(0x14000, false), (IntRange{1, 255}));
}

TEST(ColourModeRules, FourEntryMappingAndHdr) {
    const int mapped[][3] = {{0, 2, 0}, {1, 2, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 2, 5}};
    for (const auto& m : mapped) {
        EXPECT_EQ(MappedColourMode(m[0], true), m[1]) << m[0];
        EXPECT_EQ(MappedColourMode(m[0], false), m[2]) << m[0];
    }
    EXPECT_EQ(HdrAfterColourChange(0, 5), 1);
    EXPECT_EQ(HdrAfterColourChange(5, 5), 1);
    EXPECT_EQ(HdrAfterColourChange(5, 0), 0);
    EXPECT_EQ(HdrAfterColourChange(1, 3), std::nullopt);
}

TEST(GigeControls, ListsForTenBitModels) {
    using enum GigeColourKind;
    const auto joined = [](const std::vector<std::wstring_view>& names) {
        std::wstring text;
        for (auto name : names) text += std::wstring(name) + L"|";
        return text;
    };
    EXPECT_EQ(joined(GigeColourModeNames(0x10013001, mono16)), L"RGB|BW24|Gray|Raw|MONO10|RGB_Microscope|");
    EXPECT_EQ(joined(GigeColourModeNames(0x10013001, mono)), L"RGB|BW24|Gray|Raw|MONO12|RGB_Microscope|");
    EXPECT_EQ(joined(GigeColourModeNames(0x140B1, mono16)), L"RGB|BW24|Gray|Raw|MONO12|RGB_Microscope|");
    EXPECT_EQ(joined(GigeValidBitsNames(0x10013001, mono16)), L"  0  |  1  |  2  |");
    EXPECT_EQ(joined(GigeValidBitsNames(0x140B1, mono16)), L"  0  |  1  |  2  |  3  |  4  |");
}

TEST(GigeControls, OfferedByModelAndColourKind) {
    using enum GigeColourKind;
    struct Case {
        const char* what;
        std::uint32_t code;
        GigeColourKind kind;
        bool cmos, zoomAllowed;
        GigeControlsOffered offered;  // gains, saturation, global, hdr, bits, zoom, speed, correction
    };
    const Case cases[] = {
        {"colour CCD", 0x14000, colour, false, true, {true, true, true, true, false, true, true, false}},
        {"mono CCD", 0x14001, mono, false, false, {false, false, true, false, false, false, false, false}},
        {"mono 16-bit CCD", 0x140B1, mono16, false, true, {false, false, true, false, true, true, true, false}},
        {"colour 16-bit CCD", 0x140B0, colour16, false, true, {true, true, true, true, true, true, true, false}},
        {"correcting CCD", 0x20100B1, mono, false, true, {false, false, true, false, false, true, true, true}},
        {"colour CMOS", 0x10030000, colour, true, true, {true, true, false, true, false, true, true, false}},
        {"CMOS without colour gains",
         0x10003600,
         colour,
         true,
         true,
         {false, true, true, true, false, false, true, false}},
        {"mono CMOS with HDR", 0x10003601, mono, true, true, {false, false, true, true, false, false, true, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GigeOfferedControls(c.code, c.kind, c.cmos, c.zoomAllowed), c.offered) << c.what;
    }
}

}  // namespace

TEST(VideoParamRanges, AnalogueGainAndSharpnessByFamilyAndType) {
    struct Case {
        bool ccd;
        int type;
        IntRange analogue, sharpness;
    };
    const Case cases[] = {
        {false, 10, {1, 63}, {1, 8}}, {false, 16, {1, 255}, {1, 8}}, {false, 15, {1, 63}, {0, 7}},
        {true, 15, {1, 255}, {1, 8}}, {true, 2, {1, 255}, {1, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ccd << " " << c.type);
        EXPECT_EQ(AnalogueGainRange(c.ccd, c.type), c.analogue);
        EXPECT_EQ(SharpnessRange(c.ccd, c.type), c.sharpness);
    }
}

TEST(UsbControls, OfferedByFamilyTypeAndSize) {
    UsbCameraFacts colourCmos{};
    colourCmos.deviceType = 10;
    colourCmos.captureWidth = colourCmos.maxWidth = 2048;
    colourCmos.captureHeight = colourCmos.maxHeight = 1536;
    colourCmos.fourEntryModel = true;
    colourCmos.offsetAllowed = true;
    colourCmos.correctionControls = true;
    struct Case {
        const char* name;
        UsbCameraFacts facts;
        UsbControlsOffered offered;
    };
    auto with = [&](auto change) {
        UsbCameraFacts f = colourCmos;
        change(f);
        return f;
    };
    // colourGains, greenBlueShown, saturation, analogueGain, offsets, correctionShown, badPixel, hdrShown
    const Case cases[] = {
        {"colour CMOS at full size", colourCmos, {true, true, true, true, true, true, true, true}},
        {"below the sensor width",
         with([](UsbCameraFacts& f) { f.captureWidth = 1024; }),
         {true, true, true, true, true, true, false, true}},
        {"below the sensor height",
         with([](UsbCameraFacts& f) { f.captureHeight = 768; }),
         {true, true, true, true, true, true, false, true}},
        {"monochrome CMOS",
         with([](UsbCameraFacts& f) { f.monochrome = true; }),
         {false, true, false, true, true, true, true, true}},
        {"type 15",
         with([](UsbCameraFacts& f) { f.deviceType = 15; }),
         {true, true, false, false, true, true, true, false}},
        {"four-entry type 9 hides HDR",
         with([](UsbCameraFacts& f) { f.deviceType = 9; }),
         {true, true, true, true, true, true, true, false}},
        {"not four-entry shows HDR",
         with([](UsbCameraFacts& f) {
             f.deviceType = 9;
             f.fourEntryModel = false;
         }),
         {true, true, true, true, true, true, true, true}},
        {"no offsets, no correction",
         with([](UsbCameraFacts& f) {
             f.offsetAllowed = false;
             f.correctionControls = false;
         }),
         {true, true, true, true, false, false, true, true}},
        {"colour CCD",
         with([](UsbCameraFacts& f) { f.ccd = true; }),
         {true, true, true, true, false, false, false, true}},
        {"monochrome CCD without HDR",
         with([](UsbCameraFacts& f) {
             f.ccd = true;
             f.monochrome = true;
             f.hdrHidden = true;
         }),
         {true, false, false, true, false, false, false, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsbOfferedControls(c.facts), c.offered) << c.name;
    }
}
