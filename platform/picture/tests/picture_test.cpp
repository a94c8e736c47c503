#include <gtest/gtest.h>

#include "picture.h"
#include "picture_helpers.h"

namespace {

TEST(Picture, RowsArePaddedBottomUp) {
    struct Case {
        int width, height, bpp;
        std::size_t stride;
    };
    for (const Case c :
         {Case{3, 2, 24, 12}, Case{1, 1, 24, 4}, Case{4, 3, 24, 12}, Case{3, 2, 8, 4}, Case{5, 1, 8, 8}}) {
        CPicture p(c.width, c.height, c.bpp, kPictureBmp);
        ASSERT_TRUE(p.IsValid());
        EXPECT_EQ(p.GetStride(), c.stride) << c.width << "x" << c.bpp;
        EXPECT_EQ(p.GetSize(), c.stride * static_cast<std::size_t>(c.height));
        if (c.height > 1) {
            EXPECT_EQ(p.GetBits(1) - p.GetBits(0), static_cast<std::ptrdiff_t>(c.stride));
        }
    }
    // Row 0 of the buffer is the bottom row of the picture.
    const CPicture p = MakeColour(3, 2, {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112});
    EXPECT_EQ(p.GetBits(0)[0], 0x0C);
    EXPECT_EQ(p.GetBits(0)[2], 0x0A);
    EXPECT_EQ(p.GetBits(1)[0], 0x03);
    EXPECT_EQ(p.GetBits(2), nullptr);
    EXPECT_EQ(p.GetBits(-1), nullptr);
}

TEST(Picture, BadSizesAndDepthsLeaveItEmpty) {
    struct Case {
        int width, height, bpp;
    };
    for (const Case c : {Case{0, 1, 24}, Case{1, 0, 8}, Case{-3, 2, 24}, Case{4, 4, 16}, Case{4, 4, 32},
                         Case{1 << 17, 1, 8}, Case{8192, 8192, 24}}) {
        CPicture p(c.width, c.height, c.bpp, kPictureBmp);
        EXPECT_FALSE(p.IsValid()) << c.width << "x" << c.height << "x" << c.bpp;
        EXPECT_EQ(p.GetSize(), 0u);
        EXPECT_EQ(p.GetWidth(), 0);
    }
}

TEST(Picture, EightBitStartsWithGreyPalette) {
    CPicture p(2, 2, 8, kPictureBmp);
    ASSERT_EQ(p.GetPalette().size(), 256u);
    EXPECT_TRUE(p.IsGreyPalette());
    p.GetBits(1)[0] = 77;
    EXPECT_EQ(p.GetPixelColor(0, 0), 0x4D4D4Du);
    std::vector<PaletteEntry> red(1, PaletteEntry{0, 0, 255, 0});
    p.SetPalette(red);
    EXPECT_FALSE(p.IsGreyPalette());
    EXPECT_EQ(p.GetPixelColor(1, 0), 0xFF0000u);
}

TEST(Picture, CreateFromArrayHonoursOrderAndStride) {
    // Two rows of 2 BGR pixels with 2 bytes of junk after each row.
    const std::vector<std::uint8_t> rows = {1, 2, 3, 4, 5, 6, 99, 99, 7, 8, 9, 10, 11, 12, 99, 99};
    CPicture topDown;
    ASSERT_TRUE(topDown.CreateFromArray(rows, 2, 2, 24, 8, true));
    EXPECT_EQ(Colours(topDown), (std::vector<std::uint32_t>{0x030201, 0x060504, 0x090807, 0x0C0B0A}));
    CPicture bottomUp;
    ASSERT_TRUE(bottomUp.CreateFromArray(rows, 2, 2, 24, 8, false));
    EXPECT_EQ(Colours(bottomUp), (std::vector<std::uint32_t>{0x090807, 0x0C0B0A, 0x030201, 0x060504}));
    CPicture tooShort;
    EXPECT_FALSE(tooShort.CreateFromArray(std::span(rows).first(13), 2, 2, 24, 8, true));
    EXPECT_FALSE(tooShort.IsValid());
}

TEST(Picture, CopyAndDestroy) {
    const CPicture source = MakeColour(2, 1, {0x112233, 0x445566});
    CPicture copy(source, true, true, true);
    EXPECT_EQ(Colours(copy), Colours(source));
    CPicture blank(source, false, true, true);
    EXPECT_EQ(Colours(blank), (std::vector<std::uint32_t>{0, 0}));
    copy.Destroy();
    EXPECT_FALSE(copy.IsValid());
    EXPECT_EQ(copy.GetSize(), 0u);
    EXPECT_EQ(copy.GetPixelColor(0, 0), 0u);
}

}  // namespace
