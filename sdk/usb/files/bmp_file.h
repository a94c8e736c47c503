#pragma once
// Uncompressed BMP pictures: BITMAPFILEHEADER, BITMAPINFOHEADER, a grey
// palette at 8 bits, rows bottom-up padded with zeros to 4 bytes.

#include <cstdint>
#include <filesystem>
#include <span>

namespace kq::files {

// `pixels` holds height rows of width x bits / 8 bytes without gaps. With
// `bottomUp` the rows are in file order already; otherwise the buffer is
// top-down and written in reverse. Bits 8 or 24. False when the arguments
// do not describe the buffer or the file cannot be written, which leaves an
// earlier file of that name as it was and no partial file.
bool WriteBmpFile(const std::filesystem::path& path, std::span<const std::uint8_t> pixels, std::int32_t width,
                  std::int32_t height, std::int32_t bitsPerPixel, bool bottomUp);

// Bytes of one stored row.
constexpr std::uint32_t BmpRowBytes(std::int32_t width, std::int32_t bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel) / 8u) + 3u) & ~3u;
}

}  // namespace kq::files
