#pragma once
// File codecs behind CPicture::Decode and CPicture::Encode. Each decoder
// fills `picture` completely or returns false with `error` set; each encoder
// appends the whole file to `out` or returns false.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "picture.h"

namespace picture_codec {

// The kind of a file from its first bytes; kPictureAuto when unknown.
int DetectType(std::span<const std::uint8_t> bytes);

// The whole file, refused when it is larger than any picture the program could hold.
bool ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::string& error);

bool DecodeBmp(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error);
// RLE8 (bpp 8) or RLE4 (bpp 4) rows from `data` into the created 8-bit
// `picture`; indices not below paletteSize become 0.
bool DecodeBmpRle(std::span<const std::uint8_t> data, int bpp, std::size_t paletteSize, CPicture& picture,
                  std::string& error);

// 24-bit rows read in place from a file's bytes: `top` is the top row and
// rows are `rowStep` bytes apart (negative when the file stores them bottom-up).
struct RgbRows {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t rowStep = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};
// True for an uncompressed 24-bit BMP whose rows all lie inside `bytes`; the
// rows point into `bytes`. Every other file gives false (DecodeBmp reads it).
bool FindBmpRgbRows(std::span<const std::uint8_t> bytes, RgbRows& rows);
bool EncodeBmp(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error);
// What comes before the pixel rows in EncodeBmp's file: the headers and the
// palette. The rows follow as the picture holds them.
bool EncodeBmpHeader(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error);

// minWidth and minHeight, when not 0, let the decoder work at 1/2, 1/4 or
// 1/8 of the size, the smallest that is still at least that large.
bool DecodeJpeg(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error, std::uint32_t minWidth = 0,
                std::uint32_t minHeight = 0);
// The picture size from the JPEG's header, without decoding pixels.
bool ReadJpegSize(std::span<const std::uint8_t> bytes, std::uint32_t& width, std::uint32_t& height, std::string& error);
bool EncodeJpeg(const CPicture& picture, int quality, std::vector<std::uint8_t>& out, std::string& error);

bool DecodePng(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error);
bool EncodePng(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error);

bool DecodeTiff(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error);
bool EncodeTiff(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error);

// Row `y` counted from the top, as 8-bit RGB triples (palette applied); for
// encoders that need colour rows. `rgb` holds width * 3 bytes.
void RowToRgb(const CPicture& picture, int y, std::span<std::uint8_t> rgb);

}  // namespace picture_codec
