// BMP files in every layout Windows reads, compared pixel for pixel with
// ImageMagick's decoding of the same files (tests/data/README.md says how
// each was made), and broken variants that must fail cleanly.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "picture.h"
#include "picture_helpers.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadData(const std::string& name) {
    std::ifstream in(fs::path(VZ_PICTURE_DATA) / name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Top-down 0xRRGGBB values from ImageMagick's raw RGB output.
std::vector<std::uint32_t> Reference(const std::string& name) {
    const Bytes rgb = ReadData(name);
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        out.push_back(std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
    }
    return out;
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

TEST(BmpVariants, DecodeAsImageMagickDoes) {
    struct Case {
        const char* file;
        int bpp;  // of the decoded picture
    };
    const Case cases[] = {
        {"p1.bmp", 8},             // 1-bit palette
        {"p4.bmp", 8},             // 4-bit palette
        {"p8.bmp", 8},             // 8-bit palette
        {"core4.bmp", 8},          // 12-byte header, 3-byte palette entries
        {"rle8.bmp", 8},           // RLE8 as ImageMagick writes it
        {"rle8-absolute.bmp", 8},  // RLE8 with literal stretches, odd ones padded
        {"rle8-delta.bmp", 8},     // RLE8 jump: skipped pixels take colour 0
        {"rle4.bmp", 8},           // RLE4: runs of alternating nibbles, literals
        {"td8.bmp", 8},            // top-down rows
        {"td24.bmp", 24},
        {"c24.bmp", 24},
        {"c16rgb.bmp", 24},  // 16-bit without masks: 5-5-5
        {"c555.bmp", 24},    // 16-bit bit fields in a V5 header
        {"c565.bmp", 24},
        {"c32.bmp", 24},        // 32-bit bit fields and alpha in a V5 header
        {"v4-32.bmp", 24},      // the same in a V4 header
        {"c32rgb.bmp", 24},     // 32-bit without masks
        {"bf32-rgbx.bmp", 24},  // red in the low byte; masks after a 40-byte header
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes file = ReadData(c.file);
        ASSERT_FALSE(file.empty());
        CPicture p;
        ASSERT_TRUE(p.Decode(file, kPictureAuto)) << p.GetLastError();
        EXPECT_EQ(p.GetWidth(), 37);
        EXPECT_EQ(p.GetHeight(), 23);
        EXPECT_EQ(p.GetBpp(), c.bpp);
        std::string name = c.file;
        EXPECT_EQ(Colours(p), Reference(name.replace(name.size() - 3, 3, "rgb")));
    }
}

// A width x 3 (bottom-up) 8-bit or 4-bit file with four palette colours and
// the given compressed pixels.
Bytes RleFile(int bpp, const Bytes& stream, std::uint32_t width = 4) {
    const std::uint32_t paletteBytes = 4 * 4;
    Bytes b(14 + 40 + paletteBytes, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size() + stream.size()));
    Put32(b, 10, 14 + 40 + paletteBytes);
    Put32(b, 14, 40);
    Put32(b, 18, width);
    Put32(b, 22, 3);
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bpp);
    Put32(b, 30, bpp == 8 ? 1 : 2);
    Put32(b, 46, 4);
    for (std::uint8_t i = 0; i < 4; ++i) {
        b[54 + i * 4u] = static_cast<std::uint8_t>(i * 10);  // blue = index * 10
    }
    b.insert(b.end(), stream.begin(), stream.end());
    return b;
}

TEST(BmpVariants, RleStreamsPaintWhatTheySay) {
    struct Case {
        const char* name;
        int bpp;
        Bytes stream;
        std::vector<std::uint8_t> indices;  // top-down
        std::uint32_t width = 4;
    };
    const Case cases[] = {
        {"runs and end of line", 8, {4, 1, 0, 0, 2, 2, 2, 3, 0, 0, 1, 1, 0, 1}, {1, 0, 0, 0, 2, 2, 3, 3, 1, 1, 1, 1}},
        {"end of picture leaves the rest at 0", 8, {3, 2, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 2, 0}},
        {"jump right and up", 8, {0, 2, 1, 2, 2, 3, 0, 1}, {0, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"index past the palette is 0", 8, {4, 9, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"odd literal is padded", 8, {0, 3, 1, 2, 3, 0, 1, 3, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 3}},
        {"rle4 alternates nibbles", 4, {4, 0x12, 0, 0, 3, 0x30, 0, 1}, {0, 0, 0, 0, 3, 0, 3, 0, 1, 2, 1, 2}},
        {"rle4 odd literal", 4, {0, 3, 0x12, 0x30, 1, 0x20, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 2}},
        {"end of line after the last row",
         8,
         {4, 1, 0, 0, 4, 1, 0, 0, 4, 1, 0, 0, 0, 1},
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPicture p;
        ASSERT_TRUE(p.Decode(RleFile(c.bpp, c.stream, c.width), kPictureBmp)) << p.GetLastError();
        EXPECT_EQ(GreyValues(p), c.indices);
        EXPECT_EQ(p.GetPixelColor(0, 2), std::uint32_t{c.indices[2 * c.width]} * 10);
    }
}

TEST(BmpVariants, BrokenFilesFailCleanly) {
    struct Case {
        const char* name;
        Bytes file;
    };
    std::vector<Case> cases = {
        {"rle without end of picture", RleFile(8, {4, 1, 0, 0})},
        {"rle cut inside a pair", RleFile(8, {4, 1, 0})},
        {"rle cut inside a jump", RleFile(8, {0, 2, 1})},
        {"rle literal cut short", RleFile(8, {0, 4, 1, 2, 3})},
        {"rle4 literal cut short", RleFile(4, {0, 5, 0x12, 0x34})},
        {"run past the row", RleFile(8, {5, 1, 0, 1})},
        {"run past the row padding", RleFile(8, {5, 1, 0, 1}, 3)},
        {"rle4 run past the row padding", RleFile(4, {9, 0x11, 0, 1}, 3)},
        {"run continuing past the row", RleFile(8, {3, 1, 2, 1, 0, 1})},
        {"literal past the row", RleFile(8, {0, 6, 1, 1, 1, 1, 1, 1, 0, 1})},
        {"jump past the row", RleFile(8, {0, 2, 5, 0, 0, 1})},
        {"jump past the top", RleFile(8, {0, 2, 0, 4, 0, 1})},
        {"run above the top", RleFile(8, {0, 0, 0, 0, 0, 0, 1, 1, 0, 1})},
        {"empty stream", RleFile(8, {})},
    };
    Bytes rle4In8 = RleFile(8, {0, 1});
    Put32(rle4In8, 30, 2);
    cases.push_back({"rle4 compression with 8 bits", rle4In8});
    Bytes rle8In4 = RleFile(4, {0, 1});
    Put32(rle8In4, 30, 1);
    cases.push_back({"rle8 compression with 4 bits", rle8In4});
    Bytes topDownRle = RleFile(8, {4, 1, 0, 1});
    Put32(topDownRle, 22, static_cast<std::uint32_t>(-3));
    cases.push_back({"top-down rle", topDownRle});

    const Bytes c565 = ReadData("c565.bmp");
    const Bytes c32 = ReadData("bf32-rgbx.bmp");
    ASSERT_FALSE(c565.empty());
    ASSERT_FALSE(c32.empty());
    const auto withMask = [](Bytes b, int which, std::uint32_t mask) {
        Put32(b, 54 + 4 * static_cast<std::size_t>(which), mask);
        return b;
    };
    cases.push_back({"zero mask", withMask(c565, 1, 0)});
    cases.push_back({"scattered mask", withMask(c565, 0, 0xF00F)});
    cases.push_back({"overlapping masks", withMask(c565, 1, 0x0FE0)});
    cases.push_back({"mask wider than 16 bits", withMask(c565, 2, 0x1001F)});
    cases.push_back({"zero mask, 32 bits", withMask(c32, 2, 0)});
    Bytes masksCut(c32.begin(), c32.begin() + 60);
    cases.push_back({"masks cut short", masksCut});
    Bytes bitfields24 = ReadData("c24.bmp");
    Put32(bitfields24, 30, 3);
    cases.push_back({"bit fields with 24 bits", bitfields24});

    const Bytes p4 = ReadData("p4.bmp");
    Bytes tooManyColours = p4;
    Put32(tooManyColours, 46, 17);
    cases.push_back({"colour table larger than the depth", tooManyColours});
    cases.push_back({"colour table cut short", Bytes(p4.begin(), p4.begin() + 80)});
    cases.push_back({"rows cut short", Bytes(p4.begin(), p4.end() - 1)});
    for (const std::uint32_t height : {0u, 0x80000000u, 0x7FFFFFFFu}) {
        Bytes absurd = p4;
        Put32(absurd, 22, height);
        cases.push_back({"absurd height", absurd});
    }
    Bytes pixelsPastEnd = p4;
    Put32(pixelsPastEnd, 10, 0xFFFFFFF0u);
    cases.push_back({"pixel offset past the end", pixelsPastEnd});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPicture p = MakeGrey(1, 1, {1});
        EXPECT_FALSE(p.Decode(c.file, kPictureBmp));
        EXPECT_FALSE(p.IsValid());
        EXPECT_FALSE(p.GetLastError().empty());
    }
}

}  // namespace
