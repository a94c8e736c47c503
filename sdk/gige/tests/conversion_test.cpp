// Conversion per output kind and Bayer phase on frames small enough to
// compute by hand: site placement, the halved greens, the edge rows and
// columns, the first-byte rule and the row order.

#include <gtest/gtest.h>

#include "conversion.h"
#include "frames.h"

namespace kqge {
namespace {

using test::Bgr;
using test::Bytes;

Bytes Color(FrameSize size, int phase, const Bytes& raw) {
    Bytes out(static_cast<std::size_t>(size.width) * size.height * 3, 0xEE);
    EXPECT_TRUE(ConvertToColor(size, phase, raw, out));
    return out;
}

struct ColorCase {
    int phase;
    int rawRow;  // raw row whose picture row is checked (picture row = 3 - rawRow)
    std::vector<Bgr> expected;
};

class ColorByPhase : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorByPhase, HandComputedRowsOfTheFourByFourFrame) {
    const ColorCase& c = GetParam();
    const Bytes out = Color({4, 4}, c.phase, test::Frame4x4());
    EXPECT_EQ(test::RowPixels(out, 4, 3 - c.rawRow), c.expected) << "phase " << c.phase << " raw row " << c.rawRow;
}

// Blue byte of pixel 0 is always the blue of pixel 1 (the first-byte rule);
// the last pixel repeats the one before it.
INSTANTIATE_TEST_SUITE_P(Goldens, ColorByPhase,
                         ::testing::Values(
                             // Phase 4: red (even, odd). Raw row 1 from rows 1 and 2, red below.
                             ColorCase{4, 1, {{71, 75, 101}, {71, 85, 101}, {71, 95, 121}, {71, 95, 121}}},
                             ColorCase{4, 2, {{151, 115, 101}, {151, 125, 101}, {151, 135, 121}, {151, 135, 121}}},
                             // Raw row 0 is a copy of raw row 1, the last raw row of the one above.
                             ColorCase{4, 0, {{71, 75, 101}, {71, 85, 101}, {71, 95, 121}, {71, 95, 121}}},
                             ColorCase{4, 3, {{151, 115, 101}, {151, 125, 101}, {151, 135, 121}, {151, 135, 121}}},
                             // Phase 2 keeps raw row 0's own window.
                             ColorCase{2, 0, {{21, 35, 51}, {21, 45, 71}, {41, 55, 71}, {41, 55, 71}}},
                             // Phase 3 on a size the packed kernel does not take.
                             ColorCase{3, 1, {{61, 75, 91}, {61, 85, 111}, {81, 95, 111}, {81, 95, 111}}},
                             ColorCase{3, 0, {{61, 75, 91}, {61, 85, 111}, {81, 95, 111}, {81, 95, 111}}},
                             // Phase 1: red (odd, odd) on the top row of raw row 1's window.
                             ColorCase{1, 1, {{111, 75, 61}, {111, 85, 61}, {111, 95, 81}, {111, 95, 81}}}));

// Every sample odd, so halving each green loses one against halving the sum.
Bytes OddSamples(FrameSize size) {
    Bytes raw(static_cast<std::size_t>(size.width) * size.height);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(101 + 2 * (i % 60));
    return raw;
}

TEST(ColorPhase3, PackedKernelOnWidthsOfThreeAndHeightsOfEightHalvesTheGreenSum) {
    // Raw row 1, pixel 1: red row2[2], blue row1[1], greens row2[1] and row1[2].
    const Bytes packed = Color({6, 8}, 3, OddSamples({6, 8}));
    EXPECT_EQ(test::PixelAt(packed, 6, 8 - 1 - 1, 1), (Bgr{115, (127 + 117) >> 1, 129}));
    const Bytes cells = Color({6, 6}, 3, OddSamples({6, 6}));
    EXPECT_EQ(test::PixelAt(cells, 6, 6 - 1 - 1, 1), (Bgr{115, 127 / 2 + 117 / 2, 129}));
}

TEST(ColorPhase3, PackedKernelCopiesTheEdgeRowsInward) {
    const FrameSize size{6, 8};
    const Bytes out = Color(size, 3, OddSamples(size));
    EXPECT_EQ(test::RowPixels(out, 6, 7), test::RowPixels(out, 6, 6));  // raw row 0 from raw row 1
    EXPECT_EQ(test::RowPixels(out, 6, 0), test::RowPixels(out, 6, 1));  // last raw row
    EXPECT_NE(test::RowPixels(out, 6, 6), test::RowPixels(out, 6, 5));
}

TEST(ColorKinds, FramesWithoutAWholeCellAreGreyInEveryByte) {
    const Bytes raw = test::Rows({{7}, {9}, {11}});
    const Bytes out = Color({1, 3}, 3, raw);
    EXPECT_EQ(out, (Bytes{11, 11, 11, 9, 9, 9, 7, 7, 7}));
}

struct GreyCase {
    const char* name;
    ImageSettings settings;
    bool rgb;
    std::vector<int> pictureRow0;  // raw row 3
    std::vector<int> pictureRow3;  // raw row 0
};

ImageSettings Sensor(int kind, bool monoPath, int family) {
    ImageSettings s;
    s.sensorColorKind = kind;
    s.monoPath = monoPath;
    s.familyMarker = family;
    return s;
}

class GreyPaths : public ::testing::TestWithParam<GreyCase> {};

TEST_P(GreyPaths, HandComputedFirstAndLastPictureRows) {
    const GreyCase& c = GetParam();
    const int bpp = c.rgb ? 3 : 1;
    Bytes out(16 * bpp, 0xEE);
    ASSERT_TRUE(ConvertToGrey({4, 4}, c.settings, c.rgb, test::Frame4x4(), out));
    for (int x = 0; x < 4; ++x) {
        for (int k = 0; k < bpp; ++k) {
            EXPECT_EQ(out[static_cast<std::size_t>(x * bpp + k)], c.pictureRow0[x]) << c.name << " x " << x;
            EXPECT_EQ(out[static_cast<std::size_t>((12 + x) * bpp + k)], c.pictureRow3[x]) << c.name << " x " << x;
        }
    }
}

// Quarters: 11/4 + 21/4 + 51/4 + 61/4 = 34; exact mean 144 / 4 = 36. The last
// raw row repeats the window of rows 2 and 3.
INSTANTIATE_TEST_SUITE_P(
    Goldens, GreyPaths,
    ::testing::Values(
        GreyCase{"colour sensor, 8 bit", Sensor(0, false, 0), false, {114, 124, 134, 134}, {34, 44, 54, 54}},
        GreyCase{"colour sensor, 24 bit", Sensor(3, false, 0), true, {114, 124, 134, 134}, {34, 44, 54, 54}},
        GreyCase{"mono without mono path", Sensor(1, false, 1), true, {131, 141, 151, 161}, {11, 21, 31, 41}},
        GreyCase{"mono path, register family", Sensor(2, true, 1), false, {116, 126, 136, 136}, {36, 46, 56, 56}},
        GreyCase{"mono path, other family", Sensor(1, true, 2), false, {114, 124, 134, 134}, {34, 44, 54, 54}}));

TEST(RawKind, CopiesTheBytesInRawOrder) {
    const Bytes raw = test::Frame4x4();
    Bytes out(16);
    ASSERT_TRUE(ConvertByKind(OutputKind::raw8, {4, 4}, {}, raw, out));
    EXPECT_EQ(out, raw);
}

TEST(Wide16, ShiftsAtEightAndTwelveBitsAndAveragesAtTen) {
    const Bytes raw = test::Samples16({0x0ABC, 0x00FF, 1000, 1001, 1002, 1003});
    for (int bits : {8, 12}) {
        Bytes out(12);
        ASSERT_TRUE(ConvertWide16({3, 2}, bits, raw, out));
        EXPECT_EQ(out, test::Samples16({0xABC0, 0x0FF0, 16000, 16016, 16032, 16048})) << bits;
    }
    Bytes mean(12);
    ASSERT_TRUE(ConvertWide16({3, 2}, 10, raw, mean));
    // Window (0x0ABC + 0x00FF + 1001 + 1002) / 4, then (0x00FF + 1000 + 1002 + 1003) / 4.
    const int first = (0x0ABC + 0x00FF + 1001 + 1002) / 4;
    const int second = (0x00FF + 1000 + 1002 + 1003) / 4;
    EXPECT_EQ(mean, test::Samples16({first, second, second, first, second, second}));
    Bytes untouched(12, 0xEE);
    ASSERT_TRUE(ConvertWide16({3, 2}, 14, raw, untouched));
    EXPECT_EQ(untouched, Bytes(12, 0xEE));
}

TEST(Wide16, DrawingFormKeepsTheTopEightValidBits) {
    const Bytes wide = test::Samples16({1023, 512, 0xABC0});
    Bytes ten(3), other(3);
    ASSERT_TRUE(Wide16ToDrawing({3, 1}, 10, wide, ten));
    ASSERT_TRUE(Wide16ToDrawing({3, 1}, 12, wide, other));
    EXPECT_EQ(ten, (Bytes{255, 128, static_cast<std::uint8_t>(0xABC0 >> 2)}));
    EXPECT_EQ(other, (Bytes{3, 2, 0xAB}));
}

TEST(Conversion, RefusesBuffersShorterThanTheFrame) {
    const Bytes raw = test::Frame4x4();
    Bytes out(47, 0xEE);
    EXPECT_FALSE(ConvertToColor({4, 4}, 3, raw, out));
    Bytes tall(60, 0xEE);
    EXPECT_FALSE(ConvertToColor({4, 5}, 3, raw, tall));
    EXPECT_EQ(tall, Bytes(60, 0xEE));
    EXPECT_EQ(out, Bytes(47, 0xEE));
    Bytes grey(16);
    EXPECT_FALSE(ConvertToGrey({4, 4}, {}, false, std::span(raw).first(15), grey));
    EXPECT_FALSE(ConvertByKind(OutputKind::raw8, {0, 4}, {}, raw, grey));
}

}  // namespace
}  // namespace kqge
