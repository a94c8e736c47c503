#include "jpeg_file.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "replace_file.h"

namespace kq::files {
namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

// libjpeg's fatal errors must not end the process: jump back and fail.
[[noreturn]] void OnFatalError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->back, 1); }

void Silent(j_common_ptr) {}

// Plain C objects only between setjmp and longjmp. On success *out is a
// malloc'd block the caller frees.
bool Compress(const std::uint8_t* rows, int width, int height, int components, int quality, unsigned char** out,
              unsigned long* outBytes) {
    jpeg_compress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = OnFatalError;
    trap.manager.output_message = Silent;
    if (setjmp(trap.back) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outBytes);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool WriteJpegFile(const std::filesystem::path& path, std::span<const std::uint8_t> pixels, bool flipRows, bool color,
                   std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel, std::int32_t quality) {
    const int inBytes = bitsPerPixel / 8;
    if (width <= 0 || height <= 0 || (inBytes != 1 && inBytes != 3 && inBytes != 4)) return false;
    if (quality < 0 || quality > 100) return false;
    const std::size_t inRow = static_cast<std::size_t>(width) * inBytes;
    if (pixels.size() < inRow * static_cast<std::size_t>(height)) return false;
    if (inBytes == 1) color = false;

    // Top-down rows in the order libjpeg takes them: R G B, or grey.
    const int components = color ? 3 : 1;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(width) * height * components);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* in = pixels.data() + (flipRows ? height - 1 - y : y) * inRow;
        std::uint8_t* out = rows.data() + static_cast<std::size_t>(y) * width * components;
        for (std::int32_t x = 0; x < width; ++x, in += inBytes) {
            if (inBytes == 1) {
                *out++ = in[0];
            } else if (color) {
                *out++ = in[2];
                *out++ = in[1];
                *out++ = in[0];
            } else {
                *out++ = static_cast<std::uint8_t>(0.587 * in[1] + 0.299 * in[2] + 0.114 * in[0]);
            }
        }
    }

    unsigned char* encoded = nullptr;
    unsigned long encodedBytes = 0;
    const bool ok = Compress(rows.data(), width, height, components, quality, &encoded, &encodedBytes);
    std::unique_ptr<unsigned char, decltype(&std::free)> owned(encoded, &std::free);
    if (!ok) return false;
    return vz::WriteWholeFile(path, std::span<const std::uint8_t>(encoded, encodedBytes)) == vz::Replaced::ok;
}

}  // namespace kq::files
