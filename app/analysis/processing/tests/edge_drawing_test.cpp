#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "edge_drawing.h"
#include "edge_reference.h"
#include "picture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Cells of random colours on a random background: plenty of edges.
CPicture ColourCells(int width, int height, std::uint32_t seed) {
    std::mt19937 rng(seed);
    CPicture picture(width, height, 24, kPictureBmp);
    for (int row = 0; row < height; ++row) {
        std::uint8_t* bits = picture.GetBits(row);
        for (int x = 0; x < width * 3; ++x) bits[x] = static_cast<std::uint8_t>(90 + rng() % 20);
    }
    for (int cell = 0; cell < 40; ++cell) {
        const int cx = static_cast<int>(rng() % width);
        const int cy = static_cast<int>(rng() % height);
        const int r = 2 + static_cast<int>(rng() % 6);
        const std::uint8_t colour[3] = {static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
                                        static_cast<std::uint8_t>(rng())};
        for (int row = std::max(0, cy - r); row < std::min(height, cy + r); ++row) {
            for (int x = std::max(0, cx - r); x < std::min(width, cx + r); ++x) {
                if ((x - cx) * (x - cx) + (row - cy) * (row - cy) < r * r) {
                    for (int c = 0; c < 3; ++c) picture.GetBits(row)[x * 3 + c] = colour[c];
                }
            }
        }
    }
    return picture;
}

// The edge map the reference gives for these grey rows (bottom-up, as the
// picture holds them).
Bytes ReferenceOf(const Bytes& grey, int width, int height) {
    Bytes edges(grey.size());
    EXPECT_TRUE(ReferenceEdges(grey, width, height, 0.1, 0.9, 0.76, edges));
    return edges;
}

// Every pixel is black where the edge map has an edge and white elsewhere.
void ExpectDrawing(const CPicture& picture, const Bytes& edges) {
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    int black = 0;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const bool edge = edges[static_cast<std::size_t>(row) * width + x] == 255;
            // GetPixelColor counts rows from the top.
            const std::uint32_t colour = picture.GetPixelColor(x, height - 1 - row);
            ASSERT_EQ(colour, edge ? 0x000000u : 0xFFFFFFu) << x << "," << row;
            black += edge ? 1 : 0;
        }
    }
    EXPECT_GT(black, 0) << "a drawing without a single edge proves little";
}

TEST(DrawEdges, ColourPicturesTakeTheMeanOfTheirChannelsRowByRow) {
    // 641 pixels: rows of 1923 bytes padded to 1924.
    for (const int width : {641, 64}) {
        SCOPED_TRACE(width);
        const int height = 41;
        CPicture picture = ColourCells(width, height, static_cast<std::uint32_t>(width));
        Bytes grey;
        for (int row = 0; row < height; ++row) {
            const std::uint8_t* bits = picture.GetBits(row);
            for (int x = 0; x < width; ++x) {
                grey.push_back(static_cast<std::uint8_t>((bits[x * 3] + bits[x * 3 + 1] + bits[x * 3 + 2]) / 3));
            }
        }
        ASSERT_TRUE(DrawEdges(picture));
        EXPECT_EQ(picture.GetBpp(), 24);
        ExpectDrawing(picture, ReferenceOf(grey, width, height));
        // The padding bytes stay untouched by the write-back.
        if (picture.GetStride() > static_cast<std::size_t>(width) * 3) {
            EXPECT_EQ(picture.GetBits(0)[width * 3], 0);
        }
    }
}

// A colour-palette picture: index 1 is black and index 0 white, so the
// indices themselves (0 and 1) carry no edge while the colours do.
TEST(DrawEdges, PalettePicturesTakeTheirGreyFromThePaletteAndBecomeBlackAndWhite) {
    const int width = 30;
    const int height = 20;
    CPicture picture(width, height, 8, kPictureBmp);
    std::vector<PaletteEntry> palette(256);
    palette[0] = {255, 255, 255, 0};
    palette[1] = {0, 0, 0, 0};
    palette[2] = {0, 0, 200, 0};  // red: grey 66
    picture.SetPalette(palette);
    Bytes grey;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t index = x < 10 ? 1 : (row < 8 ? 0 : 2);
            picture.GetBits(row)[x] = index;
            grey.push_back(index == 0 ? 255 : index == 1 ? 0 : 66);
        }
    }
    ASSERT_FALSE(picture.IsGreyPalette());
    ASSERT_TRUE(DrawEdges(picture));
    EXPECT_EQ(picture.GetBpp(), 8);
    EXPECT_TRUE(picture.IsGreyPalette());
    ExpectDrawing(picture, ReferenceOf(grey, width, height));
}

TEST(DrawEdges, AGreyPictureUsesItsBytes) {
    const int width = 50;
    const int height = 33;
    CPicture picture(width, height, 8, kPictureBmp);
    std::mt19937 rng(5);
    Bytes grey;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            const auto v = static_cast<std::uint8_t>((x / 7 + row / 5) % 2 ? 200 + rng() % 10 : 30 + rng() % 10);
            picture.GetBits(row)[x] = v;
            grey.push_back(v);
        }
    }
    ASSERT_TRUE(DrawEdges(picture));
    ExpectDrawing(picture, ReferenceOf(grey, width, height));
}

TEST(DrawEdges, AUniformPictureTurnsWhite) {
    CPicture picture(20, 10, 24, kPictureBmp);
    for (auto& byte : picture.Pixels()) byte = 93;
    ASSERT_TRUE(DrawEdges(picture));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) ASSERT_EQ(picture.GetPixelColor(x, y), 0xFFFFFFu);
    }
}

TEST(DrawEdges, AnEmptyPictureIsRefused) {
    CPicture empty;
    EXPECT_FALSE(DrawEdges(empty));
    EXPECT_FALSE(empty.IsValid());
}

}  // namespace
