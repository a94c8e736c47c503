#pragma once
// Zoom, centring and the visible part of the picture: the arithmetic of
// painting, free of any device.
#include <cstdint>

struct ZoomedSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct SourceRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Zoom stays within 1/64 .. 64: beyond that the zoomed sizes overflow what a
// bitmap can hold. NaN and other non-positive values give 1.
constexpr float kMinZoom = 1.0f / 64.0f;
constexpr float kMaxZoom = 64.0f;
float ClampZoom(float zoom);

// Picture size times zoom, rounded to the nearest pixel.
ZoomedSize ZoomPictureSize(std::int32_t width, std::int32_t height, float zoom);
// Offset that centres `zoomed` in `client`; 0 when it does not fit.
std::int32_t CentringOffset(std::int32_t client, std::int32_t zoomed);
// Scroll bars are needed when the client is more than one pixel short.
bool NeedsScrolling(std::int32_t clientWidth, std::int32_t clientHeight, ZoomedSize zoomed);
// The part of the 1:1 picture stretched into the visible area.
SourceRect VisibleSource(std::int32_t scrollX, std::int32_t scrollY, std::int32_t visibleWidth,
                         std::int32_t visibleHeight, float zoom);
// The zoom that fits the picture in the client; 0 when there is no picture
// or no client area.
float FitZoom(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t pictureWidth,
              std::int32_t pictureHeight);
