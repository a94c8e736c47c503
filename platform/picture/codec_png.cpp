// PNG through libpng. As with JPEG, libpng leaves a failing call by longjmp to
// the setjmp of the calling function, whose frame holds no object with a
// destructor.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <png.h>

#include "codecs.h"

namespace picture_codec {
namespace {

struct Reader {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

void ReadBytes(png_structp png, png_bytep dest, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->bytes.size() - reader->pos < length) {
        png_error(png, "PNG file cut short");
    }
    std::memcpy(dest, reader->bytes.data() + reader->pos, length);
    reader->pos += length;
}

void WriteBytes(png_structp png, png_bytep src, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), src, src + length);
}

void FlushNothing(png_structp) {}

struct Messages {
    char text[128] = "bad PNG file";
};

void OnError(png_structp png, png_const_charp message) {
    auto* messages = static_cast<Messages*>(png_get_error_ptr(png));
    std::snprintf(messages->text, sizeof messages->text, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

bool Decode(Reader& reader, CPicture& picture, std::vector<std::uint8_t>& rowBuffer, Messages& messages) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &messages, &OnError, &OnWarning);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, &ReadBytes);
    png_set_user_limits(png, CPicture::kMaxSide, CPicture::kMaxSide);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colourType = png_get_color_type(png, info);
    if (!CPicture::IsSizeAllowed(width, height)) {
        std::snprintf(messages.text, sizeof messages.text, "PNG size out of range");
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    // Palette files stay indexed; grey files stay 8-bit grey; everything
    // else becomes 8-bit-per-channel BGR without alpha.
    const bool indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    const bool grey = colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA;
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_packing(png);
    if (grey) {
        png_set_expand_gray_1_2_4_to_8(png);
    } else if (!indexed) {
        png_set_bgr(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (!picture.Create(static_cast<int>(width), static_cast<int>(height), indexed || grey ? 8 : 24, kPicturePng)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    if (indexed) {
        png_colorp colours = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &colours, &count) != 0) {
            PaletteEntry entries[256];
            for (int i = 0; i < count && i < 256; ++i) {
                entries[i] = {colours[i].blue, colours[i].green, colours[i].red, 0};
            }
            picture.SetPalette(std::span(entries, static_cast<std::size_t>(count < 256 ? count : 256)));
        }
    }
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes > picture.GetStride()) {
        png_error(png, "unexpected PNG row layout");
    }
    // Interlaced files need all rows at once; the picture's own rows serve,
    // listed top to bottom.
    rowBuffer.resize(static_cast<std::size_t>(height) * sizeof(png_bytep));
    auto* rows = reinterpret_cast<png_bytep*>(rowBuffer.data());
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = picture.GetBits(static_cast<int>(height - 1 - y));
    }
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool Encode(const CPicture& picture, std::vector<std::uint8_t>& out, Messages& messages) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &messages, &OnError, &OnWarning);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, &WriteBytes, &FlushNothing);
    const bool eightBit = picture.GetBpp() == 8;
    const bool grey = eightBit && picture.IsGreyPalette();
    const int colourType = grey ? PNG_COLOR_TYPE_GRAY : (eightBit ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.GetWidth()), static_cast<png_uint_32>(picture.GetHeight()),
                 8, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (eightBit && !grey) {
        png_color colours[256];
        const auto palette = picture.GetPalette();
        for (std::size_t i = 0; i < 256; ++i) {
            colours[i] = {palette[i].red, palette[i].green, palette[i].blue};
        }
        png_set_PLTE(png, info, colours, 256);
    }
    png_write_info(png, info);
    if (!eightBit) {
        png_set_bgr(png);
    }
    const int height = picture.GetHeight();
    for (int y = 0; y < height; ++y) {
        png_write_row(png, picture.GetBits(height - 1 - y));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool DecodePng(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error) {
    Reader reader{bytes, 0};
    Messages messages;
    std::vector<std::uint8_t> rowBuffer;
    if (!Decode(reader, picture, rowBuffer, messages)) {
        error = messages.text;
        return false;
    }
    return true;
}

bool EncodePng(const CPicture& picture, std::vector<std::uint8_t>& out, std::string& error) {
    Messages messages;
    out.clear();
    if (!Encode(picture, out, messages)) {
        error = messages.text;
        return false;
    }
    return true;
}

}  // namespace picture_codec
