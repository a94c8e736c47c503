#pragma once
// JPEG pictures through libjpeg: colour (3 components, RGB) or grey (1).

#include <cstdint>
#include <filesystem>
#include <span>

namespace kq::files {

// `pixels` holds height rows of width x bits / 8 bytes in blue, green, red
// order (bits 24 or 32, the fourth byte ignored) or grey (8 bits, always a
// grey JPEG). With `flipRows` the buffer is bottom-up and the picture is
// turned upright. `color` false makes a grey picture of a colour buffer
// (0.299 R + 0.587 G + 0.114 B). Quality 0..100. False when the arguments do
// not describe the buffer, libjpeg fails or the file cannot be written; an
// earlier file of that name is then left as it was, with no partial file.
bool WriteJpegFile(const std::filesystem::path& path, std::span<const std::uint8_t> pixels, bool flipRows, bool color,
                   std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel, std::int32_t quality);

}  // namespace kq::files
