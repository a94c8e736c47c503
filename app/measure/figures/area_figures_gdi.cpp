// Drawing of the rectangle, the polygon and the curve.
#include <vector>

#include "area_figures.h"
#include "figure_paint.h"

using figures::DevicePoint;

void CCLRectangle::DrawFigure(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    const std::array<PointF, 4> c = Corners();
    const std::array<POINT, 5> box{DevicePoint(c[0], zoom, scrollX, scrollY), DevicePoint(c[1], zoom, scrollX, scrollY),
                                   DevicePoint(c[2], zoom, scrollX, scrollY), DevicePoint(c[3], zoom, scrollX, scrollY),
                                   DevicePoint(c[0], zoom, scrollX, scrollY)};
    figures::Polyline(*dc, box);
}

void CCLRectangle::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        DrawFigure(dc, zoom, scrollX, scrollY);
        DrawHandles(*dc, Corners(), zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}

// The points, the mouse position while drawing, and for a polygon the
// closing segment back to the first point.
void CCLPolyline::DrawPath(CDC* dc, bool withRubberBand, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr || points.empty()) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    std::vector<POINT> device;
    device.reserve(points.size() + 2);
    for (const PointF& p : points) {
        device.push_back(DevicePoint(p, zoom, scrollX, scrollY));
    }
    if (withRubberBand && rubberBand) {
        device.push_back(DevicePoint(*rubberBand, zoom, scrollX, scrollY));
    }
    if (closed_) {
        device.push_back(device.front());
    }
    figures::Polyline(*dc, device);
}

void CCLPolyline::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        DrawPath(dc, false, zoom, scrollX, scrollY);
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}
