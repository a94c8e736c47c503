// JPEG through libjpeg: grey, YCbCr, RGB, and CMYK or YCCK (printing
// programs' files) converted to colour. libjpeg reports errors through a callback that must
// not return; it jumps back to the setjmp in the calling function, which
// declares no object with a destructor between the setjmp and the libjpeg
// calls, so nothing is skipped by the jump.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "codecs.h"

namespace picture_codec {
namespace {

// Decoders that need more working memory than this (progressive files keep
// every coefficient) fail cleanly instead of taking the machine's memory.
constexpr long kMaxJpegWorkingMemory = 160L << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

void InitErrors(ErrorManager& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = &OnError;
    errors.base.emit_message = &OnMessage;
    errors.message[0] = '\0';
}

// Bytes written by libjpeg through jpeg_mem_dest, freed with free().
struct MemoryDestination {
    unsigned char* data = nullptr;
    unsigned long size = 0;
    ~MemoryDestination() { std::free(data); }
};

// The largest of 8, 4 and 2 (1 when none) by which libjpeg may reduce a
// picture of width x height and keep at least minWidth x minHeight.
unsigned ScaleDenominator(JDIMENSION width, JDIMENSION height, std::uint32_t minWidth, std::uint32_t minHeight) {
    if (minWidth == 0 || minHeight == 0) {
        return 1;
    }
    for (unsigned d = 8; d > 1; d /= 2) {
        if ((width + d - 1) / d >= minWidth && (height + d - 1) / d >= minHeight) {
            return d;
        }
    }
    return 1;
}

// libjpeg-turbo writes the DIB's blue-green-red order itself; plain libjpeg
// gives red-green-blue, which the decoder swaps.
#ifdef JCS_EXTENSIONS
constexpr J_COLOR_SPACE kBgr = JCS_EXT_BGR;
constexpr bool kBgrIsNative = true;
#else
constexpr J_COLOR_SPACE kBgr = JCS_RGB;
constexpr bool kBgrIsNative = false;
#endif

// x / 255 rounded, for x up to 255 * 255.
std::uint8_t DivideBy255(std::uint32_t x) { return static_cast<std::uint8_t>((x + 128 + ((x + 128) >> 8)) >> 8); }

// CMYK samples (libjpeg has already turned YCCK into CMYK) to BGR: each
// colour is the light its ink lets through times the light black lets through.
void InkToBgr(std::span<const std::uint8_t> cmyk, bool inverted, std::uint8_t* dst, int width) {
    const std::uint8_t flip = inverted ? 0 : 255;
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* s = cmyk.data() + static_cast<std::size_t>(x) * 4;
        const std::uint32_t white = s[3] ^ flip;
        dst[x * 3] = DivideBy255((s[2] ^ flip) * white);
        dst[x * 3 + 1] = DivideBy255((s[1] ^ flip) * white);
        dst[x * 3 + 2] = DivideBy255((s[0] ^ flip) * white);
    }
}

bool Decode(std::span<const std::uint8_t> bytes, CPicture& picture, std::vector<std::uint8_t>& rowBuffer,
            std::uint32_t minWidth, std::uint32_t minHeight, std::string& error) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    InitErrors(errors);
    cinfo.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        error = errors.message;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxJpegWorkingMemory;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    const J_COLOR_SPACE space = cinfo.jpeg_color_space;
    const bool grey = space == JCS_GRAYSCALE;
    const bool ink = space == JCS_CMYK || space == JCS_YCCK;
    if (!grey && !ink && space != JCS_YCbCr && space != JCS_RGB) {
        jpeg_destroy_decompress(&cinfo);
        error = "unsupported JPEG colour space";
        return false;
    }
    // Files with Adobe's marker store ink as 255 - amount.
    const bool inkInverted = cinfo.saw_Adobe_marker;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : (ink ? JCS_CMYK : kBgr);
    if (!CPicture::IsSizeAllowed(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        error = "JPEG size out of range";
        return false;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = ScaleDenominator(cinfo.image_width, cinfo.image_height, minWidth, minHeight);
    jpeg_start_decompress(&cinfo);
    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    if (!picture.Create(width, height, grey ? 8 : 24, kPictureJpeg)) {
        jpeg_destroy_decompress(&cinfo);
        error = "JPEG size out of range";
        return false;
    }
    const bool direct = grey || (!ink && kBgrIsNative);
    rowBuffer.resize(direct ? 0 : static_cast<std::size_t>(width) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        std::uint8_t* dst = picture.GetBits(height - 1 - y);
        JSAMPROW row = direct ? dst : rowBuffer.data();
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (ink) {
            InkToBgr(rowBuffer, inkInverted, dst, width);
        } else if (!direct) {
            for (int x = 0; x < width; ++x) {
                dst[x * 3] = rowBuffer[static_cast<std::size_t>(x) * 3 + 2];
                dst[x * 3 + 1] = rowBuffer[static_cast<std::size_t>(x) * 3 + 1];
                dst[x * 3 + 2] = rowBuffer[static_cast<std::size_t>(x) * 3];
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool Encode(const CPicture& picture, int quality, MemoryDestination& destination, std::vector<std::uint8_t>& rowBuffer,
            std::string& error) {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    InitErrors(errors);
    cinfo.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        error = errors.message;
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &destination.data, &destination.size);
    const bool grey = picture.GetBpp() == 8 && picture.IsGreyPalette();
    cinfo.image_width = static_cast<JDIMENSION>(picture.GetWidth());
    cinfo.image_height = static_cast<JDIMENSION>(picture.GetHeight());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    rowBuffer.resize(static_cast<std::size_t>(picture.GetWidth()) * 3);
    const int height = picture.GetHeight();
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        JSAMPROW row = nullptr;
        if (grey) {
            row = const_cast<JSAMPROW>(picture.GetBits(height - 1 - y));
        } else {
            RowToRgb(picture, y, rowBuffer);
            row = rowBuffer.data();
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

bool DecodeJpeg(std::span<const std::uint8_t> bytes, CPicture& picture, std::string& error, std::uint32_t minWidth,
                std::uint32_t minHeight) {
    if (bytes.empty()) {
        error = "empty JPEG file";
        return false;
    }
    std::vector<std::uint8_t> rowBuffer;
    return Decode(bytes, picture, rowBuffer, minWidth, minHeight, error);
}

bool ReadJpegSize(std::span<const std::uint8_t> bytes, std::uint32_t& width, std::uint32_t& height,
                  std::string& error) {
    if (bytes.empty()) {
        error = "empty JPEG file";
        return false;
    }
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    InitErrors(errors);
    cinfo.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        error = errors.message;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    width = cinfo.image_width;
    height = cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    if (!CPicture::IsSizeAllowed(width, height)) {
        error = "JPEG size out of range";
        return false;
    }
    return true;
}

bool EncodeJpeg(const CPicture& picture, int quality, std::vector<std::uint8_t>& out, std::string& error) {
    const int clamped = quality < 1 ? 1 : (quality > 100 ? 100 : quality);
    MemoryDestination destination;
    std::vector<std::uint8_t> rowBuffer;
    if (!Encode(picture, clamped, destination, rowBuffer, error)) {
        return false;
    }
    out.assign(destination.data, destination.data + destination.size);
    return true;
}

}  // namespace picture_codec
