#include "print_size_zoom.h"

#include <cmath>

#include "units.h"

namespace {

constexpr double kInchesPerMillimetre = 0.03937007874015748;

}  // namespace

std::optional<float> PrintSizeZoom(std::int32_t pictureWidth, std::u16string_view unit, float scale,
                                   std::int32_t magnification, const ScreenMetrics& screen) {
    if (pictureWidth <= 0 || screen.horizontalPixels <= 0 || screen.horizontalMillimetres <= 0) {
        return std::nullopt;
    }
    const double screenPixelsPerInch = screen.horizontalPixels / (screen.horizontalMillimetres * kInchesPerMillimetre);
    // The picture's width in inches: its pixel count converted from the unit,
    // times the unit length of one pixel.
    const double widthInUnitInches = ConvertUnit(static_cast<float>(pictureWidth), unit, u"inch");
    const double zoom = screenPixelsPerInch * (widthInUnitInches * scale * magnification) / pictureWidth;
    if (!std::isfinite(zoom) || !(zoom > 0.0)) {
        return std::nullopt;
    }
    return static_cast<float>(zoom);
}
