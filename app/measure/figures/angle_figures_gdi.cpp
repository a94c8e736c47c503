// Drawing of the angle measurements.
#include <vector>

#include "angle_figures.h"
#include "figure_paint.h"

using figures::DevicePoint;

// The polyline through the first `pointCount` points.
void CCLAngle::DrawFigure(CDC* dc, int pointCount, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    std::vector<POINT> device;
    for (int i = 0; i < pointCount && i < 3; ++i) {
        device.push_back(DevicePoint(points[static_cast<std::size_t>(i)], zoom, scrollX, scrollY));
    }
    figures::Polyline(*dc, device);
}

void CCLAngle::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        DrawFigure(dc, 3, zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}

// P1-P2 once two points exist, P3-P4 once four do.
void CCLAngle4Point::DrawFigure(CDC* dc, int pointCount, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    if (pointCount >= 2) {
        figures::Segment(*dc, DevicePoint(points[0], zoom, scrollX, scrollY),
                         DevicePoint(points[1], zoom, scrollX, scrollY));
    }
    if (pointCount >= 4) {
        figures::Segment(*dc, DevicePoint(points[2], zoom, scrollX, scrollY),
                         DevicePoint(points[3], zoom, scrollX, scrollY));
    }
}

// While a handle is edited the lines are extended to their intersection.
void CCLAngle4Point::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        DrawFigure(dc, 4, zoom, scrollX, scrollY);
        if (state == kHandleActive && hasIntersection) {
            figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
            const POINT at = DevicePoint(intersection, zoom, scrollX, scrollY);
            figures::Segment(*dc, at, DevicePoint(points[1], zoom, scrollX, scrollY));
            figures::Segment(*dc, at, DevicePoint(points[2], zoom, scrollX, scrollY));
        }
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}
