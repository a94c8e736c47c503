#include <gtest/gtest.h>

#include <algorithm>
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

// Every grey level, the corners of the colour cube and random colours.
Rgb ColourSample() {
    Rgb colours;
    for (std::uint32_t v = 0; v < 256; ++v) colours.push_back(v * 0x010101u);
    for (std::uint32_t corner = 0; corner < 8; ++corner) {
        colours.push_back((corner & 1 ? 0xFF0000u : 0) | (corner & 2 ? 0x00FF00u : 0) | (corner & 4 ? 0x0000FFu : 0));
    }
    std::uint32_t state = 99;
    for (int i = 0; i < 3000; ++i) {
        state = state * 1664525u + 1013904223u;
        colours.push_back(state >> 8);
    }
    return colours;
}

CPicture ColourRow(const Rgb& colours) { return MakeColour(static_cast<int>(colours.size()), 1, colours); }

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

TEST(PictureOps, ColorizeByShiftsLeavesTheSourceAloneAtZero) {
    const Rgb colours = ColourSample();
    const CPicture source = ColourRow(colours);
    CPicture target(5, 5, 8, kPictureBmp);
    ASSERT_TRUE(target.Colorize(source, 0, 0, 0));
    EXPECT_EQ(target.GetBpp(), 24);
    EXPECT_EQ(Colours(target), colours);
}

TEST(PictureOps, ColorizeByShiftsKeepsItsInvariants) {
    const Rgb colours = ColourSample();
    const CPicture source = ColourRow(colours);

    CPicture grey;
    ASSERT_TRUE(grey.Colorize(source, 0, -255, 0));
    CPicture turned;
    ASSERT_TRUE(turned.Colorize(source, 57, 0, 0));
    CPicture back;
    ASSERT_TRUE(back.Colorize(turned, -57, 0, 0));
    CPicture half;
    ASSERT_TRUE(half.Colorize(source, 128, 0, 0));
    CPicture otherHalf;
    ASSERT_TRUE(otherHalf.Colorize(source, -128, 0, 0));
    EXPECT_EQ(Colours(half), Colours(otherHalf)) << "half a turn either way";

    const Rgb greyed = Colours(grey);
    const Rgb turnedBack = Colours(back);
    const Rgb turnedOnce = Colours(turned);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        SCOPED_TRACE(i);
        const std::uint32_t c = colours[i];
        const int high = std::max({Channel(c, 16), Channel(c, 8), Channel(c, 0)});
        const int low = std::min({Channel(c, 16), Channel(c, 8), Channel(c, 0)});
        // Without saturation every colour is the grey of its lightness.
        const int lightness = (high + low + 1) / 2;
        ASSERT_EQ(Channel(greyed[i], 16), Channel(greyed[i], 8));
        ASSERT_EQ(Channel(greyed[i], 8), Channel(greyed[i], 0));
        ASSERT_NEAR(Channel(greyed[i], 0), lightness, 1);
        // A turn keeps the lightness and is undone by the opposite turn.
        const std::uint32_t t = turnedOnce[i];
        const int turnedHigh = std::max({Channel(t, 16), Channel(t, 8), Channel(t, 0)});
        const int turnedLow = std::min({Channel(t, 16), Channel(t, 8), Channel(t, 0)});
        ASSERT_NEAR(turnedHigh + turnedLow, high + low, 2);
        for (const int shift : {16, 8, 0}) {
            ASSERT_NEAR(Channel(turnedBack[i], shift), Channel(c, shift), 2);
        }
        // Greys have no hue to turn.
        if (high == low) {
            ASSERT_EQ(t, c);
        }
    }
}

TEST(PictureOps, ColorizeByShiftsGoldens) {
    struct Case {
        const char* name;
        std::uint32_t colour;
        int hue;
        int saturation;
        int lightness;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"red half a turn is cyan", 0xFF0000, 128, 0, 0, 0x00FFFF},
        {"grey gains no colour", 0x808080, 0, 255, 0, 0x808080},
        {"pale red saturates fully", 0xC04040, 0, 255, 0, 0xFF0101},
        {"lightness to white", 0x336699, 0, 0, 255, 0xFFFFFF},
        {"lightness to black", 0x336699, 0, 0, -255, 0x000000},
        {"out of range taken at the limit", 0xFF0000, 400, 0, 0, 0x00FFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPicture p;
        ASSERT_TRUE(p.Colorize(MakeColour(1, 1, {c.colour}), c.hue, c.saturation, c.lightness));
        EXPECT_EQ(Colours(p), (Rgb{c.expected}));
    }
}

TEST(PictureOps, ColorizeByShiftsRecoloursAPaletteAndMayUseItself) {
    CPicture p = MakeGrey(3, 1, {0, 1, 2});
    const std::vector<PaletteEntry> palette = {{0, 0, 255, 0}, {0, 255, 0, 0}, {90, 90, 90, 0}};
    p.SetPalette(palette);
    ASSERT_TRUE(p.Colorize(p, 128, 0, 0));
    EXPECT_EQ(p.GetBpp(), 8);
    EXPECT_EQ(GreyValues(p), (Grey{0, 1, 2}));
    EXPECT_EQ(Colours(p), (Rgb{0x00FFFF, 0xFF00FF, 0x5A5A5A}));

    CPicture kept = MakeColour(1, 1, {0x123456});
    EXPECT_FALSE(kept.Colorize(CPicture(), 10, 10, 10));
    EXPECT_EQ(Colours(kept), (Rgb{0x123456}));
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
