#include "cl_arrow.h"

#include "annotation_record.h"
#include "arrow_pictures.h"
#include "annotation_geometry.h"
#include "truncate.h"

void CCLArrow::SetArrowStyle(std::int32_t newDirection, std::int32_t newWidth, std::int32_t newHeight) {
    direction = newDirection;
    width = newWidth;
    height = newHeight;
    arrowScale = static_cast<float>(newWidth) * kScalePerPixel;
}

void CCLArrow::PlaceForZoom(float zoom) {
    if (!IsUsableZoom(zoom)) {
        return;
    }
    // The tip's offset in the picture, scaled to the drawn size in device
    // pixels, then taken back to image pixels.
    const std::optional<ArrowPicture> picture = ArrowPictureFor(direction);
    const PointF offset = picture ? picture->tip : PointF{};
    topLeft.x = (zoom * tip.x - offset.x * arrowScale) / zoom;
    topLeft.y = (zoom * tip.y - offset.y * arrowScale) / zoom;
}

PixelRect CCLArrow::PictureRect(float zoom) const {
    const std::int32_t left = ZoomedPixel(zoom, topLeft.x);
    const std::int32_t top = ZoomedPixel(zoom, topLeft.y);
    return {left, top, TruncateToInt(static_cast<double>(left) + width),
            TruncateToInt(static_cast<double>(top) + height)};
}

void CCLArrow::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        CCLObject::Serialize(ar);
        ar << height << width << topLeft.x << topLeft.y << arrowScale << direction << tip.x << tip.y
           << std::uint32_t{arrowColour};
        return;
    }
    std::int32_t newHeight = 0, newWidth = 0, newDirection = 0;
    PointF newTopLeft, newTip;
    float newScale = 0;
    std::uint32_t newColour = 0;
    LoadWithBase(*this, ar, [&] {
        ar >> newHeight >> newWidth >> newTopLeft.x >> newTopLeft.y >> newScale >> newDirection >> newTip.x >>
            newTip.y >> newColour;
    });
    height = newHeight;
    width = newWidth;
    topLeft = newTopLeft;
    arrowScale = newScale;
    direction = newDirection;
    tip = newTip;
    arrowColour = newColour;
}

bool CCLArrow::Track(CDC*, int x, int y, int&, bool moving, float zoom, int, int) {
    if (moving || !IsUsableZoom(zoom)) {
        return false;
    }
    tip = ToImagePoint(x, y, zoom);
    PlaceForZoom(zoom);
    return true;
}

bool CCLArrow::HitRect(const PixelRect& rect, float zoom) {
    if (visible == 0) {
        return false;
    }
    const PixelRect r = PictureRect(zoom);
    if (PixelInRect(rect, r.left, r.top) || PixelInRect(rect, r.right, r.bottom)) {
        state = kSelectedWhole;
        return true;
    }
    return false;
}

bool CCLArrow::HitTest(int x, int y, float zoom) {
    if (visible == 0 || !PixelInRect(PictureRect(zoom), x, y)) {
        return false;
    }
    state = kBodyActive;
    return true;
}
