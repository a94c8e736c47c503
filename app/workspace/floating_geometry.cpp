#include "floating_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

std::int32_t Rounded(double value) { return static_cast<std::int32_t>(std::lround(value)); }

}  // namespace

PictureBox WindowToPicture(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                           const WindowPlacement& place) {
    const double zoom = place.zoom > 0.0f ? place.zoom : 1.0;
    PictureBox box;
    box.left = Rounded((x - place.centreX + place.scrollX) / zoom);
    box.top = Rounded((y - place.centreY + place.scrollY) / zoom);
    box.width = static_cast<std::int32_t>(width / zoom);
    box.height = static_cast<std::int32_t>(height / zoom);
    return box;
}

std::optional<PictureBox> ClipToPicture(const PictureBox& box, std::int32_t pictureWidth, std::int32_t pictureHeight) {
    const std::int64_t left = std::max<std::int64_t>(box.left, 0);
    const std::int64_t top = std::max<std::int64_t>(box.top, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{box.left} + box.width, pictureWidth);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{box.top} + box.height, pictureHeight);
    if (left >= right || top >= bottom) {
        return std::nullopt;
    }
    return PictureBox{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                      static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}
