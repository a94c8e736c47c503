// Run-length compressed BMP rows (RLE8 and RLE4). The stream paints palette
// indices from the bottom-left pixel: a count and a value paint a run (RLE4
// alternates the value's two nibbles), a zero count escapes to end of line,
// end of picture, a jump right and up, or a literal stretch padded to a
// whole 16-bit word. Pixels the stream skips keep index 0. A run or jump past
// the row or the picture, or a stream that ends before its end-of-picture
// mark, fails the whole file. A run may reach into the row's padding (to a
// multiple of 4 bytes), as common encoders compress the padded rows; those
// pixels are dropped.
#include "codecs.h"

namespace picture_codec {

bool DecodeBmpRle(std::span<const std::uint8_t> data, int bpp, std::size_t paletteSize, CPicture& picture,
                  std::string& error) {
    const std::uint32_t width = static_cast<std::uint32_t>(picture.GetWidth());
    const std::uint32_t height = static_cast<std::uint32_t>(picture.GetHeight());
    const auto rowEnd = static_cast<std::uint32_t>(CPicture::StrideFor(picture.GetWidth(), bpp) * 8 / bpp);
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::size_t at = 0;
    const auto put = [&](std::uint32_t column, std::uint8_t index) {
        if (column < width) {
            picture.GetBits(static_cast<int>(y))[column] = index < paletteSize ? index : 0;
        }
    };
    // A stretch of `count` pixels from the current position must stay in the
    // current row of the picture.
    const auto fits = [&](std::uint32_t count) {
        if (y >= height || count > rowEnd - x) {
            error = "BMP run goes past the picture";
            return false;
        }
        return true;
    };
    for (;;) {
        if (data.size() - at < 2) {
            error = "BMP compressed data cut short";
            return false;
        }
        const std::uint8_t count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (!fits(count)) {
                return false;
            }
            for (std::uint32_t i = 0; i < count; ++i) {
                put(x + i, bpp == 8 ? value : static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F));
            }
            x += count;
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            ++y;
            break;
        case 1:  // end of picture
            return true;
        case 2: {  // jump right and up
            if (data.size() - at < 2) {
                error = "BMP compressed data cut short";
                return false;
            }
            const std::uint32_t right = data[at];
            const std::uint32_t up = data[at + 1];
            at += 2;
            if (right > rowEnd - x || up > height - y) {
                error = "BMP run goes past the picture";
                return false;
            }
            x += right;
            y += up;
            break;
        }
        default: {  // `value` literal pixels
            const std::size_t literalBytes = bpp == 8 ? value : (value + 1u) / 2;
            const std::size_t paddedBytes = (literalBytes + 1) & ~std::size_t{1};
            if (data.size() - at < paddedBytes) {
                error = "BMP compressed data cut short";
                return false;
            }
            if (!fits(value)) {
                return false;
            }
            for (std::uint32_t i = 0; i < value; ++i) {
                const std::uint8_t b = data[at + (bpp == 8 ? i : i / 2)];
                put(x + i, bpp == 8 ? b : static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F));
            }
            x += value;
            at += paddedBytes;
            break;
        }
        }
    }
}

}  // namespace picture_codec
