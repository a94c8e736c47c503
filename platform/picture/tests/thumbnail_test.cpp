#include "thumbnail.h"

#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "picture_helpers.h"
#include "synthetic_scene.h"

namespace {

using vz::picture::FitRect;
using vz::picture::FitSize;

TEST(ThumbnailFit, FillsTheBoxKeepingTheAspectRatio) {
    struct Case {
        std::uint32_t w, h, boxW, boxH;
        FitSize fit;
    };
    const Case cases[] = {
        {2592, 1944, 140, 140, {140, 105}},
        {1944, 2592, 140, 140, {105, 140}},
        {500, 500, 140, 140, {140, 140}},
        {20, 10, 140, 140, {140, 70}},   // small pictures are enlarged
        {3, 7, 140, 140, {60, 140}},     // 140 * 3 / 7 exactly, no rounding down to 59
        {37, 23, 80, 100, {80, 49}},     // 49.7 truncated
        {100, 200, 80, 100, {50, 100}},  // the box's shape decides which side fills it
        {65536, 512, 140, 140, {140, 1}},
        {65536, 1, 140, 140, {}},  // less than one pixel high: nothing to draw
        {0, 100, 140, 140, {}},
        {100, 0, 140, 140, {}},
        {100, 100, 0, 140, {}},
        {100, 100, 140, 0, {}},
        {0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFF, {0xFFFFFFFF, 0xFFFFFFFE}},
    };
    for (const Case& c : cases) {
        const FitSize fit = vz::picture::FitIntoBox(c.w, c.h, c.boxW, c.boxH);
        EXPECT_EQ(fit, c.fit) << c.w << "x" << c.h << " into " << c.boxW << "x" << c.boxH << " gave " << fit.width
                              << "x" << fit.height;
    }
}

TEST(ThumbnailFit, BrowserCentresInItsSquare) {
    struct Case {
        std::uint32_t w, h;
        FitRect rect;
    };
    const Case cases[] = {
        {2592, 1944, {0, 17, {140, 105}}},  // wide: centred vertically
        {100, 200, {35, 0, {70, 140}}},     // tall: centred horizontally
        {9, 9, {0, 0, {140, 140}}},
        {0, 9, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vz::picture::PlaceInBrowserCell(c.w, c.h), c.rect) << c.w << "x" << c.h;
    }
}

TEST(ThumbnailFit, GridKeepsRoomForTheCaption) {
    struct Case {
        std::uint32_t w, h, cellW, cellH;
        FitRect rect;
    };
    const Case cases[] = {
        {2592, 1944, 100, 120, {10, 30, {80, 60}}},  // 30 pixels stay below: no change
        {100, 100, 100, 120, {10, 20, {80, 80}}},
        // 50 x 100 would leave 10 below; the height shrinks to 120 - 20 - 18.
        {100, 200, 100, 120, {29, 19, {41, 82}}},
        {100, 200, 400, 480, {89, 19, {221, 442}}},  // zoom 4: 460 high would leave 10 below
        {320, 240, 200, 240, {10, 52, {180, 135}}},  // the stored thumbnail at zoom 2
        {0, 240, 100, 120, {}},
        {320, 240, 15, 15, {}},  // a cell smaller than its margins
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vz::picture::PlaceInGridCell(c.w, c.h, c.cellW, c.cellH), c.rect)
            << c.w << "x" << c.h << " in " << c.cellW << "x" << c.cellH;
    }
    EXPECT_EQ(vz::picture::GridThumbnailSize(2592, 1944), (FitSize{320, 240}));
    EXPECT_EQ(vz::picture::GridThumbnailSize(37, 23), (FitSize{320, 196}));  // four times 80 x 49
    EXPECT_EQ(vz::picture::GridThumbnailSize(0, 23), (FitSize{}));
}

// Straightforward reference: every output pixel averages the block of source
// pixels it covers, read one by one through GetPixelColor.
std::vector<std::uint32_t> ReferenceResize(const CPicture& src, int outW, int outH) {
    std::vector<std::uint32_t> out;
    const int w = src.GetWidth();
    const int h = src.GetHeight();
    for (int oy = 0; oy < outH; ++oy) {
        const int y0 = static_cast<int>(std::int64_t{oy} * h / outH);
        const int y1 = std::max(static_cast<int>(std::int64_t{oy + 1} * h / outH), y0 + 1);
        for (int ox = 0; ox < outW; ++ox) {
            const int x0 = static_cast<int>(std::int64_t{ox} * w / outW);
            const int x1 = std::max(static_cast<int>(std::int64_t{ox + 1} * w / outW), x0 + 1);
            std::uint32_t colour = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                std::uint64_t sum = 0;
                for (int y = y0; y < y1; ++y) {
                    for (int x = x0; x < x1; ++x) {
                        sum += (src.GetPixelColor(x, y) >> shift) & 0xFF;
                    }
                }
                const std::uint64_t n = static_cast<std::uint64_t>((x1 - x0) * (y1 - y0));
                colour |= static_cast<std::uint32_t>((sum + n / 2) / n) << shift;
            }
            out.push_back(colour);
        }
    }
    return out;
}

CPicture Scrambled(int width, int height, int bpp) {
    CPicture p(width, height, bpp, kPictureBmp);
    std::uint32_t seed = 7;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = p.GetBits(y);
        for (int i = 0; i < width * bpp / 8; ++i) {
            seed = seed * 1103515245u + 12345u;
            row[i] = static_cast<std::uint8_t>(seed >> 23);
        }
    }
    return p;
}

TEST(ThumbnailPixels, AverageWhatEachPixelCovers) {
    struct Case {
        int w, h, bpp, outW, outH;
    };
    const Case cases[] = {
        {37, 23, 24, 10, 6},                     // odd width: rows are padded
        {37, 23, 24, 37, 23}, {8, 4, 24, 3, 5},  // narrower and taller at once
        {5, 3, 24, 13, 7},                       // enlarged: each source pixel repeats
        {37, 23, 8, 9, 9},                       // grey
        {2, 600, 24, 1, 2},                      // 300 rows of up to 255 per output row
        {3, 1000, 8, 2, 1},
    };
    for (const Case& c : cases) {
        const CPicture src = Scrambled(c.w, c.h, c.bpp);
        const CPicture out =
            vz::picture::ResizePicture(src, {static_cast<std::uint32_t>(c.outW), static_cast<std::uint32_t>(c.outH)});
        ASSERT_TRUE(out.IsValid()) << c.w << "x" << c.h;
        EXPECT_EQ(out.GetWidth(), c.outW);
        EXPECT_EQ(out.GetHeight(), c.outH);
        EXPECT_EQ(out.GetBpp(), c.bpp) << "grey stays grey, colour stays colour";
        EXPECT_EQ(Colours(out), ReferenceResize(src, c.outW, c.outH))
            << c.w << "x" << c.h << " to " << c.outW << "x" << c.outH;
    }
}

TEST(ThumbnailPixels, WhiteStaysWhiteOverManyRows) {
    // 2000 rows into one: a 16-bit sum would wrap.
    CPicture tall(3, 2000, 24, kPictureBmp);
    std::fill(tall.Pixels().begin(), tall.Pixels().end(), std::uint8_t{255});
    const CPicture out = vz::picture::ResizePicture(tall, {1, 1});
    EXPECT_EQ(Colours(out), (std::vector<std::uint32_t>{0xFFFFFF}));
}

TEST(ThumbnailPixels, ColourPaletteIsAveragedAsColours) {
    CPicture p = MakeGrey(2, 2, {0, 1, 1, 0});
    const std::vector<PaletteEntry> palette = {{0, 0, 200, 0}, {100, 50, 0, 0}};  // red, a dark blue
    p.SetPalette(palette);
    const CPicture out = vz::picture::ResizePicture(p, {1, 1});
    EXPECT_EQ(out.GetBpp(), 24);
    EXPECT_EQ(Colours(out), (std::vector<std::uint32_t>{0x641932}));  // (200+0)/2, (0+50)/2, (0+100)/2
}

TEST(ThumbnailPixels, EmptyFitOrPictureGivesNoPicture) {
    const CPicture src = Scrambled(10, 10, 24);
    EXPECT_FALSE(vz::picture::ResizePicture(src, {0, 5}).IsValid());
    EXPECT_FALSE(vz::picture::ResizePicture(CPicture(), {5, 5}).IsValid());
    EXPECT_FALSE(vz::picture::MakeThumbnail(src, 140, 0).IsValid());
    const CPicture thumb = vz::picture::MakeThumbnail(src, 140, 70);
    EXPECT_EQ(thumb.GetWidth(), 70);
    EXPECT_EQ(thumb.GetHeight(), 70);
}

struct Difference {
    double meanAbsolute = 0;  // how far apart the pictures are
    double worstShift = 0;    // the largest mean signed difference of a channel: a colour cast
};

Difference Compare(const CPicture& a, const CPicture& b) {
    const auto ca = Colours(a);
    const auto cb = Colours(b);
    Difference d;
    for (int s = 0; s < 24; s += 8) {
        double shift = 0;
        for (std::size_t i = 0; i < ca.size(); ++i) {
            const int diff = static_cast<int>((ca[i] >> s) & 0xFF) - static_cast<int>((cb[i] >> s) & 0xFF);
            shift += diff;
            d.meanAbsolute += std::abs(diff);
        }
        d.worstShift = std::max(d.worstShift, std::abs(shift) / static_cast<double>(ca.size()));
    }
    d.meanAbsolute /= static_cast<double>(ca.size() * 3);
    return d;
}

std::vector<std::uint8_t> Encoded(const CPicture& p, int type) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(p.Encode(bytes, type)) << p.GetLastError();
    return bytes;
}

// The same file with its rows stored top-down (negative height).
std::vector<std::uint8_t> TopDownBmp(const std::vector<std::uint8_t>& bottomUp, int height, std::size_t stride) {
    std::vector<std::uint8_t> out(bottomUp.begin(), bottomUp.begin() + 54);
    const std::uint32_t negative = static_cast<std::uint32_t>(-height);
    for (int i = 0; i < 4; ++i) {
        out[22 + i] = static_cast<std::uint8_t>(negative >> (8 * i));
    }
    for (int row = height - 1; row >= 0; --row) {
        const auto at = bottomUp.begin() + 54 + static_cast<std::ptrdiff_t>(row * stride);
        out.insert(out.end(), at, at + static_cast<std::ptrdiff_t>(stride));
    }
    return out;
}

TEST(ThumbnailDecode, BmpRowsReducedInPlaceMatchTheDecodedPicture) {
    const CPicture scene = SyntheticScene(301, 203);
    const auto bottomUp = Encoded(scene, kPictureBmp);
    const auto topDown = TopDownBmp(bottomUp, 203, scene.GetStride());
    const CPicture expected = vz::picture::MakeThumbnail(scene, 140, 140);
    for (const auto* bytes : {&bottomUp, &topDown}) {
        const auto thumb = vz::picture::DecodeThumbnail(*bytes, kPictureAuto, 140, 140);
        ASSERT_TRUE(thumb.Loaded()) << thumb.error;
        EXPECT_EQ(thumb.sourceSize, (FitSize{301, 203}));
        EXPECT_EQ(thumb.picture.GetWidth(), 140);
        EXPECT_EQ(thumb.picture.GetHeight(), 94);
        EXPECT_EQ(Colours(thumb.picture), Colours(expected));
    }
    // Grey and palette files go through the full decoder.
    const CPicture grey = Scrambled(50, 20, 8);
    const auto thumb = vz::picture::DecodeThumbnail(Encoded(grey, kPictureBmp), kPictureBmp, 25, 25);
    EXPECT_EQ(thumb.picture.GetBpp(), 8);
    EXPECT_EQ(Colours(thumb.picture), Colours(vz::picture::MakeThumbnail(grey, 25, 25)));
}

TEST(ThumbnailDecode, ReducedJpegDecodeStaysCloseToTheFullOne) {
    struct Case {
        int w, h;
        vz::picture::ThumbnailRule rule;
        FitSize size;
    };
    const Case cases[] = {
        {2592, 1944, vz::picture::BrowserThumbnailSize, {140, 105}},  // decoded at 1/8
        {2592, 1944, vz::picture::GridThumbnailSize, {320, 240}},     // 1/8 still gives 324 x 243
        {1000, 700, vz::picture::GridThumbnailSize, {320, 224}},      // 1/2
        {150, 100, vz::picture::BrowserThumbnailSize, {140, 93}},     // full size
        {40, 30, vz::picture::BrowserThumbnailSize, {140, 105}},      // enlarged
    };
    for (const Case& c : cases) {
        const auto bytes = Encoded(SyntheticScene(c.w, c.h), kPictureJpeg);
        CPicture full;
        ASSERT_TRUE(full.Decode(bytes, kPictureJpeg));
        const CPicture expected = vz::picture::ResizePicture(full, c.size);
        const auto thumb = vz::picture::DecodeThumbnail(bytes, kPictureAuto, c.rule);
        ASSERT_TRUE(thumb.Loaded()) << thumb.error;
        EXPECT_EQ(thumb.sourceSize, (FitSize{static_cast<std::uint32_t>(c.w), static_cast<std::uint32_t>(c.h)}));
        ASSERT_EQ(thumb.picture.GetWidth(), static_cast<int>(c.size.width)) << c.w;
        ASSERT_EQ(thumb.picture.GetHeight(), static_cast<int>(c.size.height)) << c.w;
        // Sharp rims land on a different sampling grid; the colours must not move.
        const Difference d = Compare(thumb.picture, expected);
        EXPECT_LT(d.meanAbsolute, 8.0) << c.w << "x" << c.h;
        EXPECT_LT(d.worstShift, 1.0) << c.w << "x" << c.h;
    }
}

TEST(ThumbnailDecode, FailuresSayWhy) {
    const auto dir = testing_support::UniqueTempPath("vz_thumbnail_failures");
    std::filesystem::create_directories(dir);
    const auto missing = vz::picture::LoadThumbnail(dir / "missing.jpg", 140, 140);
    EXPECT_FALSE(missing.Loaded());
    EXPECT_FALSE(missing.picture.IsValid());

    const auto jpeg = Encoded(SyntheticScene(64, 48), kPictureJpeg);
    const auto bmp = Encoded(SyntheticScene(64, 48), kPictureBmp);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"jpeg header only", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 20)},
        {"bmp cut short", std::vector<std::uint8_t>(bmp.begin(), bmp.end() - 1)},
        {"unknown", {'G', 'I', 'F', '8', '9', 'a'}},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        std::ofstream(dir / "bad", std::ios::binary)
            .write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
        const auto thumb =
            vz::picture::LoadThumbnail(dir / "bad", vz::picture::kBrowserCellSide, vz::picture::kBrowserCellSide);
        EXPECT_FALSE(thumb.Loaded()) << c.name;
        EXPECT_FALSE(thumb.picture.IsValid()) << c.name;
        EXPECT_EQ(thumb.sourceSize, FitSize{}) << c.name;
    }

    // A null rule (a literal 0 picks the rule overload) is refused, not called.
    EXPECT_FALSE(vz::picture::DecodeThumbnail(bmp, kPictureBmp, nullptr).Loaded());

    // A readable file with nothing to draw is no failure.
    const auto flat = vz::picture::DecodeThumbnail(bmp, kPictureBmp, 140, 0);
    EXPECT_TRUE(flat.Loaded());
    EXPECT_EQ(flat.sourceSize, (FitSize{64, 48}));
    EXPECT_FALSE(flat.picture.IsValid());
    std::filesystem::remove_all(dir);
}

}  // namespace
