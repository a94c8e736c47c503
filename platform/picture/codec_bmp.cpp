// BMP files: BITMAPFILEHEADER, then a BITMAPINFOHEADER (or a later, longer
// variant, or the old 12-byte core header), an optional colour table and the
// rows. Uncompressed 1, 4, 8, 24 and 32 bits per pixel and bit-field 32-bit
// files are read; 8-bit (with palette) and 24-bit files are written.
#include <algorithm>
#include <cstring>

#include "codecs.h"

namespace picture_codec {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
           (std::uint32_t{b[at + 3]} << 24);
}

std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

bool DecodeBmp(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error) {
    if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') {
        error = "not a BMP file";
        return false;
    }
    const std::uint32_t pixelOffset = Le32(bytes, 10);
    const std::uint32_t headerSize = Le32(bytes, kFileHeaderSize);
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) {
        error = "unsupported BMP header";
        return false;
    }
    if (bytes.size() - kFileHeaderSize < headerSize) {
        error = "BMP header cut short";
        return false;
    }
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bpp = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colours = 0;
    std::size_t paletteEntrySize = 4;
    const std::size_t h = kFileHeaderSize;
    if (headerSize == kCoreHeaderSize) {
        width = Le16(bytes, h + 4);
        height = Le16(bytes, h + 6);
        bpp = Le16(bytes, h + 10);
        paletteEntrySize = 3;
    } else {
        width = static_cast<std::int32_t>(Le32(bytes, h + 4));
        height = static_cast<std::int32_t>(Le32(bytes, h + 8));
        bpp = Le16(bytes, h + 14);
        compression = Le32(bytes, h + 16);
        colours = Le32(bytes, h + 32);
    }
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    if (!CPicture::IsSizeAllowed(width, height)) {
        error = "BMP size out of range";
        return false;
    }
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32)) {
        error = "unsupported BMP depth";
        return false;
    }
    if (!(compression == kRgb || (compression == kBitFields && bpp == 32))) {
        error = "compressed BMP files are not supported";
        return false;
    }
    // Bit fields of a 32-bit file: only the usual byte-aligned layout is read.
    std::size_t masksAt = h + headerSize;
    if (compression == kBitFields) {
        if (headerSize == kInfoHeaderSize) {
            if (bytes.size() < masksAt + 12) {
                error = "BMP header cut short";
                return false;
            }
        } else {
            masksAt = h + kInfoHeaderSize;
        }
        if (Le32(bytes, masksAt) != 0x00FF0000u || Le32(bytes, masksAt + 4) != 0x0000FF00u ||
            Le32(bytes, masksAt + 8) != 0x000000FFu) {
            error = "unsupported BMP bit fields";
            return false;
        }
    }

    std::vector<PaletteEntry> palette;
    if (bpp <= 8) {
        const std::uint32_t maxColours = 1u << bpp;
        const std::uint32_t count = colours == 0 ? maxColours : colours;
        if (count > maxColours) {
            error = "BMP colour table too large";
            return false;
        }
        const std::size_t at = h + headerSize;
        if (bytes.size() < at || (bytes.size() - at) / paletteEntrySize < count) {
            error = "BMP colour table cut short";
            return false;
        }
        palette.resize(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = bytes.data() + at + i * paletteEntrySize;
            palette[i] = {e[0], e[1], e[2], 0};
        }
    }

    const std::size_t srcStride = CPicture::StrideFor(static_cast<int>(width), bpp);
    const std::size_t need = srcStride * static_cast<std::size_t>(height);
    if (pixelOffset > bytes.size() || bytes.size() - pixelOffset < need) {
        error = "BMP pixel data cut short";
        return false;
    }
    const int outBpp = bpp <= 8 ? 8 : 24;
    if (!picture.Create(static_cast<int>(width), static_cast<int>(height), outBpp, kPictureBmp)) {
        error = "BMP size out of range";
        return false;
    }
    if (outBpp == 8) {
        picture.SetPalette(palette);
    }
    const int w = static_cast<int>(width);
    const int rows = static_cast<int>(height);
    for (int fileRow = 0; fileRow < rows; ++fileRow) {
        const std::uint8_t* src = bytes.data() + pixelOffset + static_cast<std::size_t>(fileRow) * srcStride;
        std::uint8_t* dst = picture.GetBits(topDown ? rows - 1 - fileRow : fileRow);
        switch (bpp) {
        case 1:
        case 4: {
            const int perByte = 8 / bpp;
            const int mask = (1 << bpp) - 1;
            for (int x = 0; x < w; ++x) {
                const int shift = 8 - bpp * (x % perByte + 1);
                const auto index = static_cast<std::uint8_t>((src[x / perByte] >> shift) & mask);
                dst[x] = index < palette.size() ? index : 0;
            }
            break;
        }
        case 8:
            for (int x = 0; x < w; ++x) {
                dst[x] = src[x] < palette.size() ? src[x] : 0;
            }
            break;
        case 24: std::memcpy(dst, src, static_cast<std::size_t>(w) * 3); break;
        default:  // 32: BGRX
            for (int x = 0; x < w; ++x) {
                std::memcpy(dst + x * 3, src + x * 4, 3);
            }
            break;
        }
    }
    return true;
}

bool FindBmpRgbRows(std::span<const std::uint8_t> bytes, RgbRows& rows) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const std::size_t h = kFileHeaderSize;
    const std::uint32_t headerSize = Le32(bytes, h);
    if (headerSize < kInfoHeaderSize || bytes.size() - kFileHeaderSize < headerSize || Le16(bytes, h + 14) != 24 ||
        Le32(bytes, h + 16) != kRgb) {
        return false;
    }
    const std::int64_t width = static_cast<std::int32_t>(Le32(bytes, h + 4));
    const std::int64_t signedHeight = static_cast<std::int32_t>(Le32(bytes, h + 8));
    const std::int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    if (!CPicture::IsSizeAllowed(width, height)) {
        return false;
    }
    const std::uint32_t pixelOffset = Le32(bytes, 10);
    const std::size_t stride = CPicture::StrideFor(static_cast<int>(width), 24);
    if (pixelOffset > bytes.size() || (bytes.size() - pixelOffset) / stride < static_cast<std::size_t>(height)) {
        return false;
    }
    const std::uint8_t* first = bytes.data() + pixelOffset;
    const auto step = static_cast<std::ptrdiff_t>(stride);
    rows.width = static_cast<std::uint32_t>(width);
    rows.height = static_cast<std::uint32_t>(height);
    if (signedHeight < 0) {
        rows.top = first;
        rows.rowStep = step;
    } else {
        rows.top = first + static_cast<std::ptrdiff_t>(height - 1) * step;
        rows.rowStep = -step;
    }
    return true;
}

bool EncodeBmp(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error) {
    const int bpp = picture.GetBpp();
    if (bpp != 8 && bpp != 24) {
        error = "unsupported picture depth";
        return false;
    }
    const std::uint32_t paletteBytes = bpp == 8 ? 256 * 4 : 0;
    const std::uint32_t pixelOffset = static_cast<std::uint32_t>(kFileHeaderSize) + kInfoHeaderSize + paletteBytes;
    const std::uint64_t fileSize = std::uint64_t{pixelOffset} + picture.GetSize();
    if (fileSize > UINT32_MAX) {
        error = "picture too large for BMP";
        return false;
    }
    out.clear();
    out.reserve(static_cast<std::size_t>(fileSize));
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(fileSize));
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(picture.GetWidth()));
    Put32(out, static_cast<std::uint32_t>(picture.GetHeight()));
    Put16(out, 1);
    Put16(out, static_cast<std::uint16_t>(bpp));
    Put32(out, kRgb);
    Put32(out, static_cast<std::uint32_t>(picture.GetSize()));
    Put32(out, 3780);  // 96 dots per inch, in dots per metre
    Put32(out, 3780);
    Put32(out, bpp == 8 ? 256 : 0);
    Put32(out, 0);
    for (const PaletteEntry& e : picture.GetPalette()) {
        out.insert(out.end(), {e.blue, e.green, e.red, 0});
    }
    const auto pixels = picture.Pixels();
    out.insert(out.end(), pixels.begin(), pixels.end());
    return true;
}

}  // namespace picture_codec
