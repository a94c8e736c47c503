// The four picture formats as readers we did not write see them: ImageMagick
// for size, depth, colour type and every pixel, tiffinfo for the TIFF tags.
// Pictures in memory are bottom-up and blue-first; the files are upright.

#include <gtest/gtest.h>

#include "temp_folder_test.h"

#include <cstdio>
#include <string>
#include <vector>

#include "picture_files.h"

namespace kqge {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

std::string Trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s;
}

constexpr int kWidth = 5;
constexpr int kHeight = 3;

// Stored row r (r = 0 the lowest picture row), column c.
int Blue(int, int c) { return 10 * c + 1; }
int Green(int r, int) { return 50 * r + 7; }
int Red(int r, int c) { return 200 - 9 * c - r; }
int Grey(int r, int c) { return 40 * r + 3 * c; }
int Wide(int r, int c) { return 1000 * c + 300 * r + 1; }

Bytes ColorPicture() {
    Bytes p;
    for (int r = 0; r < kHeight; ++r)
        for (int c = 0; c < kWidth; ++c)
            p.insert(p.end(), {static_cast<std::uint8_t>(Blue(r, c)), static_cast<std::uint8_t>(Green(r, c)),
                               static_cast<std::uint8_t>(Red(r, c))});
    return p;
}

Bytes GreyPicture() {
    Bytes p;
    for (int r = 0; r < kHeight; ++r)
        for (int c = 0; c < kWidth; ++c) p.push_back(static_cast<std::uint8_t>(Grey(r, c)));
    return p;
}

Bytes WidePicture() {
    Bytes p;
    for (int r = 0; r < kHeight; ++r)
        for (int c = 0; c < kWidth; ++c)
            p.insert(p.end(), {static_cast<std::uint8_t>(Wide(r, c)), static_cast<std::uint8_t>(Wide(r, c) >> 8)});
    return p;
}

// The file's pixels as ImageMagick reads them, top row first: "r,g,b" or a
// grey value per pixel, in `depth` bits, little-endian.
std::vector<int> ReadBack(const fs::path& file, const char* map, int depth) {
    const std::string raw = Shell("/usr/bin/convert '" + file.string() + "' -depth " + std::to_string(depth) +
                                  " -endian LSB " + map + ":- 2>/dev/null");
    std::vector<int> values;
    const std::size_t bytes = static_cast<std::size_t>(depth / 8);
    for (std::size_t i = 0; i + bytes <= raw.size(); i += bytes) {
        int v = static_cast<std::uint8_t>(raw[i]);
        if (bytes == 2) v |= static_cast<std::uint8_t>(raw[i + 1]) << 8;
        values.push_back(v);
    }
    return values;
}

std::vector<int> ExpectedUpright(int channels, int (*grey)(int, int)) {
    std::vector<int> v;
    for (int y = 0; y < kHeight; ++y) {
        const int r = kHeight - 1 - y;
        for (int c = 0; c < kWidth; ++c) {
            if (channels == 3) {
                v.insert(v.end(), {Red(r, c), Green(r, c), Blue(r, c)});
            } else {
                v.push_back(grey(r, c));
            }
        }
    }
    return v;
}

class PictureFiles : public testing_support::TempFolderTest {};

struct LosslessCase {
    int kind;
    int bits;
    const char* file;
    const char* identify;        // width height depth class
    const char* pngHeader = "";  // the file's own colour type and bit depth
};

class LosslessFiles : public PictureFiles, public ::testing::WithParamInterface<LosslessCase> {};

TEST_P(LosslessFiles, ReadBackUprightWithEveryPixel) {
    const LosslessCase& c = GetParam();
    const Bytes pixels = c.bits == 24 ? ColorPicture() : (c.bits == 8 ? GreyPicture() : WidePicture());
    ASSERT_EQ(SavePicture(pixels, folder / "p", kWidth, kHeight, c.bits, c.kind), kPictureSaved);
    const fs::path file = folder / c.file;
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(Trimmed(Shell("/usr/bin/identify -format '%w %h %z %r' '" + file.string() + "'")), c.identify);
    if (*c.pngHeader != 0) {
        EXPECT_EQ(Trimmed(Shell("/usr/bin/identify -format '%[png:IHDR.color-type-orig] %[png:IHDR.bit-depth-orig]' '" +
                                file.string() + "'")),
                  c.pngHeader);
    }
    if (c.bits == 24) {
        EXPECT_EQ(ReadBack(file, "rgb", 8), ExpectedUpright(3, nullptr));
    } else if (c.bits == 8) {
        EXPECT_EQ(ReadBack(file, "gray", 8), ExpectedUpright(1, &Grey));
    } else {
        EXPECT_EQ(ReadBack(file, "gray", 16), ExpectedUpright(1, &Wide));
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, LosslessFiles,
                         ::testing::Values(LosslessCase{0, 8, "p.bmp", "5 3 8 PseudoClass Gray"},
                                           LosslessCase{0, 24, "p.bmp", "5 3 8 DirectClass sRGB"},
                                           LosslessCase{2, 8, "p.tif", "5 3 8 DirectClass Gray"},
                                           LosslessCase{2, 16, "p.tif", "5 3 16 DirectClass Gray"},
                                           LosslessCase{2, 24, "p.tif", "5 3 8 DirectClass sRGB"},
                                           LosslessCase{3, 8, "p.png", "5 3 8 PseudoClass Gray", "0 8"},
                                           LosslessCase{3, 16, "p.png", "5 3 16 DirectClass Gray", "0 16"},
                                           LosslessCase{3, 24, "p.png", "5 3 8 DirectClass sRGB", "2 8"}));

TEST_F(PictureFiles, JpegColourAndGreyAtQuality100) {
    // Flat halves so the lossy coding keeps every pixel close.
    Bytes colour(16 * 8 * 3), grey(16 * 8);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 16; ++c) {
            const bool top = r >= 4;  // stored rows 4..7 are the upper half
            std::uint8_t* px = &colour[static_cast<std::size_t>(r * 16 + c) * 3];
            px[0] = top ? 200 : 20;
            px[1] = 100;
            px[2] = top ? 30 : 220;
            grey[static_cast<std::size_t>(r * 16 + c)] = top ? 180 : 60;
        }
    ASSERT_EQ(SavePicture(colour, folder / "c", 16, 8, 24, 1), kPictureSaved);
    ASSERT_EQ(SavePicture(grey, folder / "g.JPEG", 16, 8, 8, 1), kPictureSaved);
    EXPECT_EQ(Trimmed(Shell("/usr/bin/identify -format '%w %h %[channels]' '" + (folder / "c.jpg").string() + "'")),
              "16 8 srgb");
    EXPECT_EQ(Trimmed(Shell("/usr/bin/identify -format '%w %h %[channels]' '" + (folder / "g.JPEG").string() + "'")),
              "16 8 gray");
    const std::vector<int> rgb = ReadBack(folder / "c.jpg", "rgb", 8);
    ASSERT_EQ(rgb.size(), 16u * 8 * 3);
    auto near = [](int a, int b) { return std::abs(a - b) <= 4; };
    EXPECT_TRUE(near(rgb[0], 30) && near(rgb[1], 100) && near(rgb[2], 200)) << rgb[0] << " " << rgb[1] << " " << rgb[2];
    const std::size_t bottom = (7 * 16 + 15) * 3;
    EXPECT_TRUE(near(rgb[bottom], 220) && near(rgb[bottom + 2], 20)) << rgb[bottom] << " " << rgb[bottom + 2];
    const std::vector<int> g = ReadBack(folder / "g.JPEG", "gray", 8);
    ASSERT_EQ(g.size(), 16u * 8);
    EXPECT_TRUE(near(g[0], 180) && near(g[16 * 8 - 1], 60)) << g[0] << " " << g[16 * 8 - 1];
}

TEST_F(PictureFiles, TiffTagsAsTiffinfoShowsThem) {
    ASSERT_EQ(SavePicture(ColorPicture(), folder / "t.TIFF", kWidth, kHeight, 24, 2), kPictureSaved);
    const std::string info = Shell("/usr/bin/tiffinfo '" + (folder / "t.TIFF").string() + "' 2>&1");
    for (const char* tag : {"Image Width: 5 Image Length: 3", "Bits/Sample: 8", "Compression Scheme: None",
                            "Photometric Interpretation: RGB color", "Orientation: row 0 top, col 0 lhs",
                            "Samples/Pixel: 3", "Rows/Strip: ", "Planar Configuration: single image plane"}) {
        EXPECT_NE(info.find(tag), std::string::npos) << tag << "\n" << info;
    }
    ASSERT_EQ(SavePicture(WidePicture(), folder / "w", kWidth, kHeight, 16, 2), kPictureSaved);
    const std::string wide = Shell("/usr/bin/tiffinfo '" + (folder / "w.tif").string() + "' 2>&1");
    EXPECT_NE(wide.find("Bits/Sample: 16"), std::string::npos) << wide;
    EXPECT_NE(wide.find("Photometric Interpretation: min-is-black"), std::string::npos) << wide;
}

// 32 bits are four 8-bit samples (blue, green, red, alpha), never two
// 16-bit ones: the writers read exactly the bytes the picture has.
TEST_F(PictureFiles, ThirtyTwoBitsAreEightBitColourWithAlpha) {
    Bytes bgra;
    for (int r = 0; r < kHeight; ++r)
        for (int c = 0; c < kWidth; ++c)
            bgra.insert(bgra.end(), {static_cast<std::uint8_t>(Blue(r, c)), static_cast<std::uint8_t>(Green(r, c)),
                                     static_cast<std::uint8_t>(Red(r, c)), static_cast<std::uint8_t>(100 + r)});
    ASSERT_EQ(SavePicture(bgra, folder / "a", kWidth, kHeight, 32, 3), kPictureSaved);
    ASSERT_EQ(SavePicture(bgra, folder / "a", kWidth, kHeight, 32, 2), kPictureSaved);
    EXPECT_EQ(Trimmed(Shell("/usr/bin/identify -format '%[png:IHDR.color-type-orig] %[png:IHDR.bit-depth-orig]' '" +
                            (folder / "a.png").string() + "'")),
              "6 8");
    std::vector<int> expected;
    for (int y = 0; y < kHeight; ++y) {
        const int r = kHeight - 1 - y;
        for (int c = 0; c < kWidth; ++c) expected.insert(expected.end(), {Red(r, c), Green(r, c), Blue(r, c), 100 + r});
    }
    EXPECT_EQ(ReadBack(folder / "a.png", "rgba", 8), expected);
    EXPECT_EQ(ReadBack(folder / "a.tif", "rgba", 8), expected);
}

TEST_F(PictureFiles, BmpOfThreeByTwoGreyPadsRowsAfterThePalette) {
    const Bytes grey = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(SavePicture(grey, folder / "s", 3, 2, 8, 0), kPictureSaved);
    EXPECT_EQ(fs::file_size(folder / "s.bmp"), 1078u + 2 * 4);
    EXPECT_EQ(ReadBack(folder / "s.bmp", "gray", 8), (std::vector<int>{4, 5, 6, 1, 2, 3}));
}

}  // namespace
}  // namespace kqge
