#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "erasure.h"
#include "frame_orientation.h"
#include "microscope_filters.h"
#include "raw_prefilters.h"
#include "sharpen_chain.h"
#include "tone_tables.h"
#include "test_frames.h"

namespace kqcmos {
namespace {

using test::At;
using test::Bytes;
using test::OddSizes;
using test::RandomBytes;

TEST(SharpenChain, FlatPlaneHasNoActivityAndStaysUnchanged) {
    const FrameSize size{13, 9};
    std::vector<std::int16_t> plane(FrameBytes(size), 90);
    std::vector<std::int16_t> sum(plane.size()), box(plane.size()), activity(plane.size()), out(plane.size());
    AddPlanes3(size, sum, plane, plane, plane);
    BoxSum3x3(size, box, sum);
    ActivityMeasure(size, activity, sum, box);
    EXPECT_TRUE(std::all_of(activity.begin(), activity.end(), [](std::int16_t a) { return a == 0; }));
    BoxSum3x3(size, box, plane);
    SharpenGated(size, out, plane, box, activity);
    EXPECT_EQ(out, plane);
}

TEST(SharpenChain, BrightPixelOnDarkGroundIsRaisedEightTimesItsExcessThenClamped) {
    const FrameSize size{9, 7};
    std::vector<std::int16_t> plane(FrameBytes(size), 10);
    plane[3 * 9 + 4] = 40;
    std::vector<std::int16_t> sum(plane.size()), box(plane.size()), activity(plane.size()), out(plane.size());
    AddPlanes3(size, sum, plane, plane, plane);
    BoxSum3x3(size, box, sum);
    ActivityMeasure(size, activity, sum, box);
    EXPECT_GT(activity[3 * 9 + 4], kSharpenActivityThreshold);
    BoxSum3x3(size, box, plane);
    SharpenGated(size, out, plane, box, activity);
    EXPECT_EQ(out[3 * 9 + 4], 40 + 8 * 30);
    Bytes narrowed(plane.size());
    NarrowPlane(size, narrowed, out);
    EXPECT_EQ(narrowed[3 * 9 + 4], 255);
    EXPECT_EQ(narrowed[3 * 9 + 3], 0);  // 10 + (90 - 120) = -20
}

TEST(SharpenChain, BoxSumComputesOnlyInsideThePlane) {
    for (const FrameSize size : {FrameSize{3, 3}, FrameSize{7, 5}, FrameSize{10, 4}}) {
        std::vector<std::int16_t> in(FrameBytes(size), 1);
        std::vector<std::int16_t> out(in.size(), -1);
        BoxSum3x3(size, out, in);
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const bool inside = y > 0 && x > 0 && y + 1 < size.height && x + 1 < size.width;
                ASSERT_EQ(out[static_cast<std::size_t>(y * size.width + x)], inside ? 9 : 0);
            }
        }
    }
}

TEST(SharpenChain, RunKeepsAUniformPictureUniformAtOddSizes) {
    SharpenChain chain({40, 40});
    for (const FrameSize size : {FrameSize{9, 9}, FrameSize{13, 11}, FrameSize{33, 17}}) {
        Bytes rgb(FrameBytes(size, 3), 160);
        ASSERT_TRUE(chain.Run(size, rgb));
        // The smoothing weights sum to 14 / 16: 160 becomes 140.
        EXPECT_EQ(std::count(rgb.begin(), rgb.end(), 140), static_cast<long>(rgb.size()));
    }
    Bytes small(FrameBytes({8, 8}, 3), 1);
    EXPECT_FALSE(chain.Run({8, 8}, small));
    Bytes large(FrameBytes({41, 40}, 3), 1);
    EXPECT_FALSE(chain.Run({41, 40}, large));
}

TEST(Erasure, PlaneHoldsStepsOfFiveBelowTheMean) {
    const FrameSize size{4, 2};
    Bytes rgb(FrameBytes(size, 3), 100);
    At(rgb, size, 0, 0, 3, 0) = 88;   // blue 12 below the mean (mean 98)
    At(rgb, size, 1, 3, 3, 2) = 200;  // red above its mean
    Bytes blue(8), green(8), red(8);
    ASSERT_TRUE(ComputeErasurePlanes(size, 0, rgb, blue, green, red));
    // Blue mean (88 + 7 x 100) / 8 = 98: 88 gets 10, 100 gets 0.
    EXPECT_EQ(blue[0], 10);
    EXPECT_EQ(blue[1], 0);
    EXPECT_EQ(green, Bytes(8, 0));
    // Red mean 112: 100 gets 10, 200 gets 0.
    EXPECT_EQ(red[0], 10);
    EXPECT_EQ(red[7], 0);
}

TEST(Erasure, AddingNeverWraps) {
    Bytes frame = {250, 0, 255};
    const Bytes plane = {10, 7, 1};
    AddPlaneSaturated(frame, plane);
    EXPECT_EQ(frame, (Bytes{255, 7, 255}));
}

TEST(RawPrefilters, SharpenRawWorksOnOddRowsAwayFromTheEnds) {
    const FrameSize size{7, 3};
    Bytes raw(FrameBytes(size), 100);
    At(raw, size, 1, 2) = 110;
    At(raw, size, 1, 3) = 90;
    SharpenRaw(size, raw);
    // L = 100, R = 100: 110 + (220 - 200) / 2 = 120; 90 + (180 - 200) / 2 = 80.
    EXPECT_EQ(At(raw, size, 1, 2), 120);
    EXPECT_EQ(At(raw, size, 1, 3), 80);
    EXPECT_EQ(At(raw, size, 0, 2), 100);
    EXPECT_EQ(At(raw, size, 1, 0), 100);  // no sample left of the first pair
    EXPECT_EQ(At(raw, size, 1, 6), 100);
}

TEST(RawPrefilters, DefectFilterBoostsTheLeadingChannelAndEqualisesGreens) {
    const FrameSize size{6, 6};
    Bytes raw(FrameBytes(size), 0);
    At(raw, size, 2, 2) = 200;  // red
    At(raw, size, 2, 3) = 100;  // green right
    At(raw, size, 3, 2) = 120;  // green below
    At(raw, size, 3, 3) = 50;   // blue
    FilterDefects(size, raw);
    // G = 110; R >= G >= B: R' = 200 + 200 x 90 x 5 / 1024 = 287 -> 255;
    // G' = 110 + 55 x 60 / 145 = 132.
    EXPECT_EQ(At(raw, size, 2, 2), 255);
    EXPECT_EQ(At(raw, size, 2, 3), 132);
    EXPECT_EQ(At(raw, size, 3, 2), 132);
    EXPECT_EQ(At(raw, size, 3, 3), 50);
}

TEST(RawPrefilters, OtherKindsAndTinyFramesChangeNothing) {
    const FrameSize size{9, 7};
    Bytes raw = test::RandomBytes(FrameBytes(size), 3);
    const Bytes before = raw;
    RunRawPrefilter(3, size, raw);
    RunRawPrefilter(0, size, raw);
    EXPECT_EQ(raw, before);
    Bytes tiny = test::RandomBytes(16, 4);
    const Bytes tinyBefore = tiny;
    FilterDefects({4, 4}, tiny);
    EXPECT_EQ(tiny, tinyBefore);
}

TEST(RawPrefilters, StayInsideOddSizedFrames) {
    for (const FrameSize size : test::OddSizes()) {
        Bytes raw = test::RandomBytes(FrameBytes(size), 9);
        SharpenRaw(size, raw);
        FilterDefects(size, raw);
        MicroscopeBayerFilter3(size, raw);
        MicroscopeChromaClamp3(size, raw);
        MicroscopeBayerFilter1(size, raw);
        MicroscopeChromaClamp1(size, raw);
        MicroscopeChromaClamp2(size, raw);
        MicroscopeChromaClamp4(size, raw);
    }
}

TEST(MicroscopeFilters, BayerFilterThreeOnOneCell) {
    const FrameSize size{2, 6};
    Bytes raw(FrameBytes(size), 0);
    // Cell rows 2, 3: greens (2, 1) and (3, 0), blue centre (3, 1), red (2, 0).
    At(raw, size, 2, 0) = 100;
    At(raw, size, 2, 1) = 60;
    At(raw, size, 3, 0) = 80;
    At(raw, size, 3, 1) = 120;
    MicroscopeBayerFilter3(size, raw);
    // g = 70 < 120: 70 - 50 x 7 / 10 = 35. S' = 120 + 85 / 8 = 130.
    // T' = 100 + 20 x 3 / 16 = 103. S'' = 130 + 27 / 2 = 143.
    EXPECT_EQ(At(raw, size, 2, 1), 35);
    EXPECT_EQ(At(raw, size, 3, 0), 35);
    EXPECT_EQ(At(raw, size, 3, 1), 143);
    EXPECT_EQ(At(raw, size, 2, 0), 103);
}

TEST(MicroscopeFilters, ChromaClampThreeComparesBlueWithTheNextRed) {
    const FrameSize size{4, 2};
    Bytes raw = {0, 0,   16, 0,  //
                 0, 200, 0,  200};
    MicroscopeChromaClamp3(size, raw);
    // (16 x 21) >> 4 = 21 < 200: 200 + (16 - 200) x 9 / 16 = 97.
    EXPECT_EQ(At(raw, size, 1, 1), 97);
    EXPECT_EQ(At(raw, size, 1, 3), 200);  // last cell: no red to its right
}

// Member 2 on frames whose cells are all alike, at every odd size: greens at
// (0, 0) and (1, 1), centre (0, 1), other (1, 0). Each cell of rows 2m, 2m + 1
// with 2m + 1 from 3 to height - 3 and a whole column pair becomes the one
// computed cell; every other sample keeps its value. With the tone curve,
// each of the four ends on the low byte of its entry.
TEST(MicroscopeFilters, BayerFilterTwoOnEveryWholeCellOfOddSizedFrames) {
    const std::array<std::uint8_t, 4> cell{80, 120, 100, 60};  // (0, 0), (0, 1), (1, 0), (1, 1)
    // g = 70 < 120: 70 - 50 x 7 / 10 = 35. S' = 120 + 85 / 8 = 130.
    // T' = 100 + 20 x 3 / 16 = 103. S'' = 130 + 27 / 2 = 143.
    const std::array<std::uint8_t, 4> filtered{35, 143, 103, 35};
    ToneCurve curve{};
    for (std::size_t i = 0; i < curve.size(); ++i) curve[i] = 0x300 + static_cast<std::uint32_t>(255 - i);
    for (const bool toned : {false, true}) {
        for (const FrameSize size : OddSizes()) {
            SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << (toned ? " toned" : ""));
            Bytes raw(FrameBytes(size));
            Bytes want(raw.size());
            for (int y = 0; y < size.height; ++y) {
                for (int x = 0; x < size.width; ++x) {
                    const std::size_t site = static_cast<std::size_t>((y % 2) * 2 + x % 2);
                    const int top = y - y % 2;
                    const bool inside = top >= 2 && top + 1 <= size.height - 3 && (x | 1) < size.width;
                    At(raw, size, y, x) = cell[site];
                    const std::uint8_t out = filtered[site];
                    At(want, size, y, x) = !inside ? cell[site] : toned ? static_cast<std::uint8_t>(255 - out) : out;
                }
            }
            if (toned) {
                MicroscopeBayerFilter2(size, raw, curve);
            } else {
                MicroscopeBayerFilter2(size, raw);
            }
            EXPECT_EQ(raw, want);
        }
    }
}

// Member 2 compares the top-right sample x with the bottom-left a of its
// cell: (a x 21) >> 4 < x pulls x to x + (a - x) x 9 / 16 (22 beside 16 is
// just above the bound, 21 on it). A last odd column or row has no cell.
TEST(MicroscopeFilters, ChromaClampTwoPullsTheTopRightTowardTheBottomLeft) {
    struct Case {
        std::uint8_t x, a, want;
    };
    for (const Case c : {Case{200, 16, 97}, Case{22, 16, 19}, Case{21, 16, 21}, Case{0, 255, 0}}) {
        for (const FrameSize size : OddSizes()) {
            SCOPED_TRACE(testing::Message()
                         << size.width << "x" << size.height << " x " << int{c.x} << " a " << int{c.a});
            const std::array<std::uint8_t, 4> cell{50, c.x, c.a, 70};
            Bytes raw(FrameBytes(size));
            Bytes want(raw.size());
            for (int y = 0; y < size.height; ++y) {
                for (int x = 0; x < size.width; ++x) {
                    const std::size_t site = static_cast<std::size_t>((y % 2) * 2 + x % 2);
                    const bool whole = (y | 1) < size.height && (x | 1) < size.width;
                    At(raw, size, y, x) = cell[site];
                    At(want, size, y, x) = site == 1 && whole ? c.want : cell[site];
                }
            }
            MicroscopeChromaClamp2(size, raw);
            EXPECT_EQ(raw, want);
        }
    }
}

// The members run by number, the clamp first; other numbers change nothing.
TEST(MicroscopeFilters, RunByMemberClampsThenFilters) {
    using Clamp = void (*)(FrameSize, std::span<std::uint8_t>);
    using Filter = void (*)(FrameSize, std::span<std::uint8_t>, std::span<const std::uint32_t>);
    const std::pair<Clamp, Filter> members[] = {{MicroscopeChromaClamp1, MicroscopeBayerFilter1},
                                                {MicroscopeChromaClamp2, MicroscopeBayerFilter2},
                                                {MicroscopeChromaClamp3, MicroscopeBayerFilter3},
                                                {MicroscopeChromaClamp4, MicroscopeBayerFilter4}};
    const FrameSize size{13, 11};
    const Bytes raw = RandomBytes(FrameBytes(size), 21);
    std::vector<Bytes> outputs;
    for (int member = 1; member <= 4; ++member) {
        SCOPED_TRACE(member);
        Bytes want = raw;
        members[member - 1].first(size, want);
        members[member - 1].second(size, want, {});
        Bytes got = raw;
        RunMicroscopeFilters(member, size, got);
        EXPECT_EQ(got, want);
        outputs.push_back(got);
    }
    for (std::size_t i = 1; i < outputs.size(); ++i) EXPECT_NE(outputs[i], outputs[i - 1]);
    for (const int member : {0, 5, -1}) {
        Bytes got = raw;
        RunMicroscopeFilters(member, size, got);
        EXPECT_EQ(got, raw);
    }
}

TEST(FrameOrientation, QuarterTurnsOfAnAsymmetricFrame) {
    // 4 wide, 3 high, every value distinct.
    const FrameSize size{4, 3};
    const Bytes raw = {1, 2,  3,  4,  //
                       5, 6,  7,  8,  //
                       9, 10, 11, 12};
    FrameSize turned = size;
    Bytes out(12);
    ASSERT_TRUE(FlipFrame(4, turned, out, raw));
    EXPECT_EQ(turned, (FrameSize{3, 4}));
    // Row j, column i from input row 2 - i, column j; then column 0 := column 2.
    EXPECT_EQ(out, (Bytes{1, 5, 1, 2, 6, 2, 3, 7, 3, 4, 8, 4}));
    turned = size;
    ASSERT_TRUE(FlipFrame(5, turned, out, raw));
    EXPECT_EQ(turned, (FrameSize{3, 4}));
    // Row 3 - j, column i from input row i, column j; then row 3 := row 1.
    EXPECT_EQ(out, (Bytes{4, 8, 12, 3, 7, 11, 2, 6, 10, 3, 7, 11}));
    turned = size;
    EXPECT_FALSE(FlipFrame(0, turned, out, raw));
    EXPECT_EQ(turned, size);
}

TEST(FrameOrientation, QuarterTurnMendsTheLastColumnForSensorsReadTheOtherWay) {
    const FrameSize size{4, 3};
    const Bytes raw = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    FrameSize turned = size;
    Bytes out(12);
    ASSERT_TRUE(FlipFrame(4, turned, out, raw, TurnRepair::lastColumn));
    // Column 2 := column 0, the turned picture's first column kept.
    EXPECT_EQ(out, (Bytes{9, 5, 9, 10, 6, 10, 11, 7, 11, 12, 8, 12}));
    turned = size;
    ASSERT_TRUE(FlipFrame(5, turned, out, raw, TurnRepair::lastColumn));
    EXPECT_EQ(out, (Bytes{4, 8, 12, 3, 7, 11, 2, 6, 10, 3, 7, 11}));  // mode 5 as before
}

TEST(FrameOrientation, QuarterTurnAtWidthsNotDivisibleByEight) {
    const FrameSize size{972, 6};
    const Bytes raw = test::RandomBytes(FrameBytes(size), 11);
    FrameSize turned = size;
    Bytes out(raw.size());
    ASSERT_TRUE(FlipFrame(5, turned, out, raw));
    EXPECT_EQ(turned, (FrameSize{6, 972}));
    EXPECT_EQ(out[0], raw[971]);  // output row 0 is input column 971
    EXPECT_EQ(out[6 * 500 + 2], raw[2 * 972 + 471]);
}

TEST(FrameOrientation, QuarterTurnsByWholeTilesAndTheirRemainders) {
    // Sizes with and without whole 16 x 16 tiles and remainders each way.
    for (const FrameSize size : {FrameSize{16, 16}, FrameSize{48, 32}, FrameSize{37, 50}, FrameSize{33, 17},
                                 FrameSize{15, 40}, FrameSize{70, 3}}) {
        const Bytes raw = test::RandomBytes(FrameBytes(size), size.width + size.height);
        const int w = size.width;
        const int h = size.height;
        for (int mode : {4, 5}) {
            FrameSize turned = size;
            Bytes out(raw.size(), 0);
            ASSERT_TRUE(FlipFrame(mode, turned, out, raw, TurnRepair::lastColumn));
            ASSERT_EQ(turned, (FrameSize{h, w}));
            for (int j = 0; j < w; ++j) {
                for (int i = 0; i < h; ++i) {
                    // The mended column (mode 4) and row (mode 5) repeat others.
                    const int row = mode == 4 ? j : w - 1 - j;
                    const int column = mode == 4 && i == h - 1 ? h - 3 : i;
                    const int from = mode == 5 && row == w - 1 ? 2 : j;  // row w - 1 repeats row w - 3
                    const int sourceRow = mode == 4 ? h - 1 - column : column;
                    ASSERT_EQ(out[static_cast<std::size_t>(row) * h + i], raw[sourceRow * w + from])
                        << size.width << "x" << size.height << " mode " << mode << " at " << j << "," << i;
                }
            }
        }
    }
}

TEST(FrameOrientation, GreyOrientationMatchesTheBayerFlips) {
    const FrameSize size{3, 2};
    const Bytes in = {1, 2, 3, 4, 5, 6};
    const std::vector<Bytes> want = {{4, 5, 6, 1, 2, 3}, {6, 5, 4, 3, 2, 1}, {1, 2, 3, 4, 5, 6}, {3, 2, 1, 6, 5, 4}};
    for (int flip = 0; flip < 4; ++flip) {
        Bytes out(6);
        ASSERT_TRUE(OrientGrayFrame(flip, size, out, in));
        EXPECT_EQ(out, want[static_cast<std::size_t>(flip)]) << flip;
    }
}

TEST(FrameOrientation, TwoByTwoAverageWithRepeatedBorders) {
    const FrameSize size{3, 3};
    const Bytes in = {0, 4,  8,   //
                      4, 8,  12,  //
                      8, 12, 16};
    Bytes out(9 * 3);
    ASSERT_TRUE(Average2x2(size, 3, out, in));
    // Row 1: (4 + 8 + 8 + 12) / 4 = 8, (8 + 12 + 12 + 16) / 4 = 12, repeated.
    const Bytes row = {8, 8, 8, 12, 12, 12, 12, 12, 12};
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 9), row);
    EXPECT_EQ(Bytes(out.begin() + 9, out.begin() + 18), row);
    EXPECT_EQ(Bytes(out.begin() + 18, out.end()), row);
}

}  // namespace
}  // namespace kqcmos
