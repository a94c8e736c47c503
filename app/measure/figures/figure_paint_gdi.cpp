#include "figure_paint.h"

#include <algorithm>
#include <vector>

#include "cl_object.h"
#include "figure_label.h"
#include "truncate.h"

namespace figures {

POINT DevicePoint(PointF p, float zoom, int scrollX, int scrollY) {
    return {ZoomedPixel(zoom, p.x) - scrollX, ZoomedPixel(zoom, p.y) - scrollY};
}

PenScope::PenScope(CDC& dc, int style, int width, COLORREF colour)
    : pen_(style, width, colour), select_(dc, pen_.GetSafeHandle()) {}

void Segment(CDC& dc, POINT a, POINT b) {
    dc.MoveTo(a.x, a.y);
    dc.LineTo(b.x, b.y);
}

void Polyline(CDC& dc, std::span<const POINT> points) {
    if (points.size() >= 2) {
        ::Polyline(dc.GetSafeHdc(), points.data(), static_cast<int>(points.size()));
    }
}

void Ticks(CDC& dc, POINT at, const EndTicks& ticks) {
    for (std::size_t i = 0; i < ticks.count; ++i) {
        const TickStroke& s = ticks.strokes[i];
        Segment(dc, POINT{at.x + s.x0, at.y + s.y0}, POINT{at.x + s.x1, at.y + s.y1});
    }
}

void CentreMark(CDC& dc, POINT centre) { dc.Rectangle(centre.x - 1, centre.y - 1, centre.x + 1, centre.y + 1); }

void Circle(CDC& dc, POINT c, int radius) {
    ::Arc(dc.GetSafeHdc(), c.x - radius, c.y - radius, c.x + radius, c.y + radius, c.x + radius, c.y, c.x + radius,
          c.y);
}

void HollowEllipse(CDC& dc, POINT a, POINT b) {
    CSelectObject hollow(dc, ::GetStockObject(HOLLOW_BRUSH));
    dc.Ellipse(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

void PlaceLabel(CCLObject& owner, float x, float y) { owner.label.Update(owner, x, y); }

}  // namespace figures
