#include "view_geometry.h"

#include <algorithm>
#include <cmath>

#include "truncate.h"

namespace {

std::int32_t Round(double v) { return TruncateToInt(v + 0.5); }

}  // namespace

float ClampZoom(float zoom) {
    if (!(zoom > 0.0f)) {
        return 1.0f;
    }
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

ZoomedSize ZoomPictureSize(std::int32_t width, std::int32_t height, float zoom) {
    return {Round(static_cast<double>(width) * zoom), Round(static_cast<double>(height) * zoom)};
}

std::int32_t CentringOffset(std::int32_t client, std::int32_t zoomed) {
    return client > zoomed ? (client - zoomed) / 2 : 0;
}

bool NeedsScrolling(std::int32_t clientWidth, std::int32_t clientHeight, ZoomedSize zoomed) {
    return std::int64_t{clientWidth} < std::int64_t{zoomed.width} - 1 ||
           std::int64_t{clientHeight} < std::int64_t{zoomed.height} - 1;
}

SourceRect VisibleSource(std::int32_t scrollX, std::int32_t scrollY, std::int32_t visibleWidth,
                         std::int32_t visibleHeight, float zoom) {
    SourceRect s;
    s.x = Round(scrollX / static_cast<double>(zoom));
    s.y = Round(scrollY / static_cast<double>(zoom));
    s.width = Round((std::int64_t{scrollX} + visibleWidth) / static_cast<double>(zoom)) - s.x;
    s.height = Round((std::int64_t{scrollY} + visibleHeight) / static_cast<double>(zoom)) - s.y;
    return s;
}

float FitZoom(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t pictureWidth,
              std::int32_t pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || clientWidth <= 0 || clientHeight <= 0) {
        return 0.0f;
    }
    return std::min(static_cast<float>(clientWidth) / static_cast<float>(pictureWidth),
                    static_cast<float>(clientHeight) / static_cast<float>(pictureHeight));
}
