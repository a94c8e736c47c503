#include "compressor_choice.h"

#include <vfw.h>

#include <array>

namespace kq {

std::int32_t ChooseCompressor(HWND parent, std::int32_t width, std::int32_t height, std::int32_t bits,
                              std::int32_t current) {
    // The input format the compressors are offered for (a grey palette at 8 bits).
    struct {
        BITMAPINFOHEADER header;
        std::array<RGBQUAD, 256> palette;
    } input{};
    input.header.biSize = sizeof(BITMAPINFOHEADER);
    input.header.biWidth = width;
    input.header.biHeight = height;
    input.header.biPlanes = 1;
    input.header.biBitCount = static_cast<WORD>(bits);
    input.header.biCompression = BI_RGB;
    input.header.biSizeImage = static_cast<DWORD>(((width * bits / 8 + 3) & ~3) * height);
    if (bits == 8) {
        input.header.biClrUsed = 256;
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<BYTE>(i);
            input.palette[static_cast<std::size_t>(i)] = {v, v, v, 0};
        }
    }
    COMPVARS choice{};
    choice.cbSize = sizeof(choice);
    choice.dwFlags = ICMF_COMPVARS_VALID;
    choice.fccType = ICTYPE_VIDEO;
    choice.fccHandler = static_cast<DWORD>(current);
    choice.lQ = ICQUALITY_DEFAULT;
    char title[] = "Video Compressor";
    if (!ICCompressorChoose(parent, ICMF_CHOOSE_KEYFRAME, &input, nullptr, &choice, title)) return 0;
    const auto chosen = static_cast<std::int32_t>(choice.fccHandler);
    ICCompressorFree(&choice);
    return chosen;
}

}  // namespace kq
