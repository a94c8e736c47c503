#include "area_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "archive.h"
#include "figure_label.h"
#include "figure_math.h"
#include "polygon_area.h"

using figures::ImagePoint;

// ---- CCLRectangle ----

CCLRectangle::CCLRectangle() { type = kType; }

void CCLRectangle::Recompute() {
    results[kLength] = 0.0f;
    results[kHeight] = std::fabs(corner1.y - corner0.y);
    results[kWidth] = std::fabs(corner1.x - corner0.x);
    results[kPerimeter] = 2.0f * (results[kWidth] + results[kHeight]);
    results[kArea] = results[kWidth] * results[kHeight];
}

std::array<PointF, 4> CCLRectangle::Corners() const {
    return {corner0, PointF{corner1.x, corner0.y}, corner1, PointF{corner0.x, corner1.y}};
}

void CCLRectangle::Serialize(CArchive& ar) {
    CCLObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << corner0.x << corner0.y << corner1.x << corner1.y;
        return;
    }
    std::array<float, 4> f{};
    ar >> f[0] >> f[1] >> f[2] >> f[3];
    corner0 = {f[0], f[1]};
    corner1 = {f[2], f[3]};
}

bool CCLRectangle::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const PointF p = ImagePoint(x, y, zoom);
    if (step == 0) {
        if (!moving) {
            corner0 = corner1 = p;
            step = 1;
        }
        return false;
    }
    corner1 = p;
    if (moving) {
        DrawFigure(dc, zoom, scrollX, scrollY);
        return false;
    }
    step = 0;
    Recompute();
    figures::PlaceLabel(*this, corner0.x + 5, corner0.y + 5);
    return true;
}

void CCLRectangle::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (state != kHandleActive) {
        std::array<PointF, 2> both{corner0, corner1};
        MovePoints(both, x0, y0, x1, y1, zoom);
        corner0 = both[0];
        corner1 = both[1];
        return;
    }
    dragging = 1;
    if (!(zoom > 0.0f)) {
        return;
    }
    const float dx = static_cast<float>(x1 - x0) / zoom;
    const float dy = static_cast<float>(y1 - y0) / zoom;
    switch (activeHandle) {
    case 1:
        corner0.x += dx;
        corner0.y += dy;
        break;
    case 2:
        corner1.x += dx;
        corner0.y += dy;
        break;
    case 3:
        corner1.x += dx;
        corner1.y += dy;
        break;
    case 4:
        corner0.x += dx;
        corner1.y += dy;
        break;
    default: return;
    }
    Recompute();
}

// The edges: within 5 pixels of a vertical edge between the horizontal ones,
// or of a horizontal edge between the vertical ones. The edge through K0
// still takes a point exactly 5 pixels away.
bool CCLRectangle::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    if (HitLabelOrHandle(Corners(), x, y, zoom) != kIdle) {
        return true;
    }
    const figures::ZoomedPoint k0 = figures::Zoomed(corner0, zoom);
    const figures::ZoomedPoint k1 = figures::Zoomed(corner1, zoom);
    const long long px = x, py = y;
    const bool betweenRows = py >= std::min(k0.y, k1.y) && py <= std::max(k0.y, k1.y);
    const bool betweenColumns = px >= std::min(k0.x, k1.x) && px <= std::max(k0.x, k1.x);
    const bool nearColumn = std::llabs(px - k0.x) < 5 || std::llabs(px - k1.x) < 5;
    const bool nearRow = std::llabs(py - k0.y) <= 5 || std::llabs(py - k1.y) < 5;
    if ((nearColumn && betweenRows) || (nearRow && betweenColumns)) {
        state = kBodyActive;
        activeHandle = 0;
        return true;
    }
    return false;
}

bool CCLRectangle::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(Corners(), rect, zoom); }

void CCLRectangle::CycleHandle(bool forward) { CycleAmong(4, forward); }

// ---- CCLPolyline ----

void CCLPolyline::Serialize(CArchive& ar) {
    CCLObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<std::int32_t>(points.size());
        for (const PointF& p : points) {
            ar << p.x << p.y;
        }
        return;
    }
    const std::int32_t count = ar.ReadCount(static_cast<std::int32_t>(kMaxPoints));
    std::vector<PointF> read(static_cast<std::size_t>(count));
    for (PointF& p : read) {
        ar >> p.x >> p.y;
    }
    points = std::move(read);
    rubberBand.reset();
}

bool CCLPolyline::TrackPoints(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    const PointF p = ImagePoint(x, y, zoom);
    if (step == 0 || points.empty()) {
        if (!moving) {
            points.assign(1, p);
            rubberBand.reset();
            step = 1;
        }
        return false;
    }
    if (moving) {
        rubberBand = p;
        DrawPath(dc, true, zoom, scrollX, scrollY);
        return false;
    }
    const PointF last = points.back();
    const bool apart = std::fabs(static_cast<float>(x) - zoom * last.x) >= figures::kVertexSpacing ||
                       std::fabs(static_cast<float>(y) - zoom * last.y) >= figures::kVertexSpacing;
    if (apart) {
        if (points.size() < kMaxPoints) {
            points.push_back(p);
        }
        rubberBand.reset();
        DrawPath(dc, false, zoom, scrollX, scrollY);
        return false;
    }
    step = 0;
    rubberBand.reset();
    return true;
}

void CCLPolyline::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (MovePoints(points, x0, y0, x1, y1, zoom)) {
        Recompute();
    }
}

bool CCLPolyline::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    if (HitLabelOrHandle(points, x, y, zoom) != kIdle) {
        return true;
    }
    bool hit = closed_ && points.size() > 1 && figures::OnSegment(points.back(), points.front(), x, y, zoom);
    for (std::size_t i = 0; !hit && i + 1 < points.size(); ++i) {
        hit = figures::OnSegment(points[i], points[i + 1], x, y, zoom);
    }
    if (hit) {
        state = kBodyActive;
        activeHandle = 0;
    }
    return hit;
}

bool CCLPolyline::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(points, rect, zoom); }

void CCLPolyline::CycleHandle(bool forward) { CycleAmong(static_cast<int>(points.size()), forward); }

// ---- CCLPolygon ----

CCLPolygon::CCLPolygon() : CCLPolyline(true) { type = kType; }

void CCLPolygon::Recompute() {
    double perimeter = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        perimeter += figures::Distance(points[i], points[(i + 1) % points.size()]);
    }
    results[kPerimeter] = static_cast<float>(perimeter);
    results[kArea] = static_cast<float>(figures::PolygonPixelCount(points));
}

bool CCLPolygon::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    if (!TrackPoints(dc, x, y, step, moving, zoom, scrollX, scrollY) || points.size() < 3) {
        return false;
    }
    Recompute();
    figures::PlaceLabel(*this, points[0].x + 5, points[0].y + 5);
    return true;
}

// ---- CCLCurve ----

CCLCurve::CCLCurve() : CCLPolyline(false) { type = kType; }

void CCLCurve::Recompute() {
    double length = 0.0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        length += figures::Distance(points[i], points[i + 1]);
    }
    results[kLength] = static_cast<float>(length);
}

bool CCLCurve::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    if (!TrackPoints(dc, x, y, step, moving, zoom, scrollX, scrollY)) {
        return false;
    }
    Recompute();
    figures::PlaceLabel(*this, points[0].x + 5, points[0].y + 5);
    return true;
}
