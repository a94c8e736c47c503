// The per-frame pipeline on frames made here: which steps run
// in which modes (microscope filters, grey averaging, automatic exposure,
// white balance over its region), what a single grab leaves out, and the
// device settings that feed it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/base_device.h"
#include "core/frame_pipeline.h"
#include "demosaic.h"
#include "gain_tables.h"
#include "gamma_table.h"
#include "microscope_filters.h"
#include "point_filters.h"
#include "sim_fixture.h"
#include "tone_tables.h"

namespace kq::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using kqcmos::FrameSize;

constexpr FrameSize kSize{32, 24};

std::uint8_t& At(Bytes& frame, int row, int column) {
    return frame[static_cast<std::size_t>(row) * kSize.width + static_cast<std::size_t>(column)];
}

// A Bayer frame of one colour: red at (even, even), blue at (odd, odd).
Bytes Tinted(int red, int green, int blue) {
    Bytes raw(kqcmos::FrameBytes(kSize));
    for (int y = 0; y < kSize.height; ++y) {
        for (int x = 0; x < kSize.width; ++x) {
            At(raw, y, x) = static_cast<std::uint8_t>((y % 2 == 0 && x % 2 == 0)   ? red
                                                      : (y % 2 == 1 && x % 2 == 1) ? blue
                                                                                   : green);
        }
    }
    return raw;
}

// A frame with some structure, so that every filter has something to change.
Bytes Textured() {
    Bytes raw = Tinted(100, 150, 200);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(raw[i] - 40 + (i * 37) % 80);
    return raw;
}

FrameSource Source(std::int32_t exposure = 100) {
    FrameSource s;
    s.window.size = kSize;
    s.exposure = exposure;
    return s;
}

// What the demosaic alone makes of `raw` (pre-filter none, flip 0).
Bytes Demosaicked(Bytes raw, int colorMode, bool plainGrey = false) {
    Bytes out(kqcmos::FrameBytes(kSize, kqcmos::OutputBytesPerPixel(colorMode)));
    kqcmos::DemosaicWork work(kSize);
    EXPECT_TRUE(kqcmos::Demosaic({colorMode, 0, 0, plainGrey}, kSize, out, raw, work));
    return out;
}

class Pipeline : public ::testing::Test {
protected:
    // Runs `raw` through the streamed path; empty when nothing was delivered.
    Bytes Stream(const PictureSettings& settings, const Bytes& raw, std::int32_t exposure = 100) {
        std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
        events = FrameEvents{};
        const auto out = pipeline.Process(settings, Source(exposure), events);
        return out ? Bytes(out->pixels.begin(), out->pixels.end()) : Bytes{};
    }
    // Runs `raw` through the single-grab path; `raw` is changed in place.
    Bytes Grab(const PictureSettings& settings, Bytes& raw) {
        const auto out = pipeline.ProcessGrab(settings, Source(), raw, true);
        return out ? Bytes(out->pixels.begin(), out->pixels.end()) : Bytes{};
    }
    static PictureSettings Mode(int colorMode, bool hdr = false) {
        PictureSettings s;
        s.colorMode = colorMode;
        s.hdr = hdr;
        return s;
    }
    static PictureSettings Microscope(bool hdr) {
        PictureSettings s = Mode(5, hdr);
        s.microscopeMode = true;
        return s;
    }

    FramePipeline pipeline{kSize, false};
    FrameEvents events;
};

// ---- The microscope filters act only in microscope mode ----

TEST_F(Pipeline, NeutralColourFramePassesUnchangedOutsideMicroscopeMode) {
    const Bytes raw = Tinted(100, 150, 200);
    Bytes clamped = raw;
    kqcmos::MicroscopeChromaClamp3(kSize, clamped);
    ASSERT_EQ(At(clamped, 1, 1), 144) << "the clamp would pull blue 200 beside red 100 to 144";

    for (const int mode : {0, 1, 2, 3}) {
        for (const bool hdr : {false, true}) {
            SCOPED_TRACE(testing::Message() << "colour mode " << mode << ", HDR " << hdr);
            Bytes expected = Demosaicked(raw, mode);
            if (hdr && mode == 0) kqcmos::ApplyTable(expected, kqcmos::HdrToneTable());
            EXPECT_EQ(Stream(Mode(mode, hdr), raw), expected);
            Bytes grabbed = raw;
            Bytes grabExpected = Demosaicked(raw, mode);  // a grab applies no HDR table
            EXPECT_EQ(Grab(Mode(mode, hdr), grabbed), grabExpected);
            EXPECT_EQ(grabbed, raw) << "the raw frame of a grab is left as it came";
        }
    }
}

// A grey sensor may still take its family's grey kernels (type 20): its
// grey pictures are those kernels' output, not the 2 x 2 average.
TEST_F(Pipeline, AGreySensorWithGreyKernelsTakesThemInTheGreyModes) {
    Bytes raw = Textured();
    PictureSettings settings = Mode(3);
    settings.model.greyRaw = true;
    settings.model.greyKernels = true;
    settings.model.colourCell = {1, 0};
    settings.model.cellDemosaic = {.colour = true, .grey = true, .boost = kqcmos::BoostedPair::greens};
    Bytes kernels(kqcmos::FrameBytes(kSize));
    kqcmos::DemosaicWork work(kSize);
    ASSERT_TRUE(kqcmos::Demosaic({3, 0, 0, false, settings.model.colourCell, settings.model.cellDemosaic}, kSize,
                                 kernels, raw, work));
    const Bytes grey = Stream(settings, raw);
    EXPECT_EQ(grey, kernels);
    EXPECT_NE(grey, Demosaicked(raw, 3, true)) << "not the average";
}

TEST_F(Pipeline, AModelWithoutTheHdrToneStepKeepsItsColourPicturesUnderHdr) {
    const Bytes raw = Textured();
    PictureSettings settings = Mode(0, true);
    settings.model.hdrToneAfterDemosaic = false;
    EXPECT_EQ(Stream(settings, raw), Demosaicked(raw, 0));
}

TEST_F(Pipeline, MicroscopeModeClampsThenFiltersAndWithHdrEndsOnTheToneCurve) {
    const Bytes raw = Textured();
    const kqcmos::ToneCurve curve = kqcmos::BuildDefaultToneCurve();
    Bytes plain = raw;
    kqcmos::MicroscopeChromaClamp3(kSize, plain);
    Bytes toned = plain;
    kqcmos::MicroscopeBayerFilter3(kSize, plain);
    kqcmos::MicroscopeBayerFilter3(kSize, toned, curve);
    ASSERT_NE(plain, toned);
    ASSERT_NE(plain, raw);

    EXPECT_EQ(Stream(Microscope(false), raw), Demosaicked(plain, 5));
    EXPECT_EQ(Stream(Microscope(true), raw), Demosaicked(toned, 5));
    // The grab path runs the same steps; its raw frame shows them.
    Bytes grabbed = raw;
    EXPECT_EQ(Grab(Microscope(true), grabbed), Demosaicked(toned, 5));
    EXPECT_EQ(grabbed, toned);
    Bytes tinted = Tinted(100, 150, 200);
    (void)Grab(Microscope(false), tinted);
    EXPECT_EQ(At(tinted, 1, 1), 144);
}

TEST_F(Pipeline, PendingWhiteBalanceSkipsTheMicroscopeFilters) {
    const Bytes raw = Tinted(120, 120, 120);
    pipeline.RequestWhiteBalance(true);
    EXPECT_EQ(Stream(Microscope(true), raw), Demosaicked(raw, 5));
    ASSERT_TRUE(events.whiteBalance.has_value());
}

// ---- Corrections and demosaic in one walk give the steps' own result ----

TEST_F(Pipeline, StreamedFramesMatchTheStepByStepGrabWhicheverCorrectionsRun) {
    struct Case {
        const char* name;
        int colorMode;
        int flipMode;
        int light;
        int contrast;
        bool microscope;
        int colorAdjust;
        bool fpgaCell = false;  // the FPGA sensors' Bayer cell, kernel order and turn repair
    };
    const Case cases[] = {
        {"colour", 0, 0, 32, 16, false, 0},
        {"colour 5, mirrored, lighter, more contrast", 5, 3, 40, 20, false, 0},
        {"sharpening chain, mirrored upside down, darker", 1, 1, 20, 16, false, 0},
        {"colour, top down, less contrast", 0, 2, 32, 10, false, 0},
        {"turned frame", 0, 4, 32, 16, false, 0},
        {"microscope filters", 5, 0, 32, 16, true, 0},
        {"raw sharpening", 0, 0, 32, 16, false, 1},
        {"grey RGB", 2, 0, 36, 16, false, 0},
        {"FPGA cell", 0, 0, 36, 20, false, 0, true},
        {"FPGA cell, turned, lighter", 0, 4, 40, 20, false, 0, true},
        {"FPGA cell, the other turn", 5, 5, 32, 16, false, 0, true},
    };
    const Bytes raw = Textured();
    Bytes lit = Tinted(90, 140, 180);
    for (std::size_t i = 0; i < lit.size(); i += 5) lit[i] = static_cast<std::uint8_t>(lit[i] + 30);
    ASSERT_TRUE(pipeline.FlatField().Build(Source().window, lit));
    pipeline.Gains() = {kqcmos::GainTable(560), kqcmos::GainTable(500), kqcmos::GainTable(430)};
    for (const bool flatField : {false, true}) {
        for (const int gammaIndex : {kqcmos::kDefaultGammaIndex, 24}) {
            pipeline.EnableFlatField(flatField);
            ASSERT_TRUE(pipeline.Gamma().SetIndex(gammaIndex));
            for (const Case& c : cases) {
                SCOPED_TRACE(testing::Message() << c.name << ", flat field " << flatField << ", gamma " << gammaIndex);
                PictureSettings settings = Mode(c.colorMode);
                settings.flipMode = c.flipMode;
                settings.light = c.light;
                settings.contrast = c.contrast;
                settings.microscopeMode = c.microscope;
                settings.colorAdjust = c.colorAdjust;
                if (c.fpgaCell) {
                    settings.model.colourCell = {1, 0};
                    settings.model.kernelForFlip = {3, 2, 1, 0, 3, 3};
                    settings.model.turnRepair = kqcmos::TurnRepair::lastColumn;
                }
                Bytes grabbed = raw;
                const Bytes expected = Grab(settings, grabbed);
                ASSERT_FALSE(expected.empty());
                EXPECT_NE(expected, Demosaicked(raw, c.colorMode)) << "the corrections change the picture";
                EXPECT_EQ(Stream(settings, raw), expected);
            }
        }
    }
}

TEST_F(Pipeline, SaturationThenSharpnessFollowTheDemosaic) {
    const Bytes raw = Textured();
    PictureSettings settings = Mode(0);
    settings.saturation = 13;
    settings.sharpness = 6;
    Bytes expected = Demosaicked(raw, 0);
    kqcmos::ApplySaturationReference(kSize, expected, 13);
    Bytes scratch(2 * kqcmos::FrameBytes({kSize.width, 1}, 3));
    ASSERT_TRUE(kqcmos::ApplySharpnessReference(kSize, 3, expected, 6, scratch));
    EXPECT_EQ(Stream(settings, raw), expected);
}

// ---- The 2 x 2 grey average is for type 3 monochrome only ----

TEST_F(Pipeline, GreyModesAverageOnlyAPlainGreySensor) {
    const Bytes raw = Textured();
    for (const int mode : {2, 3}) {
        SCOPED_TRACE(testing::Message() << "colour mode " << mode);
        PictureSettings settings = Mode(mode);
        const Bytes kernel = Stream(settings, raw);
        EXPECT_EQ(kernel, Demosaicked(raw, mode, false));
        settings.plainGreySensor = true;
        const Bytes averaged = Stream(settings, raw);
        EXPECT_EQ(averaged, Demosaicked(raw, mode, true));
        EXPECT_NE(averaged, kernel);
    }
}

// ---- Contrast of 0 or less ----

TEST_F(Pipeline, ContrastZeroGreysTheFrame) {
    PictureSettings settings = Mode(3);
    settings.contrast = 0;
    const Bytes out = Stream(settings, Textured());
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(std::count(out.begin(), out.end(), 128), static_cast<long>(out.size()));
}

// ---- Automatic exposure ----

struct AeCase {
    int colorMode;
    bool plainGrey;
};

class PipelineExposure : public Pipeline, public ::testing::WithParamInterface<AeCase> {};

TEST_P(PipelineExposure, EveryModeAndSensorTakesTheBayerStep) {
    PictureSettings settings = Mode(GetParam().colorMode);
    settings.plainGreySensor = GetParam().plainGrey;
    settings.showAutoMark = false;
    pipeline.AutoExposure().Enable(true);
    // Luma 3 x (60 + 2 x 60) + 60 = 600, far below the level-1 band: the
    // Bayer step raises by 5 % (the 8-bit step would raise by 25 %).
    const Bytes dark(kqcmos::FrameBytes(kSize), 60);
    (void)Stream(settings, dark, 1000);
    EXPECT_FALSE(events.sendExposure.has_value()) << "every second frame";
    (void)Stream(settings, dark, 1000);
    EXPECT_EQ(events.sendExposure, 1050);
}

INSTANTIATE_TEST_SUITE_P(ColourGreyAndEightBit, PipelineExposure,
                         ::testing::Values(AeCase{0, false}, AeCase{2, true}, AeCase{3, false}, AeCase{3, true},
                                           AeCase{4, false}));

TEST_F(Pipeline, ExposureLimitIsFiveThousand) {
    pipeline.AutoExposure().Enable(true);
    const Bytes dark(kqcmos::FrameBytes(kSize), 60);
    (void)Stream(Mode(0), dark, 4900);
    (void)Stream(Mode(0), dark, 4900);
    EXPECT_EQ(events.sendExposure, 5000);
    EXPECT_FALSE(events.reportExposure.has_value());
    // At the limit AE ends and reports it.
    (void)Stream(Mode(0), dark, 5000);
    (void)Stream(Mode(0), dark, 5000);
    EXPECT_EQ(events.reportExposure, 5000);
    EXPECT_FALSE(pipeline.AutoExposure().enabled());
}

TEST_F(Pipeline, AlternateExposureCutsAnOverExposedFrameAndHoldsIt) {
    PictureSettings settings = Mode(3);
    settings.alternateExposure = true;
    pipeline.AutoExposure().Enable(true);
    const Bytes bright(kqcmos::FrameBytes(kSize), 255);
    const Bytes dark(kqcmos::FrameBytes(kSize), 40);
    for (int frame = 1; frame <= 3; ++frame) {
        (void)Stream(settings, bright, 1000);
        EXPECT_FALSE(events.reportExposure.has_value()) << "frame " << frame;
    }
    EXPECT_FALSE(pipeline.AutoExposure().enabled()) << "the alternate AE ends the continuous one";
    const Bytes held = Stream(settings, bright, 1000);
    EXPECT_EQ(events.reportExposure, 100);  // luma above 2400: a tenth
    // Until its next evaluation the over-exposed frame is shown.
    for (int frame = 5; frame <= 8; ++frame) EXPECT_EQ(Stream(settings, dark, 100), held) << "frame " << frame;
    EXPECT_EQ(Stream(settings, dark, 100), Demosaicked(dark, 3));
}

// ---- One-shot white balance over its region ----

TEST_F(Pipeline, WhiteBalanceAveragesOverItsRegionAndUsesItOnce) {
    // Grey except a red-poor patch at rows 8..15, columns 8..15.
    Bytes raw = Tinted(100, 100, 100);
    for (int y = 8; y < 16; ++y) {
        for (int x = 8; x < 16; x += 2) {
            if (y % 2 == 0) At(raw, y, x) = 50;
        }
    }
    auto& region = pipeline.AutoExposure().region();
    region.Set(8, kSize.height - 8, 16, kSize.height - 16, kSize);  // bottom-up rows
    pipeline.RequestWhiteBalance(true);
    (void)Stream(Mode(0), raw);
    ASSERT_TRUE(events.whiteBalance.has_value());
    EXPECT_EQ(events.whiteBalance->red[50], 100);  // the patch's red is doubled
    EXPECT_EQ(region.ForWhiteBalance(kSize), std::nullopt) << "the region is used once";

    // Without a region the whole frame is measured.
    pipeline.RequestWhiteBalance(true);
    (void)Stream(Mode(0), raw);
    ASSERT_TRUE(events.whiteBalance.has_value());
    EXPECT_LT(events.whiteBalance->red[50], 60);
}

// ---- What a single grab leaves out ----

TEST_F(Pipeline, GrabTakesNoStripeReferencesButStripeRemovalApplies) {
    FramePipeline striped(kSize, true);
    Bytes raw = Textured();
    const auto grab = [&](Bytes frame) {
        const auto out = striped.ProcessGrab(Mode(0), Source(), frame, true);
        return out ? Bytes(out->pixels.begin(), out->pixels.end()) : Bytes{};
    };
    const auto stream = [&](const Bytes& frame) {
        std::copy(frame.begin(), frame.end(), striped.CaptureBuffer().begin());
        FrameEvents ignored;
        const auto out = striped.Process(Mode(0), Source(), ignored);
        return out ? Bytes(out->pixels.begin(), out->pixels.end()) : Bytes{};
    };
    const Bytes plain = grab(raw);
    ASSERT_EQ(plain, Demosaicked(raw, 0));
    striped.RequestStripeCapture();
    striped.EnableStripeRemoval(true);
    // The grab leaves the request for the streamed frames: nothing removed.
    EXPECT_EQ(grab(raw), plain);
    // A streamed frame takes the references from itself; later grabs of
    // another frame are corrected against them.
    (void)stream(raw);
    Bytes other = Tinted(90, 130, 170);
    const Bytes corrected = grab(other);
    striped.EnableStripeRemoval(false);
    EXPECT_NE(corrected, grab(other));
}

// ---- Device settings that feed the pipeline ----

class PipelineDevice : public LibraryTest {
protected:
    std::uint32_t OpenModel(std::u16string_view pattern) {
        const std::size_t number = bus.AddCamera(InstanceId(pattern));
        return Open(static_cast<std::int32_t>(number) + 1);
    }
    template <class Op>
    int On(std::uint32_t handle, Op&& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(d); });
    }
    // Grabs one grey frame and checks it against the demosaic of the raw
    // frame left in the buffer (neutral settings change nothing before it).
    void ExpectGreyPicture(std::uint32_t handle, bool plainGrey) {
        ASSERT_EQ(On(handle, [](BaseDevice& d) { return d.SetParamColor(3); }), status::kSuccess);
        const CapInfo info = [&] {
            CapInfo c;
            On(handle, [&](BaseDevice& d) {
                c = d.GetCapInfo();
                return 0;
            });
            return c;
        }();
        const FrameSize size{static_cast<int>(info.width), static_cast<int>(info.height)};
        Bytes raw(kqcmos::FrameBytes(size));
        Bytes picture;
        ASSERT_EQ(On(handle,
                     [&](BaseDevice& d) {
                         return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& f) {
                             picture.assign(f.pixels.begin(), f.pixels.end());
                             return 0;
                         });
                     }),
                  status::kSuccess);
        Bytes expected(raw.size());
        kqcmos::DemosaicWork work(size);
        ASSERT_TRUE(kqcmos::Demosaic({3, 0, 0, plainGrey}, size, expected, raw, work));
        EXPECT_EQ(picture, expected);
        Bytes other(raw.size());
        ASSERT_TRUE(kqcmos::Demosaic({3, 0, 0, !plainGrey}, size, other, raw, work));
        EXPECT_NE(picture, other) << "the frame tells the two grey paths apart";
    }
};

TEST_F(PipelineDevice, OnlyTheTypeThreeMonochromeSensorIsAveraged) {
    const std::uint32_t typeThree = OpenModel(u"VID_F5A1&PID_0302");
    const std::uint32_t typeTen = OpenModel(u"VID_F5A1&PID_0A02");
    ASSERT_EQ(On(typeThree, [](BaseDevice& d) { return d.TypeCode() * 10 + d.ColorType(); }), 31);
    ASSERT_EQ(On(typeTen, [](BaseDevice& d) { return d.TypeCode() * 10 + d.ColorType(); }), 101);
    ExpectGreyPicture(typeThree, true);
    ExpectGreyPicture(typeTen, false);
}

TEST_F(PipelineDevice, SharpnessIsLimitedAndContrastKeepsTheSignRule) {
    const std::uint32_t handle = OpenModel(u"VID_F5A1&PID_0A01");
    const auto sharpness = [&](int v) {
        On(handle, [&](BaseDevice& d) { return d.SetSharpness(v); });
        return On(handle, [](BaseDevice& d) { return d.GetSharpness(); });
    };
    EXPECT_EQ(sharpness(9), 8);
    EXPECT_EQ(sharpness(0), 1);
    EXPECT_EQ(sharpness(5), 5);
    const auto contrast = [&](int v) {
        On(handle, [&](BaseDevice& d) { return d.SetContrastValue(v); });
        return On(handle, [](BaseDevice& d) { return d.GetContrastValue(); });
    };
    EXPECT_EQ(contrast(33), 1);
    EXPECT_EQ(contrast(32), 32);
    EXPECT_EQ(contrast(0), 0);
    EXPECT_EQ(contrast(-40), -8);
}

TEST_F(PipelineDevice, WhiteBalanceInRegionHasNoMonochromeCheck) {
    const std::uint32_t mono = OpenModel(u"VID_F5A1&PID_0A02");
    EXPECT_EQ(On(mono, [](BaseDevice& d) { return d.SetDoAWB(true, nullptr, nullptr); }), status::kNotSupported);
    EXPECT_EQ(On(mono, [](BaseDevice& d) { return d.SetDoAWBInRegion(true, nullptr, nullptr, 10, 20, 200, 300); }),
              status::kSuccess);
    EXPECT_EQ(On(mono, [](BaseDevice& d) { return d.AutoWhiteBalanceOn() ? 1 : 0; }), 1);
    EXPECT_EQ(On(mono, [](BaseDevice& d) { return d.AwbRegion() == Region{10, 180, 200, 460} ? 1 : 0; }), 1);
}

}  // namespace
}  // namespace kq::test
