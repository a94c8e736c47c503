// Picture files of the GigE library: BMP, JPEG, TIFF and PNG from a picture
// in memory (rows bottom-up, colour bytes blue, green, red), written upright.
// A file is only ever replaced by a completely written one: a writer that
// fails leaves no file behind and an existing file as it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace kqge {

enum class PictureFormat { bmp, jpeg, tiff, png };

// The path with the format's extension appended unless it already ends in
// one the format accepts, case as listed: ".bmp" ".BMP"; ".jpg" ".JPG"
// ".jpeg" ".JPEG"; ".tif" ".TIF" ".TIFF" ".tiff"; ".png" ".PNG".
std::filesystem::path WithPictureExtension(const std::filesystem::path& path, PictureFormat format);

// Sample layout of a TIFF or PNG picture: 16-bit samples for 16, 48 and 64
// bits per pixel, 8-bit samples otherwise; 1, 3 or 4 samples per pixel.
struct SampleLayout {
    int bitsPerSample = 0;
    int samplesPerPixel = 0;
};
// False for bit counts that are no such layout.
bool SampleLayoutOf(std::int32_t bitsPerPixel, SampleLayout& layout);

// `pixels` holds height rows of width x bits / 8 bytes. Each returns false
// when the arguments do not describe the buffer or the file could not be
// written. `path` is used as given.
bool WriteTiffFile(const std::filesystem::path& path, std::span<const std::uint8_t> pixels, std::int32_t width,
                   std::int32_t height, std::int32_t bitsPerPixel);
bool WritePngFile(const std::filesystem::path& path, std::span<const std::uint8_t> pixels, std::int32_t width,
                  std::int32_t height, std::int32_t bitsPerPixel);

// Results of SavePicture.
inline constexpr int kPictureSaved = 0;
inline constexpr int kPictureNotWritten = 3;
inline constexpr int kPictureDepthUnsupported = 17;
inline constexpr int kPictureKindUnknown = 20;

// The writer of `kind` (0 BMP at 8 or 24 bits, 1 JPEG at quality 100 from
// 8 or 24 bits, colour at 24; 2 TIFF; 3 PNG) on the path with the format's
// extension. The caller's pixels are never changed.
int SavePicture(std::span<const std::uint8_t> pixels, const std::filesystem::path& path, std::int32_t width,
                std::int32_t height, std::int32_t bitsPerPixel, std::int32_t kind);

}  // namespace kqge
