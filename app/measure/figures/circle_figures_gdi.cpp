// Drawing of the circles and the ellipse.
#include <algorithm>
#include <vector>

#include "circle_figures.h"
#include "figure_paint.h"
#include "truncate.h"

using figures::DevicePoint;

namespace {

// The ring of `radius` image pixels and the centre mark.
void RingAndCentre(CDC& dc, PointF centre, float radius, float zoom, int scrollX, int scrollY) {
    const POINT c = DevicePoint(centre, zoom, scrollX, scrollY);
    figures::Circle(dc, c, TruncateToInt(zoom * radius));
    figures::CentreMark(dc, c);
}

}  // namespace

void CCLCircle::DrawTracking(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    const POINT c = DevicePoint(centre(), zoom, scrollX, scrollY);
    figures::Circle(*dc, c, TruncateToInt(zoom * figures::Distance(centre(), points[0])));
}

void CCLCircle::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        {
            figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
            RingAndCentre(*dc, centre(), results[kRadius], zoom, scrollX, scrollY);
            if (dragging != 0 && activeHandle != 0 && state != kSelectedWhole) {
                figures::Segment(*dc, DevicePoint(centre(), zoom, scrollX, scrollY),
                                 DevicePoint(points[0], zoom, scrollX, scrollY));
            }
        }
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}

void CCLCircle_D::DrawTracking(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    const POINT c = DevicePoint(centre(), zoom, scrollX, scrollY);
    figures::Circle(*dc, c, TruncateToInt(zoom * figures::Distance(centre(), points[0])));
}

void CCLCircle_D::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        {
            figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
            RingAndCentre(*dc, centre(), results[kRadius], zoom, scrollX, scrollY);
            if (dragging != 0 && activeHandle != 0 && state != kSelectedWhole) {
                figures::Segment(*dc, DevicePoint(points[0], zoom, scrollX, scrollY),
                                 DevicePoint(points[1], zoom, scrollX, scrollY));
            }
        }
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}

// The points placed so far and the mouse, joined.
void CCLCircle_T::DrawTracking(CDC* dc, int pointCount, float zoom, int scrollX, int scrollY) {
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

void CCLCircle_T::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        {
            figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
            RingAndCentre(*dc, centre(), results[kRadius], zoom, scrollX, scrollY);
            if (dragging != 0 && activeHandle != 0 && state != kSelectedWhole) {
                const std::array<POINT, 4> triangle{
                    DevicePoint(points[0], zoom, scrollX, scrollY), DevicePoint(points[1], zoom, scrollX, scrollY),
                    DevicePoint(points[2], zoom, scrollX, scrollY), DevicePoint(points[0], zoom, scrollX, scrollY)};
                figures::Polyline(*dc, triangle);
            }
        }
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}

// The ellipse in the box so far and the box one pixel outside it.
void CCLEllipse::DrawTracking(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    const POINT a = DevicePoint(corner1, zoom, scrollX, scrollY);
    const POINT b = DevicePoint(corner2, zoom, scrollX, scrollY);
    figures::HollowEllipse(*dc, a, b);
    const int left = std::min(a.x, b.x) - 1, right = std::max(a.x, b.x) + 1;
    const int top = std::min(a.y, b.y) - 1, bottom = std::max(a.y, b.y) + 1;
    const std::array<POINT, 5> box{POINT{left, top}, POINT{right, top}, POINT{right, bottom}, POINT{left, bottom},
                                   POINT{left, top}};
    figures::Polyline(*dc, box);
}

void CCLEllipse::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        {
            figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
            figures::HollowEllipse(*dc, DevicePoint(corner1, zoom, scrollX, scrollY),
                                   DevicePoint(corner2, zoom, scrollX, scrollY));
            figures::CentreMark(*dc, DevicePoint(centre, zoom, scrollX, scrollY));
        }
        const std::array<PointF, 4> handles = HandlePoints();
        const std::array<PointF, 5> squares{handles[0], handles[1], handles[2], handles[3], centre};
        DrawHandles(*dc, squares, zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}
