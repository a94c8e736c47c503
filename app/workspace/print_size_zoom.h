#pragma once
// The zoom that shows or prints a picture at its calibrated physical size
// times a magnification, on a screen or on a printer's page alike.
#include <cstdint>
#include <optional>
#include <string_view>

#include "view_geometry.h"

// A screen or a printer page as its device capabilities describe it.
struct DeviceMetrics {
    std::int32_t horizontalPixels = 0;       // HORZRES
    std::int32_t horizontalMillimetres = 0;  // HORZSIZE
};

// Device pixels per picture pixel; scale is the length of one picture pixel
// in `unit`. Nothing when the result would not be a positive finite zoom: no
// picture width, a device of no size, or a scale or magnification that is
// not positive and finite.
std::optional<float> PrintSizeZoom(std::int32_t pictureWidth, std::u16string_view unit, float scale,
                                   std::int32_t magnification, const DeviceMetrics& device);

// The picture's size at `zoom`, each side cut to whole device pixels;
// nothing when a side is less than one pixel or past what an int holds.
std::optional<ZoomedSize> PrintedSize(std::int32_t width, std::int32_t height, double zoom);
