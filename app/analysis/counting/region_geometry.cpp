#include "region_geometry.h"

#include <algorithm>

PreviewFit FitPicture(int pictureWidth, int pictureHeight, int previewWidth, int previewHeight) {
    PreviewFit fit;
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        return fit;
    }
    fit.zoom = std::min({static_cast<float>(previewHeight) / static_cast<float>(pictureHeight),
                         static_cast<float>(previewWidth) / static_cast<float>(pictureWidth), 1.0f});
    fit.zoom = std::max(fit.zoom, 0.0f);
    fit.drawnWidth = static_cast<int>(static_cast<float>(pictureWidth) * fit.zoom);
    fit.drawnHeight = static_cast<int>(static_cast<float>(pictureHeight) * fit.zoom);
    fit.offsetX = std::max((previewWidth - fit.drawnWidth) / 2, 0);
    fit.offsetY = std::max((previewHeight - fit.drawnHeight) / 2, 0);
    return fit;
}

RegionRect ClampEditedRegion(RegionRect r, RegionField edited, int pictureWidth, int pictureHeight) {
    switch (edited) {
    case RegionField::x:
        r.x = std::clamp(r.x, 0, pictureWidth);
        r.width = std::clamp(r.width, 0, pictureWidth - r.x);
        break;
    case RegionField::y:
        r.y = std::clamp(r.y, 0, pictureHeight);
        r.height = std::clamp(r.height, 0, pictureHeight - r.y);
        break;
    case RegionField::width: r.width = std::clamp(r.width, 0, std::max(pictureWidth - r.x, 0)); break;
    case RegionField::height: r.height = std::clamp(r.height, 0, std::max(pictureHeight - r.y, 0)); break;
    }
    return r;
}

RegionRect RegionFromDrag(int startX, int startY, int endX, int endY, float zoom) {
    if (zoom <= 0) {
        return {};
    }
    const auto scaled = [zoom](int v) { return static_cast<int>(static_cast<float>(v) / zoom + 0.5f); };
    const int left = std::min(startX, endX);
    const int top = std::min(startY, endY);
    const int right = std::max(startX, endX);
    const int bottom = std::max(startY, endY);
    return {scaled(left), scaled(top), scaled(right - left), scaled(bottom - top)};
}
