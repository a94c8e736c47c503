// Drawing of the straight-line measurements.
#include <cmath>

#include "figure_paint.h"
#include "line_figures.h"
#include "truncate.h"

using figures::DevicePoint;

void CCLLine::DrawFigure(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    const POINT a = DevicePoint(points[0], zoom, scrollX, scrollY);
    const POINT b = DevicePoint(points[1], zoom, scrollX, scrollY);
    figures::Segment(*dc, a, b);
    const figures::EndTicks ticks = figures::LineEndTicks(points[0], points[1]);
    figures::Ticks(*dc, a, ticks);
    figures::Ticks(*dc, b, ticks);
}

void CCLLine::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        DrawFigure(dc, zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}

void CCL_Scale::DrawTracking(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    const POINT a = DevicePoint(points[0], zoom, scrollX, scrollY);
    const POINT b = DevicePoint(points[1], zoom, scrollX, scrollY);
    figures::Segment(*dc, a, b);
    const figures::EndTicks ticks = figures::LineEndTicks(points[0], points[1]);
    figures::Ticks(*dc, a, ticks);
    figures::Ticks(*dc, b, ticks);
}

// The line runs from the first point over the stored view length toward
// the second point, so that it shows the length that calibrates.
void CCL_Scale::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
        const POINT a = DevicePoint(points[0], zoom, scrollX, scrollY);
        POINT end = a;
        const double d = figures::Distance(points[0], points[1]);
        if (d > 0.0) {
            const double length = results[kLength];
            end.x = TruncateToInt(zoom * points[0].x + (points[1].x - points[0].x) / d * length) - scrollX;
            end.y = TruncateToInt(zoom * points[0].y + (points[1].y - points[0].y) / d * length) - scrollY;
        }
        figures::Segment(*dc, a, end);
        const figures::EndTicks ticks = figures::LineEndTicks(points[0], points[1]);
        figures::Ticks(*dc, a, ticks);
        figures::Ticks(*dc, end, ticks);
    }
    dragging = 0;
}

// A-B, and from step 2 the parallel through C, centred on C and as long.
void CCLParallel::DrawFigure(CDC* dc, int step, float zoom, int scrollX, int scrollY) {
    if (dc == nullptr) {
        return;
    }
    figures::PenScope pen(*dc, penStyle, PenWidth(), PenColour());
    const POINT a = DevicePoint(points[0], zoom, scrollX, scrollY);
    const POINT b = DevicePoint(points[1], zoom, scrollX, scrollY);
    figures::Segment(*dc, a, b);
    if (step >= 2) {
        const POINT c = DevicePoint(points[2], zoom, scrollX, scrollY);
        const int hx = (a.x - b.x) / 2;
        const int hy = (a.y - b.y) / 2;
        figures::Segment(*dc, POINT{c.x - hx, c.y - hy}, POINT{c.x + hx, c.y + hy});
    }
}

void CCLParallel::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        DrawHandles(*dc, points, zoom, scrollX, scrollY);
        DrawFigure(dc, 2, zoom, scrollX, scrollY);
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}
