// Drawing the counter markers: outline, then the number inside.
#include <windows.h>

#include <array>
#include <string>

#include "cl_count.h"
#include "dc.h"
#include "annotation_geometry.h"
#include "truncate.h"

namespace {

// A device point at (cx + dx, cy + dy), kept inside the int32 range.
POINT Offset(std::int32_t cx, std::int32_t cy, std::int64_t dx, std::int64_t dy) {
    return {SaturateToInt(cx + dx), SaturateToInt(cy + dy)};
}

void Outline(CDC& dc, std::span<const POINT> points) {
    ::Polyline(dc.GetSafeHdc(), points.data(), static_cast<int>(points.size()));
}

}  // namespace

void CCL_Count::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        const bool selected = state != kIdle;
        const ColourRef colour = selected ? selectedColour : markerColour;
        CPen pen(penStyle, selected ? lineWidth + 1 : lineWidth, colour);
        CSelectObject selectPen(*dc, pen.GetSafeHandle());
        const std::int32_t cx = SaturateToInt(std::int64_t{ZoomedPixel(zoom, centre.x)} - scrollX);
        const std::int32_t cy = SaturateToInt(std::int64_t{ZoomedPixel(zoom, centre.y)} - scrollY);
        const COLORREF oldColour = dc->SetTextColor(colour);
        if (DrawFigure(*dc, cx, cy)) {
            const int oldMode = dc->SetBkMode(TRANSPARENT);
            const std::wstring text = std::to_wstring(number);
            const PixelPoint at = NumberOrigin(number, cx, cy);
            ::TextOutW(dc->GetSafeHdc(), at.x, at.y, text.c_str(), static_cast<int>(text.size()));
            dc->SetBkMode(oldMode);
        }
        dc->SetTextColor(oldColour);
    }
    dragging = 0;
}

bool CCL_Count::DrawFigure(CDC&, std::int32_t, std::int32_t) const { return false; }

bool CCL_CountCircle::DrawFigure(CDC& dc, std::int32_t cx, std::int32_t cy) const {
    // Equal start and end points make a full circle.
    const POINT topLeft = Offset(cx, cy, -std::int64_t{size}, -std::int64_t{size});
    const POINT bottomRight = Offset(cx, cy, size, size);
    ::Arc(dc.GetSafeHdc(), topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, bottomRight.x, cy, bottomRight.x, cy);
    return true;
}

bool CCL_CountDiamond::DrawFigure(CDC& dc, std::int32_t cx, std::int32_t cy) const {
    const std::int64_t g = Reach(size);
    const std::array<POINT, 5> points = {Offset(cx, cy, -g, 0), Offset(cx, cy, 0, -g), Offset(cx, cy, g, 0),
                                         Offset(cx, cy, 0, g), Offset(cx, cy, -g, 0)};
    Outline(dc, points);
    return true;
}

bool CCL_CountRect::DrawFigure(CDC& dc, std::int32_t cx, std::int32_t cy) const {
    const std::int64_t h = HalfSide(size);
    const std::array<POINT, 5> points = {Offset(cx, cy, -h, -h), Offset(cx, cy, h, -h), Offset(cx, cy, h, h),
                                         Offset(cx, cy, -h, h), Offset(cx, cy, -h, -h)};
    Outline(dc, points);
    return true;
}
