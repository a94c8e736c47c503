#include "transfer_geometry.h"

#include <algorithm>
#include <cstring>

#include "fix32.h"
#include "frame_copy.h"

namespace twain {
namespace {

void Put16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

bool IsValidShape(const ImageShape& shape) {
    return shape.width > 0 && shape.height > 0 && shape.width <= 65535 && shape.height <= 65535 &&
           (shape.bits == 8 || shape.bits == 24);
}

std::size_t RowBytes(const ImageShape& shape) { return IsValidShape(shape) ? DibRowBytes(shape.width, shape.bits) : 0; }

std::size_t ImageBytes(const ImageShape& shape) {
    return IsValidShape(shape) ? RowBytes(shape) * static_cast<std::size_t>(shape.height) : 0;
}

std::size_t DibHeaderBytes(const ImageShape& shape) {
    return kBitmapInfoHeaderBytes + (shape.bits == 8 ? kGreyPaletteBytes : 0);
}

TW_IMAGEINFO ImageInfoFor(const ImageShape& shape) {
    TW_IMAGEINFO info{};
    info.XResolution = ToFix32(kDotsPerInch);
    info.YResolution = ToFix32(kDotsPerInch);
    info.ImageWidth = shape.width;
    info.ImageLength = shape.height;
    const bool grey = shape.bits == 8;
    info.SamplesPerPixel = grey ? 1 : 3;
    for (int i = 0; i < info.SamplesPerPixel; ++i) info.BitsPerSample[i] = 8;
    info.BitsPerPixel = static_cast<TW_INT16>(grey ? 8 : 24);
    info.Planar = 0;
    info.PixelType = static_cast<TW_INT16>(grey ? TWPT_GRAY : TWPT_RGB);
    info.Compression = TWCP_NONE;
    return info;
}

TW_IMAGELAYOUT LayoutFor(const ImageShape& shape, TW_UINT32 imageNumber) {
    // In the inches the unit capability names, at the reported resolution.
    TW_IMAGELAYOUT layout{};
    layout.Frame.Left = ToFix32(0);
    layout.Frame.Top = ToFix32(0);
    layout.Frame.Right = ToFix32(static_cast<float>(shape.width) / kDotsPerInch);
    layout.Frame.Bottom = ToFix32(static_cast<float>(shape.height) / kDotsPerInch);
    layout.DocumentNumber = imageNumber;
    layout.PageNumber = imageNumber;
    layout.FrameNumber = imageNumber;
    return layout;
}

void WriteDibHeader(const ImageShape& shape, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (out.size() < DibHeaderBytes(shape)) return;
    std::uint8_t* h = out.data();
    const bool grey = shape.bits == 8;
    Put32(h + 0, kBitmapInfoHeaderBytes);
    Put32(h + 4, static_cast<std::uint32_t>(shape.width));
    Put32(h + 8, static_cast<std::uint32_t>(shape.height));  // bottom-up
    Put16(h + 12, 1);
    Put16(h + 14, static_cast<std::uint16_t>(shape.bits));
    Put32(h + 16, 0);  // BI_RGB
    Put32(h + 20, static_cast<std::uint32_t>(ImageBytes(shape)));
    Put32(h + 24, kPixelsPerMeter);
    Put32(h + 28, kPixelsPerMeter);
    Put32(h + 32, grey ? 256 : 0);
    Put32(h + 36, grey ? 256 : 0);
    if (!grey) return;
    for (int i = 0; i < 256; ++i) {
        std::uint8_t* entry = h + kBitmapInfoHeaderBytes + 4 * i;
        entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
    }
}

std::array<std::uint8_t, kBitmapFileHeaderBytes> BmpFileHeader(const ImageShape& shape) {
    std::array<std::uint8_t, kBitmapFileHeaderBytes> header{};
    header[0] = 'B';
    header[1] = 'M';
    const std::size_t offBits = kBitmapFileHeaderBytes + DibHeaderBytes(shape);
    Put32(header.data() + 2, static_cast<std::uint32_t>(offBits + ImageBytes(shape)));
    Put32(header.data() + 10, static_cast<std::uint32_t>(offBits));
    return header;
}

void CopyStripRows(std::span<const std::uint8_t> dibPixels, const ImageShape& shape, std::uint32_t firstRow,
                   std::uint32_t rows, std::span<std::uint8_t> out) {
    const std::size_t rowBytes = RowBytes(shape);
    const auto height = static_cast<std::uint32_t>(shape.height);
    for (std::uint32_t r = 0; r < rows && firstRow + r < height; ++r) {
        const std::size_t from = static_cast<std::size_t>(height - 1 - (firstRow + r)) * rowBytes;
        const std::size_t to = static_cast<std::size_t>(r) * rowBytes;
        if (from + rowBytes > dibPixels.size() || to + rowBytes > out.size()) return;
        std::memcpy(out.data() + to, dibPixels.data() + from, rowBytes);
        if (shape.bits != 24) continue;
        for (std::int32_t x = 0; x < shape.width; ++x) std::swap(out[to + 3 * x], out[to + 3 * x + 2]);
    }
}

}  // namespace twain
