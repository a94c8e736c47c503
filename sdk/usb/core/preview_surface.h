#pragma once
// Where the preview is drawn: the caller's window on Windows. The frame
// pipeline only knows this interface, so it stays platform-free.

#include <cstdint>
#include <span>

namespace kq {

struct DrawPlacement {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

class PreviewSurface {
public:
    virtual ~PreviewSurface() = default;
    // Prepares drawing of frames of this size and depth; false when the
    // window's drawing context cannot be had (frames then go undrawn).
    virtual bool Setup(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel) = 0;
    // Draws a bottom-up picture scaled into `placement`.
    virtual void Draw(std::span<const std::uint8_t> picture, std::int32_t width, std::int32_t height,
                      std::int32_t bitsPerPixel, const DrawPlacement& placement) = 0;
};

}  // namespace kq
