#pragma once
// A two-point segment built only on the base's shared rules, standing in for
// the measurement classes in tests of the base, the label and the painting.
#include <array>
#include <cmath>

#include "cl_object.h"
#include "truncate.h"
#ifdef _WIN32
#include "dc.h"
#endif

class CTestSegment : public CCLObject {
public:
    CTestSegment(PointF a, PointF b) : points{a, b} {
        type = 2;
        Recompute();
    }

    void Recompute() { results[kLength] = std::hypot(points[1].x - points[0].x, points[1].y - points[0].y); }

    void Move(int x0, int y0, int x1, int y1, float zoom) override {
        if (MovePoints(points, x0, y0, x1, y1, zoom)) {
            Recompute();
        }
    }
    bool HitTest(int x, int y, float zoom) override { return HitLabelOrHandle(points, x, y, zoom) != kIdle; }
    bool HitRect(const PixelRect& rect, float zoom) override { return HitRectPoints(points, rect, zoom); }
    void CycleHandle(bool forward) override { CycleAmong(2, forward); }
    using CCLObject::HandleSquare;

#ifdef _WIN32
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override {
        if (visible != 0 && dc != nullptr) {
            CPen pen(penStyle, PenWidth(), PenColour());
            {
                CSelectObject select(*dc, pen.GetSafeHandle());
                dc->MoveTo(ZoomedPixel(zoom, points[0].x) - scrollX, ZoomedPixel(zoom, points[0].y) - scrollY);
                dc->LineTo(ZoomedPixel(zoom, points[1].x) - scrollX, ZoomedPixel(zoom, points[1].y) - scrollY);
            }
            DrawHandles(*dc, points, zoom, scrollX, scrollY);
            DrawLabel(*dc, zoom, scrollX, scrollY);
        }
        dragging = 0;
    }
#endif

    std::array<PointF, 2> points;
};
