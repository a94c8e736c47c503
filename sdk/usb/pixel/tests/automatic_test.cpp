#include <gtest/gtest.h>

#include "auto_exposure.h"
#include "demosaic.h"
#include "frame_statistics.h"
#include "test_frames.h"
#include "white_balance.h"
#include "yuv_frame.h"
#include "yuv_reference.h"

namespace kqcmos {
namespace {

using test::At;
using test::Bytes;

// A scene whose raw level grows with exposure: level = exposure x gain / 100,
// so the Bayer luma of the uniform frame is 10 x level.
Bytes SceneAt(FrameSize size, int exposure, int gainPercent) {
    return Bytes(FrameBytes(size), static_cast<std::uint8_t>(std::min(255, exposure * gainPercent / 100)));
}

struct AeRun {
    int exposure;
    int evaluations = 0;
    bool finished = false;
};

AeRun RunAutoExposure(AutoExposure& ae, int exposure, int gainPercent, int maxFrames = 200) {
    const FrameSize size{64, 48};
    AeRun run{exposure};
    for (int frame = 0; frame < maxFrames && !run.finished; ++frame) {
        Bytes raw = SceneAt(size, run.exposure, gainPercent);
        const ExposureOutcome o = ae.StepBayer(size, raw, false, kAutoExposureLimit, run.exposure);
        run.evaluations += o.evaluated ? 1 : 0;
        run.finished = o.finished;
    }
    return run;
}

TEST(AutoExposure, ConvergesIntoTheBandOfItsLevel) {
    for (const int level : {0, 1, 2}) {
        for (const int start : {30, 400, 3000}) {
            AutoExposure ae;
            ae.SetLevel(level);
            ae.Enable(true);
            const AeRun run = RunAutoExposure(ae, start, 50);  // luma = 5 x exposure
            ASSERT_TRUE(run.finished) << level << " " << start;
            const BrightnessBand band = BayerExposureBand(level);
            const int luma = 10 * (run.exposure * 50 / 100);
            if (run.evaluations <= kMaxAutoExposureIterations) {
                EXPECT_GE(luma, band.low) << level << " " << start;
                EXPECT_LE(luma, band.high) << level << " " << start;
            }
            EXPECT_FALSE(ae.enabled());
        }
    }
}

TEST(AutoExposure, FpgaStepsOneLineBelowTwentyThenFivePercent) {
    const FrameSize size{64, 48};
    AutoExposure ae;
    ae.Enable(true);
    int exposure = 19;
    std::vector<int> sent;
    for (int frame = 0; frame < 4; ++frame) {
        Bytes dark(FrameBytes(size), 10);
        if (ae.StepBayer(size, dark, false, 10000, exposure, BayerExposureKind::fpga).changed) sent.push_back(exposure);
    }
    EXPECT_EQ(sent, (std::vector<int>{20, 21}));  // 20 x 1.05, truncated
}

TEST(AutoExposure, FpgaBandsDifferFromTheBase) {
    struct Case {
        int level, value;
        BayerExposureKind kind;
        bool inside;
    };
    // A uniform frame of value v has luma 10 v.
    const Case cases[] = {
        {2, 130, BayerExposureKind::fpga, true}, {2, 130, BayerExposureKind::base, false},
        {0, 180, BayerExposureKind::fpga, true}, {0, 180, BayerExposureKind::base, false},
        {1, 160, BayerExposureKind::fpga, true}, {3, 150, BayerExposureKind::fpga, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.level << " " << c.value << " " << static_cast<int>(c.kind));
        const FrameSize size{64, 48};
        AutoExposure ae;
        ae.SetLevel(c.level);
        ae.Enable(true);
        int exposure = 500;
        ExposureOutcome o;
        for (int frame = 0; frame < 2 && !o.evaluated; ++frame) {
            Bytes raw(FrameBytes(size), static_cast<std::uint8_t>(c.value));
            o = ae.StepBayer(size, raw, false, 10000, exposure, c.kind);
        }
        EXPECT_EQ(o.finished, c.inside);
        EXPECT_EQ(exposure == 500, c.inside);
    }
}

TEST(AutoExposure, FpgaMirrorsTheRegionAndKeepsItOnTheFrame) {
    // Dark on the left, bright on the right.
    const FrameSize size{64, 48};
    Bytes raw(FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) At(raw, size, y, x) = x < 32 ? 10 : 220;
    }
    for (const BayerExposureKind kind : {BayerExposureKind::base, BayerExposureKind::fpga}) {
        AutoExposure ae;
        ae.Enable(true);
        ae.region().Set(0, 48, 12, 0, size);  // the left 12 columns, every row
        int exposure = 500;
        for (int frame = 0; frame < 2; ++frame) {
            Bytes copy = raw;
            (void)ae.StepBayer(size, copy, false, 10000, exposure, kind);
        }
        // The base measures the dark left edge and raises; the FPGA the
        // mirrored, bright right edge, up to the last column, and lowers.
        if (kind == BayerExposureKind::base) {
            EXPECT_GT(exposure, 500);
        } else {
            EXPECT_LT(exposure, 500);
        }
    }
}

TEST(AutoExposure, InsideTheBandEndsAtOnceWithTheSameExposure) {
    AutoExposure ae;
    ae.Enable(true);
    const FrameSize size{32, 32};
    Bytes raw(FrameBytes(size), 180);  // luma 1800, level 1
    int exposure = 700;
    EXPECT_FALSE(ae.StepBayer(size, raw, false, kAutoExposureLimit, exposure).evaluated);
    const ExposureOutcome o = ae.StepBayer(size, raw, false, kAutoExposureLimit, exposure);
    EXPECT_TRUE(o.evaluated);
    EXPECT_TRUE(o.finished);
    EXPECT_FALSE(o.changed);
    EXPECT_EQ(exposure, 700);
}

TEST(AutoExposure, ShortExposuresStepByOne) {
    AutoExposure ae;
    ae.Enable(true);
    const FrameSize size{16, 16};
    Bytes dark(FrameBytes(size), 10);
    int exposure = 15;
    for (int frame = 0; frame < 4; ++frame) {
        (void)ae.StepBayer(size, dark, false, kAutoExposureLimit, exposure);
    }
    EXPECT_EQ(exposure, 17);
    Bytes bright(FrameBytes(size), 250);
    exposure = 100;
    (void)ae.StepBayer(size, bright, false, kAutoExposureLimit, exposure);
    (void)ae.StepBayer(size, bright, false, kAutoExposureLimit, exposure);
    EXPECT_EQ(exposure, 96);
}

TEST(AutoExposure, StopsAndReportsAfterThirtyEvaluations) {
    AutoExposure ae;
    ae.Enable(true);
    const AeRun run = RunAutoExposure(ae, 20, 0);  // a scene that stays black
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.evaluations, kMaxAutoExposureIterations + 1);
    EXPECT_FALSE(ae.enabled());
    EXPECT_EQ(ae.iterations(), 0);
}

TEST(AutoExposure, EndsAtTheLimit) {
    AutoExposure ae;
    ae.Enable(true);
    const AeRun run = RunAutoExposure(ae, 4900, 1);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exposure, kAutoExposureLimit);
}

TEST(AutoExposure, RegionIsMeasuredAndResetWhenDone) {
    const FrameSize size{64, 48};
    Bytes raw(FrameBytes(size), 50);
    // A bright patch at frame rows 8..15, columns 40..55 (region rows count
    // from the bottom: y = H - row).
    for (int y = 8; y < 16; ++y) {
        for (int x = 40; x < 56; ++x) {
            At(raw, size, y, x) = 180;
        }
    }
    AutoExposure ae;
    ae.Enable(true);
    ae.region().Set(40, 48 - 8, 56, 48 - 16, size);
    int exposure = 300;
    (void)ae.StepBayer(size, raw, false, kAutoExposureLimit, exposure);
    const ExposureOutcome o = ae.StepBayer(size, raw, false, kAutoExposureLimit, exposure);
    EXPECT_TRUE(o.finished);  // the patch is inside the level-1 band
    EXPECT_EQ(exposure, 300);
    EXPECT_EQ(ae.region().ForExposure(size), std::nullopt);
}

TEST(MeasuringRegion, EqualEndsAreIgnoredAndEverythingIsClipped) {
    const FrameSize frame{100, 80};
    MeasuringRegion region;
    region.Set(10, 5, 10, 50, frame);
    EXPECT_EQ(region.ForExposure(frame), std::nullopt);
    region.Set(-50, 200, 300, -20, frame);
    EXPECT_EQ(region.ForExposure(frame), (PixelRect{0, 0, 100, 80}));
    region.Set(500, 10, 600, 20, frame);  // wholly outside
    EXPECT_EQ(region.ForExposure(frame), std::nullopt);
    region.Set(20, 10, 60, 30, frame);
    EXPECT_EQ(region.ForExposure(frame), (PixelRect{20, 50, 60, 70}));
    // A later, smaller frame clips the region again.
    EXPECT_EQ(region.ForExposure({40, 60}), (PixelRect{20, 50, 40, 60}));
    EXPECT_EQ(region.ForWhiteBalance({40, 60}), (PixelRect{20, 50, 40, 60}));
    region.Set(0, 10, 60, 30, frame);
    EXPECT_TRUE(region.ForExposure(frame).has_value());
    EXPECT_EQ(region.ForWhiteBalance(frame), std::nullopt);  // white balance wants starts of 1 or more
}

TEST(AutoExposure, ByteFramesStepAndShrinkOnReversal) {
    AutoExposure ae;
    ae.Enable(true);
    const FrameSize size{16, 16};
    int exposure = 100;
    Bytes dark(FrameBytes(size), 40);
    (void)ae.Step8(size, dark, false, kAutoExposureLimit, exposure);
    EXPECT_TRUE(ae.Step8(size, dark, false, kAutoExposureLimit, exposure).changed);
    EXPECT_EQ(exposure, 125);
    Bytes bright(FrameBytes(size), 240);
    (void)ae.Step8(size, bright, false, kAutoExposureLimit, exposure);
    (void)ae.Step8(size, bright, false, kAutoExposureLimit, exposure);
    EXPECT_EQ(exposure, 112);  // reversal: 125 x (0.8 + 0.2 x 1 / 2)
    Bytes good(FrameBytes(size), 160);
    (void)ae.Step8(size, good, false, kAutoExposureLimit, exposure);
    EXPECT_TRUE(ae.Step8(size, good, false, kAutoExposureLimit, exposure).finished);
}

TEST(AlternateAutoExposure, OverExposedFrameCutsExposureAndIsHeldUntilTheNextEvaluation) {
    const FrameSize size{32, 32};
    AlternateAutoExposure ae(size);
    int exposure = 1000;
    const Bytes glare(FrameBytes(size), 250);  // luma 2500
    const Bytes normal(FrameBytes(size), 160);
    Bytes frame;
    for (int call = 1; call <= 3; ++call) {
        frame = glare;
        EXPECT_FALSE(ae.Step(size, frame, kAutoExposureLimit, exposure).evaluated);
    }
    frame = glare;
    const ExposureOutcome cut = ae.Step(size, frame, kAutoExposureLimit, exposure);
    EXPECT_TRUE(cut.changed);
    EXPECT_EQ(exposure, 100);
    for (int call = 5; call <= 7; ++call) {
        frame = normal;
        (void)ae.Step(size, frame, kAutoExposureLimit, exposure);
        EXPECT_EQ(frame, glare) << call;  // the held frame is shown
    }
    frame = normal;
    (void)ae.Step(size, frame, kAutoExposureLimit, exposure);
    frame = normal;
    (void)ae.Step(size, frame, kAutoExposureLimit, exposure);
    EXPECT_EQ(frame, normal);
    EXPECT_FALSE(ae.holdingFrame());
}

// The mark shows where the turned picture puts it: the base's frames get it
// near their top right, the FPGA frames (turned by half) near their bottom
// left, both 50 x 50 and 50 pixels in from the edges.
TEST(AutoExposure, TheMarkLiesInTheCornerEachSensorsPictureShowsIt) {
    struct Case {
        BayerExposureKind kind;
        int firstColumn, firstRow;
    };
    const FrameSize size{200, 160};
    const Case cases[] = {{BayerExposureKind::base, 100, 50}, {BayerExposureKind::fpga, 50, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstColumn);
        AutoExposure ae;
        ae.Enable(true);
        int exposure = 100;
        Bytes frame(FrameBytes(size), 0);
        ExposureOutcome outcome;
        for (int call = 0; call < 2 && !outcome.evaluated; ++call) {
            outcome = ae.StepBayer(size, frame, true, kAutoExposureLimit, exposure, c.kind);
        }
        ASSERT_TRUE(outcome.evaluated);
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const bool inside = x >= c.firstColumn && x < c.firstColumn + 50 && y >= c.firstRow && y < c.firstRow + 50;
                ASSERT_EQ(frame[static_cast<std::size_t>(y) * size.width + x], inside ? 100 : 0) << x << "," << y;
            }
        }
    }
}

// The thresholds decide whether an evaluation acts: below the exposure
// threshold a dim frame raises the exposure; above the brightness threshold
// a bright frame lowers it; between them nothing changes.
TEST(AlternateAutoExposure, EachModelFamilysThresholdsDecideWhetherItActs) {
    struct Case {
        const char* what;
        AlternateExposureThresholds thresholds;
        int level;  // every byte of the frame; luma 10 x level
        bool acts;
    };
    const Case cases[] = {
        {"usual, dim at 400 lines", {300, 150}, 10, false},
        {"FPGA, dim at 400 lines", {600, 150}, 10, true},
        {"usual, luma 200", {300, 150}, 20, true},
        {"types 6, 7, 8, 22, luma 200", {300, 300}, 20, false},
        {"types 6, 7, 8, 22, luma 400", {300, 300}, 40, true},
    };
    const FrameSize size{32, 32};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AlternateAutoExposure ae(size);
        int exposure = 400;
        Bytes frame(FrameBytes(size), static_cast<std::uint8_t>(c.level));
        ExposureOutcome outcome;
        for (int call = 0; call < 4; ++call) outcome = ae.Step(size, frame, 5000, exposure, {}, c.thresholds);
        ASSERT_TRUE(outcome.evaluated);
        EXPECT_EQ(outcome.changed, c.acts) << "exposure now " << exposure;
    }
}

Bytes TintedBayer(FrameSize size, int red, int green, int blue) {
    Bytes raw(FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            At(raw, size, y, x) = static_cast<std::uint8_t>((y % 2 == 0 && x % 2 == 0)   ? red
                                                            : (y % 2 == 1 && x % 2 == 1) ? blue
                                                                                         : green);
        }
    }
    return raw;
}

TEST(WhiteBalance, GreySceneGivesIdentityTablesAndGain500) {
    const FrameSize size{20, 14};
    const GainTables t = ComputeWhiteBalance(size, TintedBayer(size, 90, 90, 90), std::nullopt).value();
    EXPECT_EQ(t.red, IdentityTable());
    EXPECT_EQ(t.green, IdentityTable());
    EXPECT_EQ(t.blue, IdentityTable());
    EXPECT_EQ(ReadBackGain(t.red), 500);
}

TEST(WhiteBalance, TintedFrameIsBalancedToTheBrightestChannel) {
    const FrameSize size{20, 14};
    Bytes raw = TintedBayer(size, 60, 120, 80);
    const GainTables t = ComputeWhiteBalance(size, raw, std::nullopt).value();
    EXPECT_EQ(t.green, IdentityTable());
    EXPECT_EQ(t.red[60], 120);
    EXPECT_EQ(t.blue[80], 120);
    EXPECT_EQ(ReadBackGain(t.red), 1000);
    EXPECT_EQ(ReadBackGain(t.blue), 750);
    ApplyGainLut(size, raw, t);
    EXPECT_EQ(raw, TintedBayer(size, 120, 120, 120));
}

TEST(WhiteBalance, BlackChannelDoesNotDivideByZero) {
    const FrameSize size{8, 8};
    const GainTables t = ComputeWhiteBalance(size, TintedBayer(size, 0, 100, 50), std::nullopt).value();
    EXPECT_EQ(t.red[1], 100);
    EXPECT_EQ(t.red[2], 200);
    EXPECT_EQ(t.red[3], 255);  // min(300, 254.9) rounded
    EXPECT_EQ(t.blue[50], 100);
    const GainTables black = ComputeWhiteBalance(size, TintedBayer(size, 0, 0, 0), std::nullopt).value();
    EXPECT_EQ(black.red, IdentityTable());
}

TEST(WhiteBalance, RegionOutsideTheFrameIsClipped) {
    const FrameSize size{16, 16};
    Bytes raw = TintedBayer(size, 100, 100, 100);
    for (int y = 8; y < 16; ++y) {
        for (int x = 8; x < 16; ++x) {
            if (y % 2 == 0 && x % 2 == 0) {
                At(raw, size, y, x) = 50;  // a red-poor corner
            }
        }
    }
    const GainTables t = ComputeWhiteBalance(size, raw, PixelRect{8, 8, 4000, 4000}).value();
    EXPECT_EQ(t.red[50], 100);
}

TEST(WhiteBalance, RedIsReadWhereTheCellPutsItAndBlueOppositeIt) {
    // Red at odd columns of even rows, blue at even columns of odd rows.
    const FrameSize size{10, 8};
    Bytes raw(FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const bool redColumn = x % 2 == 1, redRow = y % 2 == 0;
            At(raw, size, y, x) = redColumn && redRow ? 60 : !redColumn && !redRow ? 80 : 120;
        }
    }
    const GainTables offDiagonal = ComputeWhiteBalance(size, raw, std::nullopt, BayerCell{1, 0}).value();
    EXPECT_EQ(offDiagonal.red[60], 120);
    EXPECT_EQ(offDiagonal.blue[80], 120);
    EXPECT_EQ(offDiagonal.green, IdentityTable());
    // Read as the base's cell, the same frame has red and blue at 120 and a
    // dim green: a different balance.
    const GainTables base = ComputeWhiteBalance(size, raw, std::nullopt).value();
    EXPECT_EQ(base.red, IdentityTable());
    EXPECT_EQ(base.green[70], 120);
}

TEST(WhiteBalance, AColourWithoutSamplesGivesNoTables) {
    const FrameSize size{16, 16};
    const Bytes raw = TintedBayer(size, 40, 100, 200);
    struct Case {
        PixelRect rect;
        bool balanced;
    };
    const Case cases[] = {
        {{4, 0, 5, 16}, false},  // one column: red and green only
        {{0, 6, 16, 7}, false},  // one row: red and green only
        {{5, 5, 6, 6}, false},   // one pixel
        {{3, 3, 5, 5}, true},    // one whole cell
        {{14, 14, 40, 40}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rect.left << "," << c.rect.top << " - " << c.rect.right << ","
                                        << c.rect.bottom);
        const auto tables = ComputeWhiteBalance(size, raw, c.rect);
        ASSERT_EQ(tables.has_value(), c.balanced);
        if (tables) EXPECT_EQ(tables->blue, IdentityTable());
    }
}

TEST(WhiteBalance, ContinuousBalanceSettlesExposureThenRedThenBlue) {
    // The output frame follows the sensor gains: each gain byte step moves
    // its channel by 4 around green 180.
    const FrameSize size{40, 30};
    ContinuousWhiteBalance awb;
    int exposure = 1000;
    SensorGains gains{20, 20, 40};
    bool finished = false;
    int frames = 0;
    for (; frames < 400 && !finished; ++frames) {
        Bytes rgb(FrameBytes(size, 3));
        const int red = 180 + 4 * (gains.red - 30);
        const int blue = 180 + 4 * (gains.blue - 30);
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = ClampToByte(blue);
            rgb[i + 1] = 180;
            rgb[i + 2] = ClampToByte(red);
        }
        finished = awb.Step(size, rgb, false, exposure, gains).finished;
    }
    ASSERT_TRUE(finished);
    EXPECT_EQ(exposure, 1000);  // green 180 needs no exposure change
    EXPECT_NEAR(gains.red, 30, 1);
    EXPECT_NEAR(gains.blue, 30, 1);
    EXPECT_EQ(PackContinuousWhiteBalance(exposure, gains), (125u << 24) |
                                                               (static_cast<std::uint32_t>(gains.blue) << 16) |
                                                               (20u << 8) | static_cast<std::uint32_t>(gains.red));
}

TEST(WhiteBalance, ContinuousBalanceRaisesExposureOnADarkFrame) {
    const FrameSize size{20, 20};
    ContinuousWhiteBalance awb;
    int exposure = 1000;
    SensorGains gains{30, 30, 30};
    Bytes rgb(FrameBytes(size, 3), 100);
    (void)awb.Step(size, rgb, false, exposure, gains);
    (void)awb.Step(size, rgb, false, exposure, gains);
    EXPECT_EQ(exposure, 1050);
}

TEST(YuvFrame, ExamplePairGivesBlackAndWhite) {
    EXPECT_EQ(YuvToBgr(16, 128, 128), (Bgr{0, 0, 0}));
    EXPECT_EQ(YuvToBgr(235, 128, 128), (Bgr{253, 253, 253}));
    const Bgr red = YuvToBgr(81, 240, 90);
    EXPECT_GT(red.red, 200);
    EXPECT_LT(red.blue, 20);
}

TEST(YuvFrame, ConversionOrientsLikeTheBayerKernels) {
    FrameSize size{4, 3};
    // Row 2 (copied into rows 0 and 1) holds a dark and a bright pair.
    Bytes yuv(FrameBytes(size, 2), 128);
    const Bytes row2 = {16, 128, 16, 128, 235, 128, 235, 128};
    std::copy(row2.begin(), row2.end(), yuv.begin() + 16);
    Bytes rgb(FrameBytes(size, 3));
    ASSERT_TRUE(ConvertYuvFrame(size, 1, rgb, yuv));
    // Mirrored: the bright pair comes first in every row.
    EXPECT_EQ(rgb[0], 253);
    EXPECT_EQ(rgb[9], 0);
    FrameSize turned{4, 3};
    Bytes out(FrameBytes(turned, 3));
    ASSERT_TRUE(ConvertYuvFrame(turned, 4, out, yuv));
    EXPECT_EQ(turned, (FrameSize{3, 4}));
    Bytes odd(FrameBytes({5, 3}, 3));
    FrameSize oddSize{5, 3};
    Bytes oddYuv(FrameBytes(oddSize, 2), 128);
    EXPECT_FALSE(ConvertYuvFrame(oddSize, 0, odd, oddYuv));
}

TEST(YuvFrame, ConversionMatchesTheReferenceAtOddSizesInEveryFlip) {
    // Widths are whole pixel pairs; heights and pair counts odd and even.
    const FrameSize sizes[] = {{4, 3}, {6, 5}, {10, 7}, {14, 4}, {34, 9}, {130, 3}};
    for (const FrameSize size : sizes) {
        const Bytes yuv =
            test::RandomBytes(FrameBytes(size, 2), static_cast<std::uint32_t>(size.width * 131 + size.height));
        for (int flip = 0; flip < 6; ++flip) {
            SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " flip " << flip);
            int width = size.width, height = size.height;
            const Bytes expected = test::ReferenceYuvToBgr(yuv, width, height, flip);
            // Exactly the picture's bytes: anything past them stays untouched.
            Bytes rgb(expected.size() + 6, 0xA5);
            Bytes frame = yuv;
            FrameSize converted = size;
            ASSERT_TRUE(ConvertYuvFrame(converted, flip, rgb, frame));
            EXPECT_EQ(converted, (FrameSize{width, height}));
            EXPECT_EQ(Bytes(rgb.begin(), rgb.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
            EXPECT_EQ(Bytes(rgb.end() - 6, rgb.end()), Bytes(6, 0xA5));
        }
    }
}

TEST(YuvFrame, LumaIsTenTimesTheMeanYOfEverySecondPixel) {
    const FrameSize size{8, 4};
    Bytes yuv(FrameBytes(size, 2), 128);
    // Pixel x has Y = 10 x (x + 1): the even ones 10, 30, 50, 70.
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) yuv[2 * (y * size.width + x)] = static_cast<std::uint8_t>(10 * (x + 1));
    }
    struct Case {
        PixelRect rect;
        int luma;
    };
    const Case cases[] = {
        // 16 samples of mean 40; the divisor starts at 1.
        {{0, 0, 8, 4}, 10 * (4 * (10 + 30 + 50 + 70)) / 17},
        {{3, 1, 6, 2}, 10 * (30 + 50) / 3},   // from the even column before 3
        {{6, 0, 40, 40}, 10 * (4 * 70) / 5},  // cut to the frame
        {{8, 0, 9, 4}, 0},                    // outside
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rect.left << "," << c.rect.top);
        EXPECT_EQ(YuvLuma(size, yuv, c.rect), c.luma);
    }
}

TEST(YuvFrame, TheAutoMarkRaisesTheSecondByteOfItsBlockOnly) {
    const FrameSize size{120, 110};
    Bytes yuv(FrameBytes(size, 2), 10);
    DrawYuvAutoMark(size, yuv);
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const bool inside = y >= 50 && y < 100 && x >= 20 && x < 70;
            ASSERT_EQ(yuv[2 * (y * size.width + x)], 10) << y << "," << x;
            ASSERT_EQ(yuv[2 * (y * size.width + x) + 1], inside ? 60 : 10) << y << "," << x;
        }
    }
    Bytes small(FrameBytes({99, 120}, 2), 10);
    DrawYuvAutoMark({99, 120}, small);
    EXPECT_EQ(small, Bytes(small.size(), 10));
}

TEST(WhiteBalance, BgrFramesAreBalancedToTheirBrightestChannel) {
    const FrameSize size{6, 4};
    Bytes bgr(FrameBytes(size, 3));
    for (std::size_t i = 0; i < bgr.size(); i += 3) {
        bgr[i] = 50;       // blue
        bgr[i + 1] = 100;  // green
        bgr[i + 2] = 200;  // red
    }
    const GainTables t = ComputeWhiteBalanceBgr(size, bgr, std::nullopt).value();
    EXPECT_EQ(t.red, IdentityTable());
    EXPECT_EQ(t.green[100], 200);
    EXPECT_EQ(t.blue[50], 200);
    ApplyGainLutBgr(bgr, t);
    EXPECT_EQ(bgr, Bytes(bgr.size(), 200));
    EXPECT_FALSE(ComputeWhiteBalanceBgr(size, bgr, PixelRect{6, 0, 9, 4}).has_value()) << "nothing on the frame";
}

TEST(GainTables, EachSampleTakesTheTableOfItsColourInTheCell) {
    const FrameSize size{5, 3};
    GainTables tables;
    tables.red = GainTable(1000);   // doubles
    tables.green = GainTable(500);  // keeps
    tables.blue = GainTable(250);   // halves
    struct Case {
        BayerCell cell;
        // Per position (row parity, column parity): 2 red, 1 green, 0 blue.
        int kind[2][2];
    };
    const Case cases[] = {
        {{0, 0}, {{2, 1}, {1, 0}}},
        {{1, 0}, {{1, 2}, {0, 1}}},
        {{0, 1}, {{1, 0}, {2, 1}}},
        {{1, 1}, {{0, 1}, {1, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cell.redColumn << "," << c.cell.redRow);
        Bytes raw(FrameBytes(size), 60);
        ApplyGainLut(size, raw, tables, c.cell);
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const int kind = c.kind[y % 2][x % 2];
                EXPECT_EQ(At(raw, size, y, x), kind == 2 ? 120 : kind == 1 ? 60 : 30) << y << "," << x;
            }
        }
    }
}

TEST(YuvFrame, ChromaBalanceStepsRedThenBlueAndNeverWraps) {
    const FrameSize size{8, 4};
    Bytes yuv(FrameBytes(size, 2));
    auto fill = [&](int c1, int c2) {
        for (std::size_t i = 0; i < yuv.size(); i += 4) {
            yuv[i] = 100;
            yuv[i + 1] = static_cast<std::uint8_t>(c1);
            yuv[i + 2] = 100;
            yuv[i + 3] = static_cast<std::uint8_t>(c2);
        }
    };
    ChromaWhiteBalance awb;
    int red = 40;
    int blue = 127;
    fill(124, 120);
    (void)awb.Step(size, yuv, red, blue);
    EXPECT_TRUE(awb.Step(size, yuv, red, blue).changed);
    EXPECT_EQ(red, 41);
    fill(128, 120);
    (void)awb.Step(size, yuv, red, blue);
    const ChromaBalanceOutcome atTop = awb.Step(size, yuv, red, blue);
    EXPECT_EQ(blue, 127);  // held at the top instead of wrapping
    EXPECT_FALSE(atTop.changed);
    fill(128, 128);
    (void)awb.Step(size, yuv, red, blue);
    EXPECT_TRUE(awb.Step(size, yuv, red, blue).finished);
}

TEST(YuvFrame, ChromaBalanceMarksItsMeasuredFramesInsideTheFrame) {
    const FrameSize size{120, 100};
    Bytes yuv(FrameBytes(size, 2), 128);
    const Bytes before = yuv;
    ChromaWhiteBalance awb;
    int red = 40, blue = 40;
    (void)awb.Step(size, yuv, red, blue);
    EXPECT_EQ(yuv, before) << "skipped call";
    ASSERT_TRUE(awb.Step(size, yuv, red, blue).finished);
    // The chroma byte of each pixel in rows 50..99, columns 20..69.
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const std::size_t at = 2 * (static_cast<std::size_t>(y) * size.width + x);
            const bool marked = y >= 50 && x >= 20 && x < 70;
            ASSERT_EQ(yuv[at], 128);
            ASSERT_EQ(yuv[at + 1], marked ? 178 : 128) << x << "," << y;
        }
    }
    // Too small a frame for the mark is measured and left alone.
    const FrameSize small{98, 120};
    Bytes smallYuv(FrameBytes(small, 2), 128);
    (void)awb.Step(small, smallYuv, red, blue);
    ASSERT_TRUE(awb.Step(small, smallYuv, red, blue).evaluated);
    EXPECT_EQ(std::count(smallYuv.begin(), smallYuv.end(), 128), static_cast<long>(smallYuv.size()));
}

TEST(Demosaic, ModeFourDeliversTheRawBytesAndHigherModesNothing) {
    const FrameSize size{10, 6};
    Bytes raw = test::RandomBytes(FrameBytes(size), 21);
    DemosaicWork work(size);
    Bytes out(FrameBytes(size, 3), 0);
    ASSERT_TRUE(Demosaic({4, 2, 1, false}, size, out, raw, work));
    EXPECT_TRUE(std::equal(raw.begin(), raw.end(), out.begin()));
    EXPECT_FALSE(Demosaic({6, 0, 0, false}, size, out, raw, work));
}

TEST(Demosaic, EveryModeAndFlipOfAUniformFrameIsUniform) {
    const FrameSize size{20, 12};
    DemosaicWork work(size);
    for (const bool mono : {false, true}) {
        for (const int mode : {0, 2, 3, 5}) {
            for (int flip = 0; flip <= 5; ++flip) {
                Bytes raw(FrameBytes(size), 100);
                Bytes out(FrameBytes(size, OutputBytesPerPixel(mode)), 0);
                ASSERT_TRUE(Demosaic({mode, flip, 0, mono}, size, out, raw, work));
                EXPECT_EQ(std::count(out.begin(), out.end(), 100), static_cast<long>(out.size()))
                    << mode << " " << flip << " " << mono;
            }
        }
    }
}

TEST(Demosaic, PrefilterChoiceThreeChangesNothing) {
    const FrameSize size{12, 8};
    const Bytes raw = test::RandomBytes(FrameBytes(size), 5);
    DemosaicWork work(size);
    Bytes a = raw;
    Bytes b = raw;
    Bytes outA(FrameBytes(size, 3));
    Bytes outB(FrameBytes(size, 3));
    ASSERT_TRUE(Demosaic({0, 0, 3, false}, size, outA, a, work));
    ASSERT_TRUE(Demosaic({0, 0, 0, false}, size, outB, b, work));
    EXPECT_EQ(outA, outB);
    EXPECT_EQ(a, raw);
    Bytes c = raw;
    ASSERT_TRUE(Demosaic({0, 0, 1, false}, size, outA, c, work));
    EXPECT_NE(c, raw);
}

TEST(Demosaic, ColourModeOneSharpensAndCopiesTheBorder) {
    const FrameSize size{24, 16};
    DemosaicWork work(size);
    Bytes raw = test::RandomBytes(FrameBytes(size), 77);
    Bytes plain(FrameBytes(size, 3));
    Bytes sharpened(FrameBytes(size, 3));
    Bytes copy = raw;
    ASSERT_TRUE(Demosaic({0, 2, 0, false}, size, plain, copy, work));
    copy = raw;
    ASSERT_TRUE(Demosaic({1, 2, 0, false}, size, sharpened, copy, work));
    EXPECT_NE(plain, sharpened);
    for (int y = 0; y < 4; ++y) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(At(sharpened, size, y, 10, 3, c), At(sharpened, size, 4, 10, 3, c));
            EXPECT_EQ(At(sharpened, size, 7, size.width - 1 - y, 3, c), At(sharpened, size, 7, size.width - 5, 3, c));
        }
    }
}

}  // namespace
}  // namespace kqcmos
