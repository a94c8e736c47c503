#include <gtest/gtest.h>

#include "gain_tables.h"
#include "gamma_table.h"
#include "point_filters.h"
#include "test_frames.h"
#include "tone_tables.h"

namespace kqcmos {
namespace {

using test::Bytes;

TEST(GainTables, UnityIsIdentityAndReadsBack500) {
    EXPECT_EQ(GainTable(500), IdentityTable());
    EXPECT_EQ(ReadBackGain(GainTable(500)), 500);
}

TEST(GainTables, DoubleGainSaturatesAndReadsBackFromBelowTheKnee) {
    const ByteTable t = GainTable(1000);
    EXPECT_EQ(t[100], 200);
    EXPECT_EQ(t[128], 255);
    EXPECT_EQ(ReadBackGain(t), 1000);
}

TEST(GainTables, ReadBackTableOfGains) {
    for (const int gain : {250, 333, 500, 640, 777, 1000, 2000}) {
        const std::optional<int> back = ReadBackGain(GainTable(gain));
        ASSERT_TRUE(back.has_value()) << gain;
        EXPECT_NEAR(*back, gain, gain / 50 + 4) << gain;
    }
}

TEST(GainTables, AllSaturatedOrBlackTableHasNoGain) {
    ByteTable saturated{};
    saturated.fill(255);
    saturated[0] = 0;
    EXPECT_EQ(ReadBackGain(saturated), std::nullopt);
    EXPECT_EQ(ReadBackGain(ByteTable{}), std::nullopt);
    // A table starting above 0 must not divide by index 0.
    ByteTable odd{};
    odd.fill(255);
    odd[0] = 7;
    EXPECT_EQ(ReadBackGain(odd), std::nullopt);
}

TEST(GainTables, ApplyGainLutUsesEachSamplesChannelAtOddSizes) {
    GainTables tables;
    tables.red.fill(1);
    tables.green.fill(2);
    tables.blue.fill(3);
    for (const FrameSize size : test::OddSizes()) {
        Bytes raw(FrameBytes(size), 0);
        ApplyGainLut(size, raw, tables);
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const int want = (y % 2 == 0 && x % 2 == 0) ? 1 : (y % 2 == 1 && x % 2 == 1) ? 3 : 2;
                ASSERT_EQ(test::At(raw, size, y, x), want) << size.width << "x" << size.height;
            }
        }
    }
}

TEST(GammaTable, DefaultIndexLeavesTableIdentityAndInactive) {
    GammaTable gamma;
    ASSERT_TRUE(gamma.SetIndex(16));
    EXPECT_FALSE(gamma.active());
    EXPECT_EQ(gamma.table(), IdentityTable());
}

TEST(GammaTable, IndexZeroAndOneGiveTheSameCurve) {
    GammaTable a;
    GammaTable b;
    ASSERT_TRUE(a.SetIndex(0));
    ASSERT_TRUE(b.SetIndex(1));
    EXPECT_EQ(a.table(), b.table());
    EXPECT_TRUE(a.active());
    EXPECT_DOUBLE_EQ(a.value(), 0.375);
}

TEST(GammaTable, CurvesAreMonotoneAndBrightenAboveOne) {
    GammaTable gamma;
    ASSERT_TRUE(gamma.SetIndex(32));  // gamma 3
    const ByteTable& t = gamma.table();
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[255], 255);
    EXPECT_TRUE(std::is_sorted(t.begin(), t.end()));
    EXPECT_GT(t[64], 64);
    ASSERT_TRUE(gamma.SetIndex(16));
    EXPECT_EQ(gamma.table(), IdentityTable());
    EXPECT_FALSE(gamma.active());
}

TEST(GammaTable, OutOfRangeIndexIsRefusedAndChangesNothing) {
    GammaTable gamma;
    ASSERT_TRUE(gamma.SetIndex(20));
    const ByteTable before = gamma.table();
    for (const int bad : {-1, 33, 1000}) {
        EXPECT_FALSE(gamma.SetIndex(bad));
        EXPECT_EQ(gamma.index(), 20);
        EXPECT_EQ(gamma.table(), before);
    }
}

TEST(ToneTables, DefaultCurveIsContinuousAtItsKnots) {
    const ToneCurve c = BuildDefaultToneCurve();
    const std::vector<std::pair<int, std::uint32_t>> points = {{39, 68},   {40, 70},   {79, 109},  {80, 110},
                                                               {249, 243}, {250, 245}, {255, 255}, {0, 0}};
    for (const auto& [i, v] : points) {
        EXPECT_EQ(c[static_cast<std::size_t>(i)], v) << i;
    }
    EXPECT_TRUE(std::is_sorted(c.begin(), c.end()));
}

TEST(ToneTables, HdrTableEndsAndIsMonotone) {
    const ByteTable& t = HdrToneTable();
    EXPECT_EQ(t[0x17], 0);
    EXPECT_EQ(t[0x18], 4);
    EXPECT_EQ(t[0xFF], 0xFF);
    EXPECT_TRUE(std::is_sorted(t.begin(), t.end()));
}

TEST(PointFilters, StoredSettingsAreLimited) {
    EXPECT_EQ(ClampSaturation(0), 1);
    EXPECT_EQ(ClampSaturation(20), 16);
    EXPECT_EQ(ClampSharpness(9), 8);
    EXPECT_EQ(NormalizeContrast(33), 1);
    EXPECT_EQ(NormalizeContrast(32), 32);
    EXPECT_EQ(NormalizeContrast(1), 1);
    EXPECT_EQ(NormalizeContrast(0), 0);     // remainder -1 keeps the sign of v - 1
    EXPECT_EQ(NormalizeContrast(-40), -8);  // -41 % 32 = -9
    // AdjustColor's argument is (2 x contrast) mod 256.
    EXPECT_EQ(ContrastArgument(16), 32);
    EXPECT_EQ(ContrastArgument(0), 0);
    EXPECT_EQ(ContrastArgument(-8), 240);
    EXPECT_EQ(ContrastArgument(200), 144);
}

TEST(PointFilters, NeutralLightAndContrastLeaveBytesUnchanged) {
    Bytes bytes = test::RandomBytes(1001, 5);
    const Bytes before = bytes;
    ApplyLight(bytes, kNeutralLight);
    EXPECT_EQ(AdjustColor(bytes, 2 * kNeutralContrast, 0), 0);
    EXPECT_EQ(bytes, before);
}

TEST(PointFilters, ContrastThirtyTwoStretchesAroundMidGrey) {
    Bytes bytes = {64, 192, 128, 0, 255, 100};
    ASSERT_EQ(AdjustColor(bytes, 2 * 32, 3), 0);
    EXPECT_EQ(bytes, (Bytes{0, 255, 128, 0, 255, 72}));
}

TEST(PointFilters, ContrastReachesTheLastByteOfAnOddLengthFrame) {
    Bytes bytes(17, 64);
    ASSERT_EQ(AdjustColor(bytes, 64, 0), 0);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), 17);
}

TEST(PointFilters, ContrastForRawModeIsRefused) {
    Bytes bytes(4, 64);
    EXPECT_EQ(AdjustColor(bytes, 64, 4), 4);
    EXPECT_EQ(AdjustColor(bytes, 64, 7), 7);
    EXPECT_EQ(bytes, Bytes(4, 64));
}

TEST(PointFilters, LightScalesBelowAndAboveNeutral) {
    Bytes bytes = {100, 200, 255};
    ApplyLight(bytes, 64);
    EXPECT_EQ(bytes, (Bytes{200, 255, 255}));
    bytes = {100, 200, 255};
    ApplyLight(bytes, 1);
    EXPECT_EQ(bytes, (Bytes{50, 100, 127}));
}

TEST(PointFilters, SaturationEightChangesNothingAndOthersMoveFromGrey) {
    const FrameSize size{5, 3};
    Bytes rgb(FrameBytes(size, 3));
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = 40;       // blue
        rgb[i + 1] = 80;   // green
        rgb[i + 2] = 160;  // red
    }
    Bytes same = rgb;
    ApplySaturation(size, same, 8);
    EXPECT_EQ(same, rgb);
    // Sum 280: grey = 35 + 70 = 105.
    Bytes strong = rgb;
    ApplySaturation(size, strong, 16);
    EXPECT_EQ(test::At(strong, size, 1, 2, 3, 0), 0);    // 40 + (8 x -65) >> 3 = -25 -> 0
    EXPECT_EQ(test::At(strong, size, 1, 2, 3, 2), 215);  // 160 + 55
    EXPECT_EQ(test::At(strong, size, 0, 2, 3, 2), 160);  // first row untouched
    Bytes weak = rgb;
    ApplySaturation(size, weak, 1);
    EXPECT_EQ(test::At(weak, size, 1, 0, 3, 1), 101);  // 80 + (7 x 25) >> 3
}

TEST(PointFilters, SharpnessLiftsAPeakAndKeepsFlatAreasAtOddSizes) {
    for (const FrameSize size : test::OddSizes()) {
        if (size.width < 3 || size.height < 3) {
            continue;
        }
        for (const int bpp : {1, 3}) {
            Bytes frame(FrameBytes(size, bpp), 50);
            Bytes scratch(2 * static_cast<std::size_t>(size.width * bpp));
            const int cy = size.height / 2;
            const int cx = size.width / 2;
            test::At(frame, size, cy, cx, bpp, 0) = 60;
            ASSERT_TRUE(ApplySharpness(size, bpp, frame, 8, scratch));
            // (8 x 60 - 400) / 2 = 40; 40 x 7 / 8 = 35.
            const bool inside = cx >= 1 && cx + 1 < size.width && cy >= 1 && cy + 1 < size.height;
            EXPECT_EQ(test::At(frame, size, cy, cx, bpp, 0), inside ? 95 : 60) << size.width << "x" << size.height;
            // The neighbour right of the peak: (400 - 410) / 2 = -5, x 7 / 8 = -4.
            if (inside && cx + 2 < size.width) {
                EXPECT_EQ(test::At(frame, size, cy, cx + 1, bpp, 0), 46);
            }
            if (bpp == 3) {
                EXPECT_EQ(test::At(frame, size, cy, cx, bpp, 1), 50);
            }
        }
    }
}

TEST(PointFilters, SharpnessNeedsItsScratchRows) {
    const FrameSize size{8, 8};
    Bytes frame(64, 1);
    Bytes scratch(15);
    EXPECT_FALSE(ApplySharpness(size, 1, frame, 4, scratch));
}

}  // namespace
}  // namespace kqcmos
