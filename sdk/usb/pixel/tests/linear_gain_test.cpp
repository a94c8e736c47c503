// Gain tables found to be clamped lines: every fit reproduces its table at
// all 256 inputs, the plain gain curves are all found, and curves are not.
#include <gtest/gtest.h>

#include "gamma_table.h"
#include "gain_tables.h"
#include "linear_gain.h"
#include "point_filters.h"
#include "test_frames.h"

namespace kqcmos {
namespace {

void ExpectReproduces(const ByteTable& table, const LinearGain& line, int shift) {
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(EvaluateLinearGain(line, shift, v), table[static_cast<std::size_t>(v)]) << "input " << v;
    }
    EXPECT_GE(line.multiplier, 0);
    EXPECT_LE(line.multiplier, kMaxLinearMultiplier);
    EXPECT_LE(line.offset, kMaxLinearOffset);
    EXPECT_GE(line.offset, -kMaxLinearOffset);
}

TEST(LinearGain, EveryPlainGainCurveIsFoundAndReproducedAtEveryInput) {
    // Negative gains (all 0) through 16 times unity, where the curve is 0
    // and then 255 from input 1.
    for (int gain = -3; gain <= 16 * kUnityGain; ++gain) {
        SCOPED_TRACE(testing::Message() << "gain " << gain);
        const ByteTable table = GainTable(gain);
        const auto pair = FitLinearGains(table, GainTable(kUnityGain));
        ASSERT_TRUE(pair.has_value());
        ExpectReproduces(table, pair->even, pair->shift);
        ExpectReproduces(GainTable(kUnityGain), pair->odd, pair->shift);
    }
}

TEST(LinearGain, LightAndContrastTablesAreLinesToo) {
    for (int setting = 1; setting <= 64; ++setting) {
        SCOPED_TRACE(testing::Message() << "setting " << setting);
        const auto pair = FitLinearGains(LightTable(setting), ContrastTable(setting));
        ASSERT_TRUE(pair.has_value());
        ExpectReproduces(LightTable(setting), pair->even, pair->shift);
        ExpectReproduces(ContrastTable(setting), pair->odd, pair->shift);
    }
}

TEST(LinearGain, CurvesAndScrambledTablesAreNotTakenForLines) {
    GammaTable gamma;
    ASSERT_TRUE(gamma.SetIndex(8));
    ByteTable scrambled{};
    const test::Bytes random = test::RandomBytes(256, 5);
    std::copy(random.begin(), random.end(), scrambled.begin());
    ByteTable oneDip = GainTable(kUnityGain);
    oneDip[100] = 98;  // a line but for one entry
    const ByteTable cases[] = {gamma.table(), ComposeTables(GainTable(520), gamma.table()), scrambled, oneDip};
    for (const ByteTable& table : cases) {
        EXPECT_FALSE(FitLinearGains(table, IdentityTable()).has_value());
        EXPECT_FALSE(FitLinearGains(IdentityTable(), table).has_value());
    }
}

TEST(LinearGain, FitsFollowTheTablesTheyAreGiven) {
    LinearGainFits fits;
    fits.Update({GainTable(520), GainTable(500), GainTable(480)});
    ASSERT_NE(fits.RedRows(), nullptr);
    ASSERT_NE(fits.BlueRows(), nullptr);
    ExpectReproduces(GainTable(520), fits.RedRows()->even, fits.RedRows()->shift);
    ExpectReproduces(GainTable(480), fits.BlueRows()->odd, fits.BlueRows()->shift);
    // A changed table is refitted; a curve leaves its rows to the tables.
    GammaTable gamma;
    ASSERT_TRUE(gamma.SetIndex(8));
    fits.Update({GainTable(700), GainTable(500), gamma.table()});
    ASSERT_NE(fits.RedRows(), nullptr);
    ExpectReproduces(GainTable(700), fits.RedRows()->even, fits.RedRows()->shift);
    EXPECT_EQ(fits.BlueRows(), nullptr);
    // Red in the odd columns: each row's pair in column order.
    fits.Update({GainTable(520), GainTable(500), GainTable(480)}, BayerCell{1, 0});
    ASSERT_NE(fits.RedRows(), nullptr);
    ASSERT_NE(fits.BlueRows(), nullptr);
    ExpectReproduces(GainTable(500), fits.RedRows()->even, fits.RedRows()->shift);
    ExpectReproduces(GainTable(520), fits.RedRows()->odd, fits.RedRows()->shift);
    ExpectReproduces(GainTable(480), fits.BlueRows()->even, fits.BlueRows()->shift);
    ExpectReproduces(GainTable(500), fits.BlueRows()->odd, fits.BlueRows()->shift);
}

}  // namespace
}  // namespace kqcmos
