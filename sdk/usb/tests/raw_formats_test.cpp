// The 16-bit cameras' raw formats: RGB 5-6-5 and 16-bit samples, checked
// against the bit layout pixel by pixel, at sizes with a tail.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "models/raw_formats.h"

namespace kq::raw {
namespace {

TEST(RawFormats, Rgb565FollowsTheBitLayout) {
    struct Case {
        std::uint8_t b0, b1;
        std::uint8_t blue, green, red;
    };
    const Case cases[] = {
        {0xFF, 0xFF, 248, 252, 248}, {0x00, 0x00, 0, 0, 0}, {0x1F, 0x00, 248, 0, 0},  // blue only
        {0x00, 0xF8, 0, 0, 248},                                                      // red only
        {0xE0, 0x07, 0, 252, 0},  // green only: bits 2-0 in byte 0, 5-3 in byte 1
        {0x20, 0x00, 0, 4, 0},    // lowest green bit
        {0x00, 0x01, 0, 32, 0},   // green bit 3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.b0} << "," << int{c.b1});
        const std::vector<std::uint8_t> in{c.b0, c.b1};
        std::vector<std::uint8_t> out(3, 0x55);
        ASSERT_TRUE(Rgb565ToBgr(in, out));
        EXPECT_EQ(out, (std::vector<std::uint8_t>{c.blue, c.green, c.red}));
    }
}

TEST(RawFormats, Rgb565ConvertsEveryPixelOfAnOddCountAndRefusesBadSizes) {
    for (const std::size_t count : {1u, 5u, 7u, 31u, 32u, 33u, 64u, 97u}) {
        SCOPED_TRACE(count);
        std::vector<std::uint8_t> in(2 * count);
        for (std::size_t i = 0; i < in.size(); ++i) in[i] = static_cast<std::uint8_t>(i * 37 + 11);
        std::vector<std::uint8_t> out(3 * count, 0);
        ASSERT_TRUE(Rgb565ToBgr(in, out));
        for (std::size_t p = 0; p < count; ++p) {
            const unsigned v = in[2 * p] | (in[2 * p + 1] << 8);
            EXPECT_EQ(out[3 * p], static_cast<std::uint8_t>((v & 0x1F) << 3)) << p;
            EXPECT_EQ(out[3 * p + 1], static_cast<std::uint8_t>(((v >> 5) & 0x3F) << 2)) << p;
            EXPECT_EQ(out[3 * p + 2], static_cast<std::uint8_t>(((v >> 11) & 0x1F) << 3)) << p;
        }
    }
    std::vector<std::uint8_t> out(3);
    EXPECT_FALSE(Rgb565ToBgr(std::vector<std::uint8_t>(3), out));
    EXPECT_FALSE(Rgb565ToBgr(std::vector<std::uint8_t>(4), out));
}

TEST(RawFormats, SamplesKeepTheirChosenByteUpToTheLastOne) {
    for (const std::size_t count : {1u, 3u, 4u, 5u, 7u, 31u, 32u, 33u, 64u, 65u, 100u}) {
        SCOPED_TRACE(count);
        std::vector<std::uint8_t> high(2 * count), low;
        for (std::size_t k = 0; k < count; ++k) {
            high[2 * k] = static_cast<std::uint8_t>(0x34 + k);      // low byte
            high[2 * k + 1] = static_cast<std::uint8_t>(0x12 + k);  // high byte
        }
        low = high;
        EXPECT_EQ(ReduceSamplesInPlace(high, SampleByte::high), count);
        EXPECT_EQ(ReduceSamplesInPlace(low, SampleByte::low), count);
        for (std::size_t k = 0; k < count; ++k) {
            EXPECT_EQ(high[k], 0x12 + k) << k;
            EXPECT_EQ(low[k], 0x34 + k) << k;
        }
    }
}

}  // namespace
}  // namespace kq::raw
