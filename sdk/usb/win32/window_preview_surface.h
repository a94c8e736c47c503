#pragma once
// The preview on Windows: frames drawn with StretchDIBits into the caller's
// window through the window's own device context, straight from the
// delivered picture (no copy into a drawing library's own bitmap first).
// The library adds no window and no other UI; the caller's window keeps its
// input and painting.

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "core/preview_surface.h"

namespace kq::win32 {

class WindowPreviewSurface final : public PreviewSurface {
public:
    explicit WindowPreviewSurface(HWND window) : window_(window) {}

    bool Setup(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) override;
    void Draw(std::span<const std::uint8_t> picture, std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel,
              const DrawPlacement& placement) override;

private:
    struct ReleaseWindowDc {
        HWND window;
        void operator()(HDC dc) const { ReleaseDC(window, dc); }
    };
    using WindowDc = std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseWindowDc>;

    // The picture's header and the grey palette 8-bit pictures are drawn with.
    struct PictureInfo {
        BITMAPINFOHEADER header;
        RGBQUAD palette[256];
    };

    HWND window_;
    WindowDc dc_{nullptr, ReleaseWindowDc{nullptr}};
    PictureInfo info_{};
    // Rows padded to 4 bytes, for pictures whose rows are not.
    std::vector<std::uint8_t> staging_;
};

}  // namespace kq::win32
