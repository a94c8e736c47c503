// PNG through libpng. A failing libpng call leaves by longjmp to the setjmp
// of Encode, whose frame holds no object with a destructor.
#include <csetjmp>

#include <png.h>

#include "picture_files.h"
#include "picture_rows.h"

namespace kqge {
namespace {

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

int ColorTypeOf(int samples) {
    switch (samples) {
    case 1: return PNG_COLOR_TYPE_GRAY;
    case 3: return PNG_COLOR_TYPE_RGB;
    default: return PNG_COLOR_TYPE_RGB_ALPHA;
    }
}

bool Encode(std::FILE* file, const PictureRows& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &OnError, &OnWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rows.width), static_cast<png_uint_32>(rows.height),
                 rows.layout.bitsPerSample, ColorTypeOf(rows.layout.samplesPerPixel), PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // libpng copies each row before transforming it: the caller's picture
    // stays as it is.
    png_set_bgr(png);
    if (rows.layout.bitsPerSample == 16) png_set_swap(png);
    for (std::int32_t y = 0; y < rows.height; ++y) {
        png_write_row(png, const_cast<png_bytep>(rows.TopDownRow(y)));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePngFile(const std::filesystem::path& path, std::span<const std::uint8_t> pixels, std::int32_t width,
                  std::int32_t height, std::int32_t bitsPerPixel) {
    PictureRows rows;
    if (!DescribeRows(pixels, width, height, bitsPerPixel, rows)) return false;
    UniqueFile file = OpenForWriting(path);
    if (!file || !Encode(file.get(), rows)) return false;
    return std::fclose(file.release()) == 0;
}

}  // namespace kqge
