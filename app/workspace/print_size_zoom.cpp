#include "print_size_zoom.h"

#include <cmath>
#include <limits>

#include "units.h"

namespace {

constexpr double kInchesPerMillimetre = 0.03937007874015748;

std::optional<std::int32_t> Cut(std::int32_t side, double zoom) {
    const double zoomed = std::floor(static_cast<double>(side) * zoom);
    if (!(zoomed >= 1.0 && zoomed <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(zoomed);
}

}  // namespace

std::optional<float> PrintSizeZoom(std::int32_t pictureWidth, std::u16string_view unit, float scale,
                                   std::int32_t magnification, const DeviceMetrics& device) {
    if (pictureWidth <= 0 || device.horizontalPixels <= 0 || device.horizontalMillimetres <= 0) {
        return std::nullopt;
    }
    const double pixelsPerInch = device.horizontalPixels / (device.horizontalMillimetres * kInchesPerMillimetre);
    // The picture's width in inches: its pixel count converted from the unit,
    // times the unit length of one pixel.
    const double widthInUnitInches = ConvertUnit(static_cast<float>(pictureWidth), unit, u"inch");
    const double zoom = pixelsPerInch * (widthInUnitInches * scale * magnification) / pictureWidth;
    if (!std::isfinite(zoom) || !(zoom > 0.0) || zoom > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(zoom);
}

std::optional<ZoomedSize> PrintedSize(std::int32_t width, std::int32_t height, double zoom) {
    const auto w = Cut(width, zoom);
    const auto h = Cut(height, zoom);
    if (!w || !h) {
        return std::nullopt;
    }
    return ZoomedSize{*w, *h};
}
