#pragma once
// The yardstick of the decoding benchmarks: libjpeg with nothing around it,
// RGB rows into one buffer the caller reuses (at least width x height x 3).
#include <cstddef>
#include <cstdint>
#include <span>

#include <cstdio>

#include <jpeglib.h>

inline void PlainJpegDecode(std::span<const std::uint8_t> file, std::span<std::uint8_t> pixels) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = std::size_t{cinfo.output_width} * 3;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + cinfo.output_scanline * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}
