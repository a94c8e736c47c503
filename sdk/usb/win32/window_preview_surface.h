#pragma once
// The preview on Windows: frames drawn with DrawDib into the caller's
// window through the window's own device context. The library adds no
// window and no other UI; the caller's window keeps its input and painting.

#include <windows.h>
#include <vfw.h>

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
    struct CloseDrawDib {
        void operator()(HDRAWDIB drawDib) const { DrawDibClose(drawDib); }
    };
    using WindowDc = std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseWindowDc>;
    using DrawDib = std::unique_ptr<std::remove_pointer_t<HDRAWDIB>, CloseDrawDib>;

    // The picture's header and the grey palette 8-bit pictures are drawn with.
    struct PictureInfo {
        BITMAPINFOHEADER header;
        RGBQUAD palette[256];
    };

    HWND window_;
    WindowDc dc_{nullptr, ReleaseWindowDc{nullptr}};
    DrawDib drawDib_;
    PictureInfo info_{};
    // Rows padded to 4 bytes, for pictures whose rows are not.
    std::vector<std::uint8_t> staging_;
};

}  // namespace kq::win32
