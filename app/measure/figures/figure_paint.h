#pragma once
// Painting helpers the figure classes share (Windows only): device points,
// a pen selected for a scope, segments, polylines and end ticks.
#include <windows.h>

#include <span>

#include "dc.h"
#include "figure_math.h"
#include "geometry.h"

namespace figures {

// trunc(zoom x p) - scroll.
POINT DevicePoint(PointF p, float zoom, int scrollX, int scrollY);

// A pen created and selected into dc for this object's lifetime.
class PenScope {
public:
    PenScope(CDC& dc, int style, int width, COLORREF colour);

private:
    CPen pen_;
    CSelectObject select_;
};

void Segment(CDC& dc, POINT a, POINT b);
void Polyline(CDC& dc, std::span<const POINT> points);
void Ticks(CDC& dc, POINT at, const EndTicks& ticks);
// The centre mark: a rectangle one pixel out from the centre.
void CentreMark(CDC& dc, POINT centre);
// A full circle, not filled.
void Circle(CDC& dc, POINT centre, int radius);
// An ellipse in the normalised rectangle of a and b, not filled.
void HollowEllipse(CDC& dc, POINT a, POINT b);

}  // namespace figures
