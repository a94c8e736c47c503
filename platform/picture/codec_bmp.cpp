// BMP files: BITMAPFILEHEADER, then a BITMAPINFOHEADER (or a later, longer
// variant up to V5, or the old 12-byte core header), an optional colour table
// and the rows, bottom-up or (negative height) top-down. Read: 1, 4 and 8 bits
// per pixel with a palette, RLE8 and RLE4, 16 and 32 bits with bit-field
// masks (5-5-5 and 8-8-8 without), and 24 bits. Written: 8-bit with palette
// and 24-bit.
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

namespace {

constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;

// Where one colour channel lies in a 16- or 32-bit pixel.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    // The channel as 8 bits: wider channels keep their top bits, narrower
    // ones repeat their bits downwards (5 bits abcde give abcdeabc), so the
    // largest value stays white.
    std::uint8_t Extract(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) {
            return static_cast<std::uint8_t>(v >> (bits - 8));
        }
        std::uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits) {
            out |= (v << (8 - bits)) >> filled;
        }
        return static_cast<std::uint8_t>(out);
    }
};

// A mask of one run of set bits inside the pixel; false for a zero or
// scattered mask.
bool MakeChannel(std::uint32_t mask, int bpp, Channel& channel) {
    if (mask == 0 || (bpp == 16 && mask > 0xFFFFu)) {
        return false;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const std::uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) {
        return false;
    }
    int bits = 0;
    for (std::uint32_t r = run; r != 0; r >>= 1) {
        ++bits;
    }
    channel = {mask, shift, bits};
    return true;
}

// What the headers say about the pixels.
struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colours = 0;
    std::size_t paletteAt = 0;
    std::size_t paletteEntrySize = 4;
    std::uint32_t pixelOffset = 0;
    Channel red, green, blue;
};

bool ReadLayout(std::span<const std::uint8_t> bytes, BmpLayout& layout, std::string& error) {
    if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') {
        error = "not a BMP file";
        return false;
    }
    layout.pixelOffset = Le32(bytes, 10);
    const std::uint32_t headerSize = Le32(bytes, kFileHeaderSize);
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) {
        error = "unsupported BMP header";
        return false;
    }
    if (bytes.size() - kFileHeaderSize < headerSize) {
        error = "BMP header cut short";
        return false;
    }
    const std::size_t h = kFileHeaderSize;
    if (headerSize == kCoreHeaderSize) {
        layout.width = Le16(bytes, h + 4);
        layout.height = Le16(bytes, h + 6);
        layout.bpp = Le16(bytes, h + 10);
        layout.paletteEntrySize = 3;
    } else {
        layout.width = static_cast<std::int32_t>(Le32(bytes, h + 4));
        layout.height = static_cast<std::int32_t>(Le32(bytes, h + 8));
        layout.bpp = Le16(bytes, h + 14);
        layout.compression = Le32(bytes, h + 16);
        layout.colours = Le32(bytes, h + 32);
    }
    layout.topDown = layout.height < 0;
    layout.height = layout.topDown ? -layout.height : layout.height;
    if (!CPicture::IsSizeAllowed(layout.width, layout.height)) {
        error = "BMP size out of range";
        return false;
    }
    const int bpp = layout.bpp;
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) {
        error = "unsupported BMP depth";
        return false;
    }
    const std::uint32_t c = layout.compression;
    const bool rle = (c == kRle8 && bpp == 8) || (c == kRle4 && bpp == 4);
    if (!(c == kRgb || rle || (c == kBitFields && (bpp == 16 || bpp == 32)))) {
        error = "unsupported BMP compression";
        return false;
    }
    if (rle && layout.topDown) {
        error = "compressed BMP rows must run bottom-up";
        return false;
    }
    // The masks follow a 40-byte header and are part of every longer one.
    layout.paletteAt = h + headerSize;
    std::uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (bpp == 16) {
        masks[0] = 0x7C00u;
        masks[1] = 0x03E0u;
        masks[2] = 0x001Fu;
    }
    if (c == kBitFields) {
        const std::size_t masksAt = h + kInfoHeaderSize;
        if (bytes.size() < masksAt + 12) {
            error = "BMP header cut short";
            return false;
        }
        for (int i = 0; i < 3; ++i) {
            masks[i] = Le32(bytes, masksAt + 4 * static_cast<std::size_t>(i));
        }
    }
    if (bpp == 16 || bpp == 32) {
        if (!MakeChannel(masks[0], bpp, layout.red) || !MakeChannel(masks[1], bpp, layout.green) ||
            !MakeChannel(masks[2], bpp, layout.blue) || (masks[0] & masks[1]) != 0 || (masks[0] & masks[2]) != 0 ||
            (masks[1] & masks[2]) != 0) {
            error = "bad BMP bit fields";
            return false;
        }
    }
    return true;
}

bool ReadPalette(std::span<const std::uint8_t> bytes, const BmpLayout& layout, std::vector<PaletteEntry>& palette,
                 std::string& error) {
    const std::uint32_t maxColours = 1u << layout.bpp;
    const std::uint32_t count = layout.colours == 0 ? maxColours : layout.colours;
    if (count > maxColours) {
        error = "BMP colour table too large";
        return false;
    }
    const std::size_t at = layout.paletteAt;
    if (bytes.size() < at || (bytes.size() - at) / layout.paletteEntrySize < count) {
        error = "BMP colour table cut short";
        return false;
    }
    palette.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = bytes.data() + at + i * layout.paletteEntrySize;
        palette[i] = {e[0], e[1], e[2], 0};
    }
    return true;
}

// One uncompressed file row into one picture row (indices or BGR).
void ConvertRow(const std::uint8_t* src, std::uint8_t* dst, int w, const BmpLayout& layout, std::size_t paletteSize) {
    const bool standardMasks =
        layout.red.mask == 0x00FF0000u && layout.green.mask == 0x0000FF00u && layout.blue.mask == 0x000000FFu;
    switch (layout.bpp) {
    case 1:
    case 4: {
        const int bpp = layout.bpp;
        const int perByte = 8 / bpp;
        const int mask = (1 << bpp) - 1;
        for (int x = 0; x < w; ++x) {
            const int shift = 8 - bpp * (x % perByte + 1);
            const auto index = static_cast<std::uint8_t>((src[x / perByte] >> shift) & mask);
            dst[x] = index < paletteSize ? index : 0;
        }
        break;
    }
    case 8:
        for (int x = 0; x < w; ++x) {
            dst[x] = src[x] < paletteSize ? src[x] : 0;
        }
        break;
    case 24: std::memcpy(dst, src, static_cast<std::size_t>(w) * 3); break;
    case 16:
        for (int x = 0; x < w; ++x) {
            const std::uint32_t pixel = src[x * 2] | (std::uint32_t{src[x * 2 + 1]} << 8);
            dst[x * 3] = layout.blue.Extract(pixel);
            dst[x * 3 + 1] = layout.green.Extract(pixel);
            dst[x * 3 + 2] = layout.red.Extract(pixel);
        }
        break;
    default:  // 32
        if (standardMasks) {
            for (int x = 0; x < w; ++x) {
                std::memcpy(dst + x * 3, src + x * 4, 3);
            }
            break;
        }
        for (int x = 0; x < w; ++x) {
            const std::uint32_t pixel = src[x * 4] | (std::uint32_t{src[x * 4 + 1]} << 8) |
                                        (std::uint32_t{src[x * 4 + 2]} << 16) | (std::uint32_t{src[x * 4 + 3]} << 24);
            dst[x * 3] = layout.blue.Extract(pixel);
            dst[x * 3 + 1] = layout.green.Extract(pixel);
            dst[x * 3 + 2] = layout.red.Extract(pixel);
        }
        break;
    }
}

}  // namespace

bool DecodeBmp(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error) {
    BmpLayout layout;
    if (!ReadLayout(bytes, layout, error)) {
        return false;
    }
    std::vector<PaletteEntry> palette;
    if (layout.bpp <= 8 && !ReadPalette(bytes, layout, palette, error)) {
        return false;
    }
    if (layout.pixelOffset > bytes.size()) {
        error = "BMP pixel data cut short";
        return false;
    }
    const auto pixels = bytes.subspan(layout.pixelOffset);
    const bool rle = layout.compression == kRle8 || layout.compression == kRle4;
    const std::size_t srcStride = CPicture::StrideFor(static_cast<int>(layout.width), layout.bpp);
    if (!rle && pixels.size() / srcStride < static_cast<std::size_t>(layout.height)) {
        error = "BMP pixel data cut short";
        return false;
    }
    const int outBpp = layout.bpp <= 8 ? 8 : 24;
    const int w = static_cast<int>(layout.width);
    const int rows = static_cast<int>(layout.height);
    if (!picture.Create(w, rows, outBpp, kPictureBmp)) {
        error = "BMP size out of range";
        return false;
    }
    if (outBpp == 8) {
        picture.SetPalette(palette);
    }
    if (rle) {
        if (!DecodeBmpRle(pixels, layout.bpp, palette.size(), picture, error)) {
            picture.Destroy();
            return false;
        }
        return true;
    }
    for (int fileRow = 0; fileRow < rows; ++fileRow) {
        const std::uint8_t* src = pixels.data() + static_cast<std::size_t>(fileRow) * srcStride;
        ConvertRow(src, picture.GetBits(layout.topDown ? rows - 1 - fileRow : fileRow), w, layout, palette.size());
    }
    return true;
}

bool FindBmpRgbRows(std::span<const std::uint8_t> bytes, RgbRows& rows) {
    BmpLayout layout;
    std::string ignored;
    if (!ReadLayout(bytes, layout, ignored) || layout.bpp != 24 || layout.compression != kRgb) {
        return false;
    }
    const std::size_t stride = CPicture::StrideFor(static_cast<int>(layout.width), 24);
    if (layout.pixelOffset > bytes.size() ||
        (bytes.size() - layout.pixelOffset) / stride < static_cast<std::size_t>(layout.height)) {
        return false;
    }
    const std::uint8_t* first = bytes.data() + layout.pixelOffset;
    const auto step = static_cast<std::ptrdiff_t>(stride);
    rows.width = static_cast<std::uint32_t>(layout.width);
    rows.height = static_cast<std::uint32_t>(layout.height);
    if (layout.topDown) {
        rows.top = first;
        rows.rowStep = step;
    } else {
        rows.top = first + static_cast<std::ptrdiff_t>(layout.height - 1) * step;
        rows.rowStep = -step;
    }
    return true;
}

bool EncodeBmpHeader(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error) {
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
    out.reserve(pixelOffset);
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
    return true;
}

bool EncodeBmp(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error) {
    if (!EncodeBmpHeader(picture, out, error)) {
        return false;
    }
    out.reserve(out.size() + picture.GetSize());
    const auto pixels = picture.Pixels();
    out.insert(out.end(), pixels.begin(), pixels.end());
    return true;
}

}  // namespace picture_codec
