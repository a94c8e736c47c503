#pragma once
// The zoom that shows a picture on screen at its calibrated physical size
// times a magnification.
#include <cstdint>
#include <optional>
#include <string_view>

// The screen as its device capabilities describe it.
struct ScreenMetrics {
    std::int32_t horizontalPixels = 0;       // HORZRES
    std::int32_t horizontalMillimetres = 0;  // HORZSIZE
};

// scale is the length of one picture pixel in `unit`. Nothing when the
// result would not be a positive finite zoom: no picture width, a screen of
// no size, or a scale or magnification that is not positive.
std::optional<float> PrintSizeZoom(std::int32_t pictureWidth, std::u16string_view unit, float scale,
                                   std::int32_t magnification, const ScreenMetrics& screen);
