#include "win32/window_preview_surface.h"

#include <algorithm>

namespace kq::win32 {

namespace {

void Describe(BITMAPINFOHEADER& header, std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) {
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;  // positive: bottom-up rows
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitsPerPixel);
    header.biCompression = BI_RGB;
    header.biSizeImage =
        static_cast<DWORD>(height) * ((static_cast<DWORD>(width) * static_cast<DWORD>(bitsPerPixel) / 8 + 3) & ~3u);
    header.biClrUsed = bitsPerPixel == 8 ? 256 : 0;
    header.biClrImportant = header.biClrUsed;
}

}  // namespace

bool WindowPreviewSurface::Setup(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) {
    dc_.reset();
    if (window_ == nullptr || !IsWindow(window_)) return false;
    WindowDc dc(GetDC(window_), ReleaseWindowDc{window_});
    if (dc == nullptr) return false;
    if (SetBkMode(dc.get(), TRANSPARENT) == 0 || SetStretchBltMode(dc.get(), COLORONCOLOR) == 0) return false;
    Describe(info_.header, width, height, bitsPerPixel);
    staging_.assign(info_.header.biSizeImage, 0);
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<BYTE>(i);
        info_.palette[i] = RGBQUAD{level, level, level, 0};
    }
    dc_ = std::move(dc);
    return true;
}

void WindowPreviewSurface::Draw(std::span<const std::uint8_t> picture, std::int32_t width, std::int32_t height,
                                std::int32_t bitsPerPixel, const DrawPlacement& placement) {
    if (dc_ == nullptr || width <= 0 || height <= 0) return;
    if (width != info_.header.biWidth || height != info_.header.biHeight || bitsPerPixel != info_.header.biBitCount) {
        Describe(info_.header, width, height, bitsPerPixel);
    }
    const std::size_t row = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel / 8);
    const std::size_t rows = static_cast<std::size_t>(height);
    if (picture.size() < row * rows) return;
    const std::uint8_t* bits = picture.data();
    if (row % 4 != 0) {
        // A DIB's rows are padded to 4 bytes: repack into the buffer made
        // at set-up (a picture larger than that is not drawn).
        const std::size_t padded = (row + 3) & ~std::size_t{3};
        if (staging_.size() < padded * rows) return;
        for (std::size_t y = 0; y < rows; ++y) {
            std::copy_n(picture.begin() + static_cast<std::ptrdiff_t>(y * row), row,
                        staging_.begin() + static_cast<std::ptrdiff_t>(y * padded));
        }
        bits = staging_.data();
    }
    // A drawing size not given means the picture's own size.
    const int drawWidth = placement.width > 0 ? placement.width : width;
    const int drawHeight = placement.height > 0 ? placement.height : height;
    StretchDIBits(dc_.get(), placement.x, placement.y, drawWidth, drawHeight, 0, 0, width, height, bits,
                  reinterpret_cast<const BITMAPINFO*>(&info_), DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace kq::win32
