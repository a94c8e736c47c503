#include "line_figures.h"

#include <algorithm>
#include <cmath>

#include "archive.h"
#include "figure_label.h"
#include "figure_math.h"

using figures::ImagePoint;

namespace {

void StorePoints(CArchive& ar, std::span<const PointF> points) {
    for (const PointF& p : points) {
        ar << p.x << p.y;
    }
}

void LoadPoints(CArchive& ar, std::span<PointF> points) {
    for (PointF& p : points) {
        ar >> p.x >> p.y;
    }
}

// The two clicks of a straight line; true on the completing click. A second
// click on the first point does not complete when `refuseZeroLength`.
bool TrackTwoPoints(std::array<PointF, 2>& points, PointF p, int& step, bool moving, bool refuseZeroLength) {
    if (step == 0) {
        if (!moving) {
            points = {p, p};
            step = 1;
        }
        return false;
    }
    points[1] = p;
    if (moving || (refuseZeroLength && points[0] == points[1])) {
        return false;
    }
    step = 0;
    return true;
}

}  // namespace

// ---- CCLLine ----

CCLLine::CCLLine() { type = kType; }

void CCLLine::Recompute() { results[kLength] = static_cast<float>(figures::Distance(points[0], points[1])); }

void CCLLine::Serialize(CArchive& ar) {
    CCLObject::Serialize(ar);
    if (ar.IsStoring()) {
        StorePoints(ar, points);
    } else {
        LoadPoints(ar, points);
    }
}

bool CCLLine::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const bool complete = TrackTwoPoints(points, ImagePoint(x, y, zoom), step, moving, false);
    if (!complete) {
        if (step != 0) {
            DrawFigure(dc, zoom, scrollX, scrollY);
        }
        return false;
    }
    Recompute();
    figures::PlaceLabel(*this, points[0].x + 5, points[0].y + 5);
    return true;
}

void CCLLine::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (MovePoints(points, x0, y0, x1, y1, zoom)) {
        Recompute();
    }
}

bool CCLLine::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    if (HitLabelOrHandle(points, x, y, zoom) != kIdle) {
        return true;
    }
    if (figures::OnSegment(points[0], points[1], x, y, zoom)) {
        state = kBodyActive;
        activeHandle = 0;
        return true;
    }
    return false;
}

bool CCLLine::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(points, rect, zoom); }

void CCLLine::CycleHandle(bool forward) { CycleAmong(2, forward); }

// ---- CCL_Scale ----

CCL_Scale::CCL_Scale() { type = kType; }

void CCL_Scale::Recompute(float zoom) {
    const PointF a{zoom * points[0].x, zoom * points[0].y};
    const PointF b{zoom * points[1].x, zoom * points[1].y};
    results[kLength] = static_cast<float>(figures::Distance(a, b));
}

void CCL_Scale::Serialize(CArchive& ar) {
    CCLObject::Serialize(ar);
    if (ar.IsStoring()) {
        StorePoints(ar, points);
    } else {
        LoadPoints(ar, points);
    }
}

// A calibration line of no length would calibrate by a division by zero:
// the second click on the first point is refused.
bool CCL_Scale::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const bool complete = TrackTwoPoints(points, ImagePoint(x, y, zoom), step, moving, true);
    if (!complete) {
        if (step != 0) {
            DrawTracking(dc, zoom, scrollX, scrollY);
        }
        return false;
    }
    Recompute(zoom);
    return true;
}

// Only the body and the handles move; selected whole or by its (absent)
// label, the line stays and its length is taken at the new zoom.
void CCL_Scale::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (state == kBodyActive || state == kHandleActive) {
        MovePoints(points, x0, y0, x1, y1, zoom);
    } else {
        dragging = 1;
    }
    Recompute(zoom);
}

bool CCL_Scale::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (figures::NearPoint(points[i], x, y, zoom)) {
            state = kHandleActive;
            activeHandle = static_cast<std::int32_t>(i + 1);
            return true;
        }
    }
    if (figures::OnSegment(points[0], points[1], x, y, zoom)) {
        state = kBodyActive;
        activeHandle = 0;
        return true;
    }
    return false;
}

bool CCL_Scale::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(points, rect, zoom); }

void CCL_Scale::CycleHandle(bool forward) {
    if (state == kSelectedWhole) {
        state = kBodyActive;
    }
    CycleAmong(2, forward);
}

// ---- CCLParallel ----

CCLParallel::CCLParallel() { type = kType; }

// The distance of C from the line through A and B by the cosine of the angle
// at B. Coinciding points leave no line or no angle: the distance is 0, and
// rounding never takes the cosine or the root out of range.
void CCLParallel::Recompute() {
    const PointF a = points[0];
    const PointF b = points[1];
    const PointF c = points[2];
    float distance = 0.0f;
    const bool oneRow = a.y == b.y && b.y == c.y;
    const bool oneColumn = a.x == b.x && b.x == c.x;
    const double v = figures::SquaredDistance(b, c);
    const double h = figures::SquaredDistance(b, a);
    if (!oneRow && !oneColumn && v > 0.0 && h > 0.0) {
        double cosine = (h + v - figures::SquaredDistance(a, c)) / (2.0 * std::sqrt(v) * std::sqrt(h));
        cosine = std::clamp(cosine, -1.0, 1.0);
        distance = static_cast<float>(std::sqrt(std::max(0.0, v * (1.0 - cosine * cosine))));
    }
    results[kDistance] = distance;
}

std::array<PointF, 2> CCLParallel::ParallelEnds() const {
    const float hx = (points[0].x - points[1].x) / 2.0f;
    const float hy = (points[0].y - points[1].y) / 2.0f;
    return {PointF{points[2].x - hx, points[2].y - hy}, PointF{points[2].x + hx, points[2].y + hy}};
}

void CCLParallel::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        CCLObject::Serialize(ar);
        ar << points[1].x << points[1].y << points[0].x << points[0].y << points[2].x << points[2].y;
        return;
    }
    CCLObject::Serialize(ar);
    std::array<PointF, 3> read{};
    ar >> read[1].x >> read[1].y >> read[0].x >> read[0].y >> read[2].x >> read[2].y;
    points = read;
}

// A second click on A would leave no line to measure from: it is refused.
bool CCLParallel::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const PointF p = ImagePoint(x, y, zoom);
    switch (step) {
    case 0:
        if (!moving) {
            points = {p, p, p};
            step = 1;
        }
        return false;
    case 1:
        points[1] = p;
        points[2] = p;
        if (!moving && points[1] != points[0]) {
            step = 2;
        }
        DrawFigure(dc, step == 1 ? 1 : 2, zoom, scrollX, scrollY);
        return false;
    default:
        points[2] = p;
        if (moving) {
            DrawFigure(dc, 2, zoom, scrollX, scrollY);
            return false;
        }
        step = 0;
        Recompute();
        figures::PlaceLabel(*this, points[0].x + 5, points[0].y + 5);
        return true;
    }
}

void CCLParallel::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (MovePoints(points, x0, y0, x1, y1, zoom)) {
        Recompute();
    }
}

bool CCLParallel::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    if (HitLabelOrHandle(points, x, y, zoom) != kIdle) {
        return true;
    }
    const double ax = static_cast<double>(zoom) * points[0].x, ay = static_cast<double>(zoom) * points[0].y;
    const double bx = static_cast<double>(zoom) * points[1].x, by = static_cast<double>(zoom) * points[1].y;
    const double cx = static_cast<double>(zoom) * points[2].x, cy = static_cast<double>(zoom) * points[2].y;
    const double length = std::hypot(ax - bx, ay - by);
    if (!(length > 0.0)) {
        return false;
    }
    const double ex = (ax - bx) / length;
    const double ey = (ay - by) / length;
    // Along e and across it, from a point on the line.
    const auto along = [&](double ox, double oy) { return (x - ox) * ex + (y - oy) * ey; };
    const auto across = [&](double ox, double oy) { return std::fabs((x - ox) * ey - (y - oy) * ex); };
    const bool onAB = across(bx, by) < 5.0 && along(bx, by) >= 0.0 && along(bx, by) <= length;
    const bool onParallel = across(cx, cy) < 5.0 && along(cx, cy) >= -length / 2.0 && along(cx, cy) <= length / 2.0;
    if (onAB || onParallel) {
        state = kBodyActive;
        activeHandle = 0;
        return true;
    }
    return false;
}

bool CCLParallel::HitRect(const PixelRect& rect, float zoom) {
    const std::array<PointF, 2> ends = ParallelEnds();
    const std::array<PointF, 5> reference{points[0], points[1], ends[0], ends[1], points[2]};
    return HitRectPoints(reference, rect, zoom);
}

void CCLParallel::CycleHandle(bool forward) { CycleAmong(3, forward); }
