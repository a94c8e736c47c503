#include <gtest/gtest.h>

#include <vector>

#include "fix32.h"
#include "transfer_geometry.h"

namespace twain {
namespace {

std::uint32_t Read32(const std::uint8_t* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

TEST(TransferGeometry, RowAndImageBytesOfTheSizes) {
    struct Row {
        ImageShape shape;
        std::size_t rowBytes;
        std::size_t imageBytes;
    };
    const Row rows[] = {
        {{1280, 1024, 24}, 3840, 3932160},
        {{752, 480, 24}, 2256, 1082880},
        {{5, 3, 24}, 16, 48},
        {{5, 3, 8}, 8, 24},
        {{640, 480, 8}, 640, 307200},
        {{0, 480, 8}, 0, 0},
        {{640, 480, 16}, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shape.width);
        EXPECT_EQ(RowBytes(row.shape), row.rowBytes);
        EXPECT_EQ(ImageBytes(row.shape), row.imageBytes);
    }
}

TEST(TransferGeometry, InfoLayoutDibAndFileAgree) {
    for (const ImageShape shape : {ImageShape{752, 480, 24}, ImageShape{1283, 7, 8}, ImageShape{3, 2, 24}}) {
        SCOPED_TRACE(shape.width);
        const TW_IMAGEINFO info = ImageInfoFor(shape);
        EXPECT_EQ(info.ImageWidth, shape.width);
        EXPECT_EQ(info.ImageLength, shape.height);
        EXPECT_EQ(info.BitsPerPixel, shape.bits);
        EXPECT_EQ(info.SamplesPerPixel, shape.bits == 8 ? 1 : 3);
        EXPECT_EQ(info.PixelType, shape.bits == 8 ? TWPT_GRAY : TWPT_RGB);
        EXPECT_GT(FromFix32(info.XResolution), 0.0f);
        EXPECT_EQ(FromFix32(info.XResolution), FromFix32(info.YResolution));

        const TW_IMAGELAYOUT layout = LayoutFor(shape, 2);
        const float dpi = FromFix32(info.XResolution);
        EXPECT_NEAR(FromFix32(layout.Frame.Right) * dpi, shape.width, 0.01);
        EXPECT_NEAR(FromFix32(layout.Frame.Bottom) * dpi, shape.height, 0.01);
        EXPECT_EQ(layout.FrameNumber, 2u);

        std::vector<std::uint8_t> header(DibHeaderBytes(shape));
        WriteDibHeader(shape, header);
        EXPECT_EQ(Read32(&header[4]), static_cast<std::uint32_t>(shape.width));
        EXPECT_EQ(Read32(&header[8]), static_cast<std::uint32_t>(shape.height));
        EXPECT_EQ(header[14], shape.bits);
        EXPECT_EQ(Read32(&header[20]), ImageBytes(shape));
        EXPECT_EQ(Read32(&header[24]), 3937u);  // 100 dpi
        EXPECT_EQ(Read32(&header[32]), shape.bits == 8 ? 256u : 0u);

        const auto file = BmpFileHeader(shape);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(Read32(&file[10]), shape.bits == 8 ? 1078u : 54u);
        EXPECT_EQ(Read32(&file[2]), Read32(&file[10]) + ImageBytes(shape));
    }
}

TEST(TransferGeometry, GreyPaletteIsARamp) {
    const ImageShape shape{4, 4, 8};
    std::vector<std::uint8_t> header(DibHeaderBytes(shape));
    WriteDibHeader(shape, header);
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* entry = &header[40 + 4 * i];
        EXPECT_EQ(entry[0], i);
        EXPECT_EQ(entry[1], i);
        EXPECT_EQ(entry[2], i);
        EXPECT_EQ(entry[3], 0);
    }
}

TEST(TransferGeometry, StripsAreTopDownRowsWithRedFirst) {
    const ImageShape shape{2, 3, 24};  // rows of 8 bytes (6 + 2 padding)
    // Bottom-up DIB: row 0 is the picture's last row. Pixel bytes B, G, R.
    std::vector<std::uint8_t> dib(24);
    for (std::size_t i = 0; i < dib.size(); ++i) dib[i] = static_cast<std::uint8_t>(i);
    std::vector<std::uint8_t> out(16, 0xEE);
    CopyStripRows(dib, shape, 1, 2, out);
    // Top row 1 is DIB row 1 (bytes 8..15), top row 2 is DIB row 0.
    const std::vector<std::uint8_t> expected{10, 9, 8, 13, 12, 11, 14, 15, 2, 1, 0, 5, 4, 3, 6, 7};
    EXPECT_EQ(out, expected);

    const ImageShape grey{3, 2, 8};  // rows of 4 bytes
    const std::vector<std::uint8_t> greyDib{1, 2, 3, 0, 4, 5, 6, 0};
    std::vector<std::uint8_t> greyOut(8);
    CopyStripRows(greyDib, grey, 0, 5, greyOut);
    EXPECT_EQ(greyOut, (std::vector<std::uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
}

}  // namespace
}  // namespace twain
