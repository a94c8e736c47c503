#pragma once
// The frame copy into a data source's image record: the library delivers
// rows top-down and packed, the record describes a bottom-up DIB whose rows
// are padded to whole 32-bit words.

#include <cstddef>
#include <cstdint>
#include <span>

namespace twain {

struct FrameShape {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 24;  // 8 or 24
};

// Bytes of one DIB row: ((width x bits + 31) / 32) x 4.
std::size_t DibRowBytes(std::int32_t width, std::int32_t bitsPerPixel);
// Bytes of the packed frame the library delivers.
std::size_t PackedFrameBytes(const FrameShape& shape);

// Writes the frame bottom-up into dib (its first row is the frame's last),
// each row padded with zeros; stops at the end of dib and never reads past
// the packed frame. Returns the bytes written.
std::size_t CopyFrameToDib(std::span<const std::uint8_t> topDown, const FrameShape& shape, std::span<std::uint8_t> dib);

}  // namespace twain
