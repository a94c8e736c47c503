#include <gtest/gtest.h>

#include "contrast_kernels.h"
#include "test_frames.h"

namespace kqcmos {
namespace {

using test::At;
using test::Bytes;

// A frame whose every cell is a = d = green, b = blue, c = red.
Bytes Cells(FrameSize size, int green, int blue, int red) {
    Bytes raw(FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            At(raw, size, y, x) = static_cast<std::uint8_t>(x % 2 == y % 2 ? green : y % 2 == 0 ? blue : red);
        }
    }
    return raw;
}

TEST(ContrastKernels, SixteenIsTheIdentityAnd29Counts30) {
    for (int x = 0; x < 256; ++x) ASSERT_EQ(ContrastMap(x, 16), x);
    struct Case {
        int x, contrast, mapped;
    };
    const Case cases[] = {
        {100, 32, 72}, {200, 32, 255}, {10, 32, 0},   {100, 8, 114},
        {100, 29, 75}, {100, 30, 75},  {100, 28, 79}, {0, 1, 120},
    };
    for (const Case& c : cases) EXPECT_EQ(ContrastMap(c.x, c.contrast), c.mapped) << c.x << " at " << c.contrast;
}

TEST(ContrastKernels, TheInPlaceStageReshapesEachWholeRunOfCells) {
    // 10 x 6: row pairs 0 and 1 go through the stage, columns 0..7 of them.
    const FrameSize size{10, 6};
    Bytes raw = Cells(size, 100, 60, 140);
    Bytes rgb(FrameBytes(size, 3));
    ASSERT_TRUE(BayerToRgbContrast(size, rgb, raw, 16));
    // G = 100, k = (100 - 140) >> 1 = -20: red 140 + 20, blue 120 - 100 + 5.
    auto pixel = [&](int y, int x) {
        const std::size_t at = 3 * ((static_cast<std::size_t>(size.height - 1 - y)) * size.width + x);
        return std::array<int, 3>{rgb[at], rgb[at + 1], rgb[at + 2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::array<int, 3>{25, 100, 160}));
    EXPECT_EQ(pixel(3, 7), (std::array<int, 3>{25, 100, 160}));
    EXPECT_EQ(pixel(1, 8), (std::array<int, 3>{60, 100, 140})) << "past the last run of eight";
    EXPECT_EQ(pixel(5, 3), (std::array<int, 3>{60, 100, 140})) << "the last row pair";
}

TEST(ContrastKernels, EachPhaseReadsItsOwnCorners) {
    const FrameSize size{4, 2};  // no row pair goes through the stage
    Bytes raw = {1, 2, 11, 12, 3, 4, 13, 14};
    struct Case {
        ContrastPhase phase;
        std::array<int, 3> firstCell;  // blue, green, red
    };
    const Case cases[] = {
        {ContrastPhase::flip0, {2, (1 + 4) >> 1, 3}},
        {ContrastPhase::flip1, {1, (2 + 3) >> 1, 4}},
        {ContrastPhase::flip2, {4, (2 + 3) >> 1, 1}},
    };
    for (const Case& c : cases) {
        Bytes copy = raw;
        Bytes rgb(FrameBytes(size, 3));
        ASSERT_TRUE(BayerToRgbContrast(size, rgb, copy, 16, c.phase));
        // Raw row 0 is the last output row; both rows of a cell agree.
        for (int outRow = 0; outRow < 2; ++outRow) {
            const std::size_t at = 3 * static_cast<std::size_t>(outRow * size.width + 1);
            EXPECT_EQ((std::array<int, 3>{rgb[at], rgb[at + 1], rgb[at + 2]}), c.firstCell);
        }
    }
}

// Grey of one cell as the kernels compute it, for a reference.
int CellGrey(int green1, int green2, int blue, int red, int contrast) {
    return (306 * ContrastMap(red, contrast) + 601 * ContrastMap((green1 + green2) >> 1, contrast) +
            117 * ContrastMap(blue, contrast)) >>
           10;
}

TEST(ContrastKernels, GreyKernelsMatchTheCellGreyInEveryOrientationAtOddSizes) {
    for (const FrameSize size : test::OddSizes()) {
        if (size.width < 2 || size.height < 2) continue;
        const Bytes raw = test::RandomBytes(FrameBytes(size), static_cast<std::uint32_t>(size.width * 7 + size.height));
        for (int flip = 0; flip < 4; ++flip) {
            SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " flip " << flip);
            Bytes expected(FrameBytes(size));
            for (int y = 0; y < size.height; ++y) {
                // The last raw row repeats the one before it.
                const int from = y == size.height - 1 ? y - 1 : y;
                const int cy = std::min(from & ~1, size.height - 2);
                const int outY = flip >= 2 ? y : size.height - 1 - y;
                for (int x = 0; x < size.width; ++x) {
                    const int cx = std::min(x & ~1, size.width - 2);
                    const int outX = flip % 2 == 1 ? size.width - 1 - x : x;
                    const auto s = [&](int dy, int dx) { return raw[(cy + dy) * size.width + cx + dx]; };
                    expected[outY * size.width + outX] =
                        static_cast<std::uint8_t>(CellGrey(s(0, 0), s(1, 1), s(0, 1), s(1, 0), 24));
                }
            }
            Bytes grey(FrameBytes(size) + 4, 0xA5);
            ASSERT_TRUE(BayerToGrayContrast8(size, grey, raw, 24, flip));
            EXPECT_EQ(Bytes(grey.begin(), grey.end() - 4), expected);
            EXPECT_EQ(Bytes(grey.end() - 4, grey.end()), Bytes(4, 0xA5));
            Bytes rgb(FrameBytes(size, 3) + 4, 0xA5);
            ASSERT_TRUE(BayerToGrayContrast24(size, rgb, raw, 24, flip));
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(Bytes(rgb.begin() + 3 * i, rgb.begin() + 3 * i + 3), Bytes(3, expected[i])) << i;
            }
            EXPECT_EQ(Bytes(rgb.end() - 4, rgb.end()), Bytes(4, 0xA5));
        }
    }
}

TEST(ContrastKernels, ColourKernelsStayInsideExactBuffersAtOddSizes) {
    for (const FrameSize size : test::OddSizes()) {
        if (size.width < 2 || size.height < 2) continue;
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
        for (const ContrastPhase phase : {ContrastPhase::flip0, ContrastPhase::flip1, ContrastPhase::flip2}) {
            // A uniform frame at the identity stays uniform through the stage.
            Bytes raw(FrameBytes(size), 77);
            Bytes rgb(FrameBytes(size, 3) + 4, 0xA5);
            ASSERT_TRUE(BayerToRgbContrast(size, rgb, std::span(raw), 16, phase));
            EXPECT_EQ(Bytes(rgb.begin(), rgb.end() - 4), Bytes(FrameBytes(size, 3), 77));
            EXPECT_EQ(Bytes(rgb.end() - 4, rgb.end()), Bytes(4, 0xA5));
        }
    }
    Bytes tiny(1), out(3);
    EXPECT_FALSE(BayerToRgbContrast({1, 1}, out, tiny, 16));
    EXPECT_FALSE(BayerToGrayContrast8({1, 1}, out, tiny, 16));
}

}  // namespace
}  // namespace kqcmos
