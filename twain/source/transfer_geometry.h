#pragma once
// The picture as every transfer describes it: image information and layout,
// the DIB of native and file transfers, the BMP file header and the strips
// of memory transfers all come from one shape, so they agree on width,
// height, bits and resolution.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "twain_protocol.h"

namespace twain {

struct ImageShape {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bits = 24;  // 8 (grey) or 24 (RGB)
};

// The resolution every transfer reports: the native resolution the
// capability table offers.
inline constexpr int kDotsPerInch = 100;
inline constexpr std::int32_t kPixelsPerMeter = 3937;  // 100 dpi
inline constexpr std::size_t kBitmapInfoHeaderBytes = 40;
inline constexpr std::size_t kBitmapFileHeaderBytes = 14;
inline constexpr std::size_t kGreyPaletteBytes = 256 * 4;

bool IsValidShape(const ImageShape& shape);
std::size_t RowBytes(const ImageShape& shape);
std::size_t ImageBytes(const ImageShape& shape);
// Header and palette in front of the pixels of a DIB.
std::size_t DibHeaderBytes(const ImageShape& shape);

TW_IMAGEINFO ImageInfoFor(const ImageShape& shape);
TW_IMAGELAYOUT LayoutFor(const ImageShape& shape, TW_UINT32 imageNumber);

// BITMAPINFOHEADER and, for 8-bit pictures, the grey palette; out holds
// DibHeaderBytes(shape).
void WriteDibHeader(const ImageShape& shape, std::span<std::uint8_t> out);
std::array<std::uint8_t, kBitmapFileHeaderBytes> BmpFileHeader(const ImageShape& shape);

// Rows [firstRow, firstRow + rows) counted from the top, from a bottom-up
// DIB's pixels into out as top-down rows of RowBytes(shape), red first.
void CopyStripRows(std::span<const std::uint8_t> dibPixels, const ImageShape& shape, std::uint32_t firstRow,
                   std::uint32_t rows, std::span<std::uint8_t> out);

}  // namespace twain
