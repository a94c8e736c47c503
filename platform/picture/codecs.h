#pragma once
// File codecs behind CPicture::Decode and CPicture::Encode. Each decoder
// fills `picture` completely or returns false with `error` set; each encoder
// appends the whole file to `out` or returns false.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "picture.h"

namespace picture_codec {

// The kind of a file from its first bytes; kPictureAuto when unknown.
int DetectType(std::span<const std::uint8_t> bytes);

bool DecodeBmp(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error);
bool EncodeBmp(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error);

bool DecodeJpeg(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error);
bool EncodeJpeg(const CPicture& picture, int quality, std::vector<std::uint8_t>& out, std::string& error);

bool DecodePng(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error);
bool EncodePng(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error);

bool DecodeTiff(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error);
bool EncodeTiff(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error);

// Row `y` counted from the top, as 8-bit RGB triples (palette applied); for
// encoders that need colour rows. `rgb` holds width * 3 bytes.
void RowToRgb(const CPicture& picture, int y, std::span<std::uint8_t> rgb);

}  // namespace picture_codec
