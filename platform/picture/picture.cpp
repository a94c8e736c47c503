#include "picture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

#include "codecs.h"
#include "replace_file.h"


CPicture::CPicture(const CPicture& other, bool copyPixels, bool copySelection, bool copyAlpha) {
    Copy(other, copyPixels, copySelection, copyAlpha);
}

std::size_t CPicture::StrideFor(int width, int bpp) {
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp) + 31) / 32) * 4;
}

bool CPicture::IsSizeAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

std::array<PaletteEntry, 256> CPicture::GreyPalette() {
    std::array<PaletteEntry, 256> grey{};
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        grey[static_cast<std::size_t>(i)] = {v, v, v, 0};
    }
    return grey;
}

bool CPicture::Fail(std::string message) const {
    lastError_ = std::move(message);
    return false;
}

bool CPicture::Shape(int width, int height, int bpp, int type) {
    Destroy();
    if ((bpp != 8 && bpp != 24) || !IsSizeAllowed(width, height)) {
        return Fail("unsupported picture size or depth");
    }
    width_ = width;
    height_ = height;
    bpp_ = bpp;
    type_ = type;
    stride_ = StrideFor(width, bpp);
    pixels_.resize(stride_ * static_cast<std::size_t>(height));
    if (bpp == 8) {
        const auto grey = GreyPalette();
        palette_.assign(grey.begin(), grey.end());
    }
    return true;
}

bool CPicture::Create(int width, int height, int bpp, int type) {
    if (!Shape(width, height, bpp, type)) {
        return false;
    }
    std::fill(pixels_.begin(), pixels_.end(), std::uint8_t{0});
    return true;
}

bool CPicture::CreateForOverwrite(int width, int height, int bpp, int type) { return Shape(width, height, bpp, type); }

bool CPicture::CreateFromArray(std::span<const std::uint8_t> rows, int width, int height, int bpp, int stride,
                               bool topDown) {
    const int keepType = type_;
    if (!Create(width, height, bpp, keepType)) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp / 8);
    if (stride < 0 || static_cast<std::size_t>(stride) < rowBytes ||
        rows.size() < static_cast<std::size_t>(stride) * static_cast<std::size_t>(height - 1) + rowBytes) {
        Destroy();
        return Fail("pixel array smaller than the picture");
    }
    for (int y = 0; y < height; ++y) {
        const int dibRow = topDown ? height - 1 - y : y;
        std::memcpy(GetBits(dibRow), rows.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride),
                    rowBytes);
    }
    return true;
}

bool CPicture::Copy(const CPicture& source, bool copyPixels, bool, bool) {
    if (&source == this) {
        return true;
    }
    const std::uint8_t quality = jpegQuality_;
    *this = source;
    jpegQuality_ = quality;
    if (!copyPixels && IsValid()) {
        std::fill(pixels_.begin(), pixels_.end(), std::uint8_t{0});
    }
    return IsValid();
}

void CPicture::Destroy() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    palette_.clear();
    width_ = height_ = bpp_ = 0;
    stride_ = 0;
}

std::uint8_t* CPicture::GetBits(int row) {
    if (!IsValid() || row < 0 || row >= height_) {
        return nullptr;
    }
    return pixels_.data() + static_cast<std::size_t>(row) * stride_;
}

const std::uint8_t* CPicture::GetBits(int row) const { return const_cast<CPicture*>(this)->GetBits(row); }

void CPicture::SetPalette(std::span<const PaletteEntry> entries) {
    if (bpp_ != 8) {
        return;
    }
    const auto grey = GreyPalette();
    palette_.assign(grey.begin(), grey.end());
    for (std::size_t i = 0; i < entries.size() && i < palette_.size(); ++i) {
        palette_[i] = entries[i];
    }
}

bool CPicture::IsGreyPalette() const {
    if (bpp_ != 8) {
        return false;
    }
    const auto grey = GreyPalette();
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        if (palette_[i].red != grey[i].red || palette_[i].green != grey[i].green || palette_[i].blue != grey[i].blue) {
            return false;
        }
    }
    return true;
}

std::uint32_t CPicture::GetPixelColor(int x, int y) const {
    if (!IsValid() || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    const std::uint8_t* row = GetBits(height_ - 1 - y);
    if (bpp_ == 8) {
        const PaletteEntry& e = palette_[row[x]];
        return (std::uint32_t{e.red} << 16) | (std::uint32_t{e.green} << 8) | e.blue;
    }
    const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

bool CPicture::Decode(std::span<const std::uint8_t> bytes, int type) {
    if (type == kPictureAuto) {
        type = picture_codec::DetectType(bytes);
    }
    CPicture decoded(type);
    std::string error;
    bool ok = false;
    switch (type) {
    case kPictureBmp: ok = picture_codec::DecodeBmp(bytes, decoded, error); break;
    case kPictureJpeg: ok = picture_codec::DecodeJpeg(bytes, decoded, error); break;
    case kPictureTiff: ok = picture_codec::DecodeTiff(bytes, decoded, error); break;
    case kPicturePng: ok = picture_codec::DecodePng(bytes, decoded, error); break;
    default: error = "unknown picture file kind"; break;
    }
    if (!ok) {
        Destroy();
        return Fail(error.empty() ? "bad picture file" : error);
    }
    decoded.type_ = type;
    decoded.jpegQuality_ = jpegQuality_;
    *this = std::move(decoded);
    lastError_.clear();
    return true;
}

bool CPicture::Encode(std::vector<std::uint8_t>& bytes, int type) const {
    bytes.clear();
    if (!IsValid()) {
        return Fail("no picture to save");
    }
    std::string error;
    bool ok = false;
    switch (type) {
    case kPictureBmp: ok = picture_codec::EncodeBmp(*this, bytes, error); break;
    case kPictureJpeg: ok = picture_codec::EncodeJpeg(*this, jpegQuality_, bytes, error); break;
    case kPictureTiff: ok = picture_codec::EncodeTiff(*this, bytes, error); break;
    case kPicturePng: ok = picture_codec::EncodePng(*this, bytes, error); break;
    default: error = "unknown picture file kind"; break;
    }
    if (!ok) {
        bytes.clear();
        return Fail(error.empty() ? "picture could not be encoded" : error);
    }
    return true;
}

bool CPicture::Load(const std::filesystem::path& path, int type) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!picture_codec::ReadFileBytes(path, bytes, error)) {
        Destroy();
        return Fail(error);
    }
    return Decode(bytes, type);
}

bool CPicture::Save(const std::filesystem::path& path, int type) const {
    std::vector<std::uint8_t> bytes;
    std::span<const std::uint8_t> rows;
    if (type == kPictureBmp) {
        // A BMP file holds the rows as the picture does: they are written
        // from the picture, without a copy of the whole file in memory.
        if (!IsValid()) {
            return Fail("no picture to save");
        }
        std::string error;
        if (!picture_codec::EncodeBmpHeader(*this, bytes, error)) {
            return Fail(error);
        }
        rows = pixels_;
    } else if (!Encode(bytes, type)) {
        return false;
    }
    switch (vz::WriteWholeFile(path, {bytes, rows})) {
    case vz::Replaced::ok: return true;
    case vz::Replaced::notWritten: return Fail("cannot write the picture file");
    case vz::Replaced::notMoved: return Fail("cannot replace the picture file");
    }
    return false;
}
