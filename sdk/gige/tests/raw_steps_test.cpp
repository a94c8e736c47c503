// Steps on the raw frame: contrast, white-balance tables, measurement and
// apply, the tone curve and the correction of each 2 x 2 cell.

#include <gtest/gtest.h>

#include "bayer_phase.h"
#include "frames.h"
#include "raw_contrast.h"
#include "tone_correction.h"
#include "white_balance.h"

namespace kqge {
namespace {

using test::Bytes;

TEST(Contrast8, NeutralLeavesBytesAndSteepMapsAroundTheMiddle) {
    Bytes all(256);
    for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    Bytes neutral = all;
    ApplyContrast8(neutral, 32);
    EXPECT_EQ(neutral, all);

    Bytes steep = {128, 160, 200, 64, 0};
    ApplyContrast8(steep, 63);
    // 63 x 64 / 32 + 128 - 252 = 2; 0 clamps at 0 and 200 at 255.
    EXPECT_EQ(steep, (Bytes{128, 191, 255, 2, 0}));
}

TEST(Contrast16, TwelveBitScaleAroundTheMiddle) {
    Bytes samples = test::Samples16({0, 2048, 3000, 4095});
    Bytes neutral = samples;
    ApplyContrast16(neutral, 32);
    EXPECT_EQ(neutral, samples);
    ApplyContrast16(samples, 63);
    // 63 x 3000 / 32 = 5906; 5906 - 4032 + 2048 = 3922.
    EXPECT_EQ(samples, test::Samples16({0, 2048, 3922, 4095}));
    Bytes flat = test::Samples16({0});
    ApplyContrast16(flat, 1);
    EXPECT_EQ(flat, test::Samples16({2048 - 64}));
}

TEST(AwbTables, GainsScaleEachChannelToTheLargest) {
    const AwbTables t = BuildAwbTables({100, 200, 50});
    for (int i = 0; i < 256; ++i) {
        const auto k = static_cast<std::size_t>(i);
        ASSERT_EQ(t.red[k], std::min(255, 2 * i)) << i;
        ASSERT_EQ(t.green[k], i) << i;
        ASSERT_EQ(t.blue[k], std::min(255, 4 * i)) << i;
    }
}

TEST(AwbTables, GainsBelowOneGiveIdentity) {
    const AwbTables identity = IdentityAwbTables();
    for (const AwbGains gains :
         {AwbGains{0, 0, 0}, AwbGains{0, 100, 100}, AwbGains{100, -5, 100}, AwbGains{100, 100, 0}}) {
        const AwbTables t = BuildAwbTables(gains);
        EXPECT_EQ(t.red, identity.red);
        EXPECT_EQ(t.green, identity.green);
        EXPECT_EQ(t.blue, identity.blue);
    }
}

// A 4 x 4 frame tinted by site: red 100, green 50, blue 25.
Bytes Tinted(int phase) {
    Bytes raw(16);
    const BayerPhase sites = BayerPhase::Of(phase);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const BayerSite s = sites.SiteAt(r, c);
            raw[static_cast<std::size_t>(r * 4 + c)] = s == BayerSite::red ? 100 : (s == BayerSite::green ? 50 : 25);
        }
    return raw;
}

TEST(WhiteBalance, MeasurementOnATintedFrameFindsEachSiteClass) {
    for (int phase = 1; phase <= 4; ++phase) {
        const AwbMeasurement m = MeasureWhiteBalance({4, 4}, phase, Tinted(phase));
        EXPECT_EQ(m.gains, (AwbGains{100, 50, 25})) << phase;
        EXPECT_EQ(m.tables.red[100], 100);
        EXPECT_EQ(m.tables.green[50], 100);
        EXPECT_EQ(m.tables.green[200], 255);
        // Blue is brought to 6 below the largest mean.
        EXPECT_EQ(m.tables.blue[25], 94);

        Bytes raw = Tinted(phase);
        ApplyWhiteBalance({4, 4}, phase, m.tables, raw);
        Bytes expected = Tinted(phase);
        for (auto& v : expected) v = v == 100 ? 100 : (v == 50 ? 100 : 94);
        EXPECT_EQ(raw, expected) << phase;
    }
}

TEST(WhiteBalance, MeasuredMeansAreAtLeastOne) {
    const AwbMeasurement m = MeasureWhiteBalance({2, 2}, 3, Bytes{0, 0, 0, 0});
    EXPECT_EQ(m.gains, (AwbGains{1, 1, 1}));
    EXPECT_EQ(m.tables.red[7], 7);
}

TEST(ToneCurve, KnotsOfTheCurve) {
    const ToneCurve& t = HdrToneCurve();
    const std::pair<int, int> knots[] = {{0, 0},     {39, 68},   {40, 70},   {79, 109},  {80, 110},  {120, 145},
                                         {160, 175}, {200, 200}, {230, 215}, {249, 243}, {250, 245}, {255, 255}};
    for (auto [i, v] : knots) EXPECT_EQ(t[static_cast<std::size_t>(i)], v) << i;
}

struct CellCase {
    int phase;
    int x, y, g1, g2;  // indices 0..3 of TL, TR, BL, BR
};

class Correction : public ::testing::TestWithParam<CellCase> {};

// X 200 over reference Y 100 with greens 80 and 90: pass A pulls X to 144;
// pass B sets both greens to 44, Y to 108 and X to 180.
TEST_P(Correction, ConvertFlagCorrectsThePhasesPair) {
    const CellCase& c = GetParam();
    Bytes cell(4);
    cell[c.x] = 200;
    cell[c.y] = 100;
    cell[c.g1] = 80;
    cell[c.g2] = 90;
    Bytes converted = cell;
    CorrectAndTone({2, 2}, c.phase, true, false, converted);
    Bytes expected(4);
    expected[c.x] = 180;
    expected[c.y] = 108;
    expected[c.g1] = 44;
    expected[c.g2] = 44;
    EXPECT_EQ(converted, expected) << "phase " << c.phase;

    Bytes both = cell;
    CorrectAndTone({2, 2}, c.phase, true, true, both);
    for (auto& v : expected) v = HdrToneCurve()[v];
    EXPECT_EQ(both, expected) << "phase " << c.phase;
}

INSTANTIATE_TEST_SUITE_P(Phases, Correction,
                         ::testing::Values(CellCase{1, 0, 3, 1, 2}, CellCase{2, 1, 2, 0, 3}, CellCase{3, 3, 0, 1, 2},
                                           CellCase{4, 2, 1, 0, 3}));

TEST(Correction, HdrAloneMapsEveryWholeCellAndNothingElse) {
    // 3 x 3: the last row and column lie outside every whole cell.
    Bytes raw = test::Rows({{40, 40, 40}, {40, 40, 40}, {40, 40, 40}});
    CorrectAndTone({3, 3}, 3, false, true, raw);
    EXPECT_EQ(raw, test::Rows({{70, 70, 40}, {70, 70, 40}, {40, 40, 40}}));
    Bytes untouched = test::Frame4x4();
    CorrectAndTone({4, 4}, 3, false, false, untouched);
    EXPECT_EQ(untouched, test::Frame4x4());
}

TEST(Correction, ReferenceNotFarBelowLeavesTheCorrectedSiteToPassB) {
    // Y x 21 / 16 = 131 >= 120: pass A does nothing. Pass B: g 100,
    // d = 100 - 140 / 10 = 86, X' = 120 + 34 / 8 = 124, Y = 100 + 60 / 16 = 103,
    // X = 124 + 21 / 2 = 134.
    Bytes cell = {120, 100, 100, 100};
    CorrectAndTone({2, 2}, 1, true, false, cell);
    EXPECT_EQ(cell, (Bytes{134, 86, 86, 103}));
}

}  // namespace
}  // namespace kqge
