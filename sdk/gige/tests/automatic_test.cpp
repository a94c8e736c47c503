// Pieces of the software auto exposure: the mark, the measured peak, the
// target windows and the next exposure.

#include <gtest/gtest.h>

#include "auto_exposure.h"
#include "frames.h"

namespace kqge {
namespace {

using test::Bytes;

TEST(AeMark, BlinksInsideTheFrameAndIsSkippedOnSmallFrames) {
    const FrameSize size{120, 100};
    Bytes raw(120 * 100, 10);
    DrawAeMark(size, 1, 4, raw);
    auto at = [&](int r, int c) { return raw[static_cast<std::size_t>(r * 120 + c)]; };
    EXPECT_EQ(at(50, 20), 110);
    EXPECT_EQ(at(99, 69), 110);
    EXPECT_EQ(at(49, 20), 10);
    EXPECT_EQ(at(50, 19), 10);
    EXPECT_EQ(at(50, 70), 10);
    EXPECT_EQ(at(100 - 1, 70), 10);
    DrawAeMark(size, 1, 3, raw);
    EXPECT_EQ(at(60, 40), static_cast<std::uint8_t>(110 + 200));

    for (FrameSize small : {FrameSize{99, 100}, FrameSize{100, 99}, FrameSize{3, 5}}) {
        Bytes frame(static_cast<std::size_t>(small.width) * small.height, 10);
        DrawAeMark(small, 1, 4, frame);
        EXPECT_EQ(frame, Bytes(frame.size(), 10)) << small.width << " x " << small.height;
    }
}

TEST(AeMark, SixteenBitSamplesGetTheirOwnStep) {
    const FrameSize size{100, 100};
    Bytes raw(100 * 100 * 2, 0);
    DrawAeMark(size, 2, 1, raw);
    EXPECT_EQ(test::Sample16(raw, 50 * 100 + 0), 2048);
    EXPECT_EQ(test::Sample16(raw, 49 * 100 + 0), 0);
    DrawAeMark(size, 2, 2, raw);
    EXPECT_EQ(test::Sample16(raw, 99 * 100 + 49), 3072);
}

// A frame whose blue, red and green sites of phase 3 hold 30, 90 and 60.
Bytes Sites(FrameSize size, int blue, int red, int green) {
    Bytes raw(static_cast<std::size_t>(size.width) * size.height);
    for (int r = 0; r < size.height; ++r)
        for (int c = 0; c < size.width; ++c)
            raw[static_cast<std::size_t>(r * size.width + c)] =
                static_cast<std::uint8_t>((r % 2 == 1 && c % 2 == 1)   ? blue
                                          : (r % 2 == 0 && c % 2 == 0) ? red
                                                                       : green);
    return raw;
}

TEST(AePeak, LargestSiteMeanOverCellsPlusOne) {
    // 8 x 8: 16 cells, n = 17. Phase 3: A (1,1) blue, B (0,0) red, C (1,0) green.
    const Bytes raw = Sites({8, 8}, 30, 170, 60);
    EXPECT_EQ(AePeak({8, 8}, 3, 1, raw), 16 * 170 / 17);
    // Phase 1 reads A at (0,0) and B at (1,1): the same sums, C at (1,0) green.
    EXPECT_EQ(AePeak({8, 8}, 1, 1, raw), 16 * 170 / 17);
    // Phase 2: C (0,0) is this frame's red site, B (1,0) a green.
    const Bytes greenPeak = Sites({8, 8}, 30, 60, 170);
    EXPECT_EQ(AePeak({8, 8}, 2, 1, greenPeak), 16 * 170 / 17);
    EXPECT_EQ(AePeak({8, 8}, 4, 1, Bytes(64, 0)), 0);
}

TEST(AePeak, MeasuresTheCentredWindowOfLargeFrames) {
    const FrameSize size{700, 500};
    Bytes raw(700 * 500, 250);
    // Inside the centred 640 x 480 window (columns 30..669, rows 10..489): 100.
    for (int r = 10; r < 490; ++r)
        for (int c = 30; c < 670; ++c) raw[static_cast<std::size_t>(r * 700 + c)] = 100;
    EXPECT_EQ(AePeak(size, 3, 1, raw), 320 * 240 * 100 / (320 * 240 + 1));
}

TEST(AePeak, SixteenBitSamplesAreDividedBySixteen) {
    Bytes raw;
    for (int i = 0; i < 16; ++i) raw.insert(raw.end(), {0x00, 0x10});  // 4096
    EXPECT_EQ(AePeak({4, 4}, 3, 2, raw), 4 * 256 / 5);
}

TEST(AeWindow, BySelector) {
    EXPECT_EQ(AeTargetWindow(0).low, 230);
    EXPECT_EQ(AeTargetWindow(0).high, 245);
    EXPECT_EQ(AeTargetWindow(2).low, 85);
    EXPECT_EQ(AeTargetWindow(2).high, 125);
    for (int other : {1, 3, -1}) {
        EXPECT_EQ(AeTargetWindow(other).low, 140);
        EXPECT_EQ(AeTargetWindow(other).high, 180);
    }
    EXPECT_TRUE(AeTargetWindow(1).Contains(160));
    EXPECT_TRUE(AeTargetWindow(1).Contains(180));
    EXPECT_FALSE(AeTargetWindow(1).Contains(181));
}

TEST(NextAeExposure, LastEvenDivisionElseTheMiddleElseDouble) {
    struct Case {
        std::int32_t current;
        int peak;
        int selector;
        std::int32_t expected;
    };
    const Case cases[] = {
        {100, 99, 1, 179},             // every t divides: the last, 179
        {7, 60, 1, 7 * 160 / 61},      // none divides 61: the middle, 160
        {122, 60, 1, 122 * 179 / 61},  // 122 = 2 x 61: every t divides
        {1, 250, 1, 2},                // 160 / 251 = 0: doubled
        {30, 9, 2, 30 * 124 / 10},     // window 85..125: t = 124 is the last
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextAeExposure(c.current, c.peak, AeTargetWindow(c.selector)), c.expected)
            << c.current << " at peak " << c.peak;
    }
    EXPECT_EQ(NextAeExposure(2'000'000'000, 0, AeTargetWindow(0)), 2'147'483'647);
}

}  // namespace
}  // namespace kqge
