#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "picture.h"
#include "picture_helpers.h"

namespace {

using Grey = std::vector<std::uint8_t>;
using Rgb = std::vector<std::uint32_t>;

const Grey kRamp = {10, 20, 30, 40, 50, 60, 70, 80, 90};

struct FilterCase {
    const char* name;
    std::array<std::int32_t, 9> kernel;
    int divisor;
    int offset;
    Grey expected;
};

TEST(PictureOps, FilterAgainstGoldenGrey) {
    const FilterCase cases[] = {
        {"box", {1, 1, 1, 1, 1, 1, 1, 1, 1}, 9, 0, {23, 30, 36, 43, 50, 56, 63, 70, 76}},
        {"gauss", {1, 2, 1, 2, 4, 2, 1, 2, 1}, 16, 0, {20, 27, 35, 42, 50, 57, 65, 72, 80}},
        {"sharpen", {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1, 0, {0, 0, 10, 30, 50, 70, 90, 110, 130}},
        {"identity, divisor 0 taken as 1", {0, 0, 0, 0, 1, 0, 0, 0, 0}, 0, 5, {15, 25, 35, 45, 55, 65, 75, 85, 95}},
    };
    for (const FilterCase& c : cases) {
        CPicture p = MakeGrey(3, 3, kRamp);
        ASSERT_TRUE(p.Filter(c.kernel, 3, c.divisor, c.offset)) << c.name;
        EXPECT_EQ(GreyValues(p), c.expected) << c.name;
    }
    CPicture p = MakeGrey(3, 3, kRamp);
    const std::array<std::int32_t, 9> k{};
    EXPECT_FALSE(p.Filter(k, 5, 1, 0));
    EXPECT_FALSE(p.Filter(std::span(k).first(4), 3, 1, 0));
    EXPECT_EQ(GreyValues(p), kRamp);
}

TEST(PictureOps, EmbossIsTheDiagonalSlope) {
    CPicture p = MakeGrey(3, 3, kRamp);
    ASSERT_TRUE(p.fudiao());
    EXPECT_EQ(GreyValues(p), (Grey{168, 178, 168, 198, 208, 198, 168, 178, 168}));
    // Colour pictures are embossed per channel.
    CPicture c = MakeColour(2, 1, {0x102030, 0x405060});
    ASSERT_TRUE(c.fudiao());
    EXPECT_EQ(Colours(c), (Rgb{0xB0B0B0, 0xB0B0B0}));
}

TEST(PictureOps, PointOperations) {
    CPicture light = MakeGrey(3, 1, {10, 90, 250});
    ASSERT_TRUE(light.Light(20, 0));
    EXPECT_EQ(GreyValues(light), (Grey{30, 110, 255}));
    CPicture contrast = MakeGrey(3, 1, {10, 90, 200});
    ASSERT_TRUE(contrast.Light(0, 100));
    EXPECT_EQ(GreyValues(contrast), (Grey{0, 52, 255}));
    EXPECT_TRUE(contrast.IsGreyPalette());

    CPicture negative = MakeColour(2, 1, {0x000000, 0x10FF80});
    ASSERT_TRUE(negative.Negative());
    EXPECT_EQ(Colours(negative), (Rgb{0xFFFFFF, 0xEF007F}));

    CPicture shifted = MakeColour(1, 1, {0x808080});
    ASSERT_TRUE(shifted.ShiftRGB(10, -10, 300));
    EXPECT_EQ(Colours(shifted), (Rgb{0x8A76FF}));
}

TEST(PictureOps, ColourPaletteIsRecolouredNotReindexed) {
    CPicture p = MakeGrey(2, 1, {0, 1});
    const std::vector<PaletteEntry> palette = {{0, 0, 200, 0}, {100, 0, 0, 0}};
    p.SetPalette(palette);
    ASSERT_TRUE(p.Negative());
    EXPECT_EQ(Colours(p), (Rgb{0x37FFFF, 0xFFFF9B}));
    EXPECT_EQ(GreyValues(p), (Grey{0, 1}));
    // A grey picture shifted unevenly gains colour through its palette.
    CPicture grey = MakeGrey(1, 1, {100});
    ASSERT_TRUE(grey.ShiftRGB(10, 0, 0));
    EXPECT_EQ(Colours(grey), (Rgb{0x6E6464}));
}

TEST(PictureOps, NeighbourhoodOperationOnColourPaletteKeepsColours) {
    CPicture p = MakeGrey(2, 1, {0, 1});
    const std::vector<PaletteEntry> palette = {{0, 0, 200, 0}, {100, 0, 0, 0}};
    p.SetPalette(palette);
    const std::array<std::int32_t, 9> identity = {0, 0, 0, 0, 1, 0, 0, 0, 0};
    ASSERT_TRUE(p.Filter(identity, 3, 1, 0));
    EXPECT_EQ(p.GetBpp(), 24);
    EXPECT_EQ(Colours(p), (Rgb{0xC80000, 0x000064}));
}

TEST(PictureOps, Colorize) {
    CPicture full = MakeColour(1, 1, {0x808080});
    ASSERT_TRUE(full.Colorize(0, 255, 1.0f));
    EXPECT_EQ(Colours(full), (Rgb{0xFF0101}));
    CPicture none = MakeColour(1, 1, {0x336699});
    ASSERT_TRUE(none.Colorize(0, 255, 0.0f));
    EXPECT_EQ(Colours(none), (Rgb{0x336699}));
    CPicture grey = MakeGrey(1, 1, {128});
    ASSERT_TRUE(grey.Colorize(0, 255, 1.0f));
    EXPECT_EQ(Colours(grey), (Rgb{0xFF0101}));
    EXPECT_FALSE(grey.Colorize(0, 255, std::numeric_limits<float>::quiet_NaN()));
}

TEST(PictureOps, UnsharpMaskSteepensEdgesOnly) {
    const Grey step = {0, 0, 0, 100, 100, 100, 0, 0, 0, 100, 100, 100};
    CPicture p = MakeGrey(6, 2, step);
    ASSERT_TRUE(p.UnsharpMask(1.0f, 1.0f, 0));
    const Grey out = GreyValues(p);
    EXPECT_EQ(out[0], 0);  // far from the edge: unchanged
    EXPECT_EQ(out[5], 100);
    EXPECT_EQ(out[2], 0);    // dark side clamps at 0
    EXPECT_GT(out[3], 100);  // bright side overshoots
    CPicture flat = MakeGrey(6, 2, step);
    ASSERT_TRUE(flat.UnsharpMask(1.0f, 1.0f, 255));
    EXPECT_EQ(GreyValues(flat), step);
    EXPECT_TRUE(flat.UnsharpMask(0.0f, 1.0f, 0));
    EXPECT_EQ(GreyValues(flat), step);
}

// A 3 x 2 picture: A B C over D E F.
constexpr std::uint32_t A = 0x0000A1, B = 0x0000B2, C = 0x0000C3, D = 0x0000D4, E = 0x0000E5, F = 0x0000F6;

TEST(PictureOps, MirrorFlipRotate) {
    CPicture mirror = MakeColour(3, 2, {A, B, C, D, E, F});
    ASSERT_TRUE(mirror.Mirror());
    EXPECT_EQ(Colours(mirror), (Rgb{C, B, A, F, E, D}));
    CPicture flip = MakeColour(3, 2, {A, B, C, D, E, F});
    ASSERT_TRUE(flip.Flip());
    EXPECT_EQ(Colours(flip), (Rgb{D, E, F, A, B, C}));

    const CPicture source = MakeColour(3, 2, {A, B, C, D, E, F});
    CPicture right;
    ASSERT_TRUE(source.RotateRight(right));
    EXPECT_EQ(right.GetWidth(), 2);
    EXPECT_EQ(right.GetHeight(), 3);
    EXPECT_EQ(Colours(right), (Rgb{D, A, E, B, F, C}));
    CPicture left;
    ASSERT_TRUE(source.RotateLeft(left));
    EXPECT_EQ(Colours(left), (Rgb{C, F, B, E, A, D}));
    CPicture half;
    ASSERT_TRUE(source.Rotate180(half));
    EXPECT_EQ(Colours(half), (Rgb{F, E, D, C, B, A}));
    // Rotating into itself is allowed.
    CPicture self = MakeGrey(3, 2, {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(self.RotateRight(self));
    EXPECT_EQ(GreyValues(self), (Grey{4, 1, 5, 2, 6, 3}));
    EXPECT_EQ(self.GetStride(), 4u);
}

TEST(PictureOps, CropClipsToThePicture) {
    const CPicture source = MakeColour(3, 2, {A, B, C, D, E, F});
    CPicture region;
    ASSERT_TRUE(source.Crop(1, 0, 3, 2, region));
    EXPECT_EQ(Colours(region), (Rgb{B, C, E, F}));
    ASSERT_TRUE(source.Crop(-5, 1, 2, 9, region));
    EXPECT_EQ(Colours(region), (Rgb{D, E}));
    EXPECT_FALSE(source.Crop(2, 0, 2, 2, region));
    EXPECT_FALSE(source.Crop(3, 0, 5, 2, region));
}

TEST(PictureOps, EmptyPictureRefusesEverything) {
    CPicture empty;
    CPicture dest;
    const std::array<std::int32_t, 9> k{};
    EXPECT_FALSE(empty.Filter(k, 3, 1, 0));
    EXPECT_FALSE(empty.Mirror());
    EXPECT_FALSE(empty.Flip());
    EXPECT_FALSE(empty.Negative());
    EXPECT_FALSE(empty.fudiao());
    EXPECT_FALSE(empty.Light(1, 1));
    EXPECT_FALSE(empty.RotateLeft(dest));
    EXPECT_FALSE(empty.Crop(0, 0, 1, 1, dest));
}

}  // namespace
