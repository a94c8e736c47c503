#include "angle_figures.h"

#include <cmath>

#include "archive.h"
#include "figure_label.h"
#include "figure_math.h"
#include "truncate.h"

using figures::ImagePoint;
using figures::NearZero;
using figures::SquaredDistance;

namespace figures {

bool LineIntersection(PointF a, PointF b, PointF c, PointF d, PointF& at) {
    const double rx = static_cast<double>(b.x) - a.x, ry = static_cast<double>(b.y) - a.y;
    const double sx = static_cast<double>(d.x) - c.x, sy = static_cast<double>(d.y) - c.y;
    const double denominator = rx * sy - ry * sx;
    if (denominator == 0.0) {
        return false;
    }
    const double t = ((static_cast<double>(c.x) - a.x) * sy - (static_cast<double>(c.y) - a.y) * sx) / denominator;
    // Exact coordinates where a line is vertical or horizontal.
    at.x = static_cast<float>(a.x == b.x ? b.x : c.x == d.x ? d.x : a.x + t * rx);
    at.y = static_cast<float>(a.y == b.y ? b.y : c.y == d.y ? d.y : a.y + t * ry);
    return std::isfinite(at.x) && std::isfinite(at.y);
}

}  // namespace figures

namespace {

// Steps through `points.size()` clicks; true on the last one.
template <std::size_t N>
bool TrackClicks(std::array<PointF, N>& points, PointF p, int& step, bool moving) {
    if (step < 0 || step >= static_cast<int>(N)) {
        step = 0;
    }
    const auto index = static_cast<std::size_t>(step);
    if (step == 0) {
        if (moving) {
            return false;
        }
        points.fill(p);
        step = 1;
        return false;
    }
    for (std::size_t i = index; i < N; ++i) {
        points[i] = p;
    }
    if (moving) {
        return false;
    }
    step = step + 1 == static_cast<int>(N) ? 0 : step + 1;
    return step == 0;
}

}  // namespace

// ---- CCLAngle ----

CCLAngle::CCLAngle() { type = kType; }

void CCLAngle::Recompute() {
    const double u = SquaredDistance(points[0], points[1]);
    const double w = SquaredDistance(points[1], points[2]);
    const double v = SquaredDistance(points[0], points[2]);
    if (NearZero(u) || NearZero(w) || NearZero(v)) {
        results[kAngle] = 0.0f;
        return;
    }
    results[kAngle] = figures::ArcCosDegrees((u + w - v) / (2.0 * std::sqrt(w) * std::sqrt(u)));
}

void CCLAngle::Serialize(CArchive& ar) {
    CCLObject::Serialize(ar);
    for (PointF& p : points) {
        if (ar.IsStoring()) {
            ar << p.x << p.y;
        } else {
            ar >> p.x >> p.y;
        }
    }
}

bool CCLAngle::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const int placed = step;
    if (!TrackClicks(points, ImagePoint(x, y, zoom), step, moving)) {
        if (step != 0) {
            DrawFigure(dc, moving ? placed + 1 : step, zoom, scrollX, scrollY);
        }
        return false;
    }
    Recompute();
    figures::PlaceLabel(*this, points[0].x + 5, points[0].y + 5);
    return true;
}

void CCLAngle::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (MovePoints(points, x0, y0, x1, y1, zoom)) {
        Recompute();
    }
}

bool CCLAngle::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    if (HitLabelOrHandle(points, x, y, zoom) != kIdle) {
        return true;
    }
    if (figures::OnSegment(points[0], points[1], x, y, zoom) || figures::OnSegment(points[1], points[2], x, y, zoom)) {
        state = kBodyActive;
        activeHandle = 0;
        return true;
    }
    return false;
}

bool CCLAngle::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(points, rect, zoom); }

void CCLAngle::CycleHandle(bool forward) { CycleAmong(3, forward); }

// ---- CCLAngle4Point ----

CCLAngle4Point::CCLAngle4Point() { type = kType; }

// The cosine at the intersection is taken from P1 and P3, or from P2 and P4
// when the intersection shares a whole-pixel column or row with P1 or P3. A
// reference point on the intersection itself gives no direction: its line's
// other point is used instead, so the angle is never a division by zero.
void CCLAngle4Point::Recompute() {
    hasIntersection = false;
    intersection = {-1.0f, -1.0f};
    results[kAngle] = 0.0f;
    if (NearZero(figures::Distance(points[0], points[1])) || NearZero(figures::Distance(points[2], points[3]))) {
        return;
    }
    PointF at{};
    if (!figures::LineIntersection(points[0], points[1], points[2], points[3], at)) {
        return;
    }
    hasIntersection = true;
    intersection = at;
    const auto sharesPixel = [&](PointF p) {
        return TruncateToInt(at.x) == TruncateToInt(p.x) || TruncateToInt(at.y) == TruncateToInt(p.y);
    };
    const bool useSecond = sharesPixel(points[0]) || sharesPixel(points[2]);
    PointF pa = useSecond ? points[1] : points[0];
    PointF pb = useSecond ? points[3] : points[2];
    if (NearZero(figures::Distance(at, pa))) {
        pa = useSecond ? points[0] : points[1];
    }
    if (NearZero(figures::Distance(at, pb))) {
        pb = useSecond ? points[2] : points[3];
    }
    const double a = figures::Distance(at, pa);
    const double b = figures::Distance(at, pb);
    const double c = figures::Distance(pa, pb);
    results[kAngle] = figures::ArcCosDegrees((a * a + b * b - c * c) / (2.0 * a * b));
}

void CCLAngle4Point::Serialize(CArchive& ar) {
    CCLObject::Serialize(ar);
    if (ar.IsStoring()) {
        for (const PointF& p : points) {
            ar << p.x << p.y;
        }
        return;
    }
    std::array<PointF, 4> read{};
    for (PointF& p : read) {
        ar >> p.x >> p.y;
    }
    points = read;
    // The intersection is not stored: it follows from the points.
    const float angle = results[kAngle];
    Recompute();
    results[kAngle] = angle;
}

bool CCLAngle4Point::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const int placed = step;
    if (!TrackClicks(points, ImagePoint(x, y, zoom), step, moving)) {
        if (step != 0) {
            DrawFigure(dc, moving ? placed + 1 : step, zoom, scrollX, scrollY);
        }
        return false;
    }
    Recompute();
    figures::PlaceLabel(*this, points[0].x + 5, points[0].y + 5);
    return true;
}

void CCLAngle4Point::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (MovePoints(points, x0, y0, x1, y1, zoom)) {
        Recompute();
    } else if (hasIntersection && (state == kBodyActive || state == kSelectedWhole) && zoom > 0.0f) {
        intersection.x += static_cast<float>(x1 - x0) / zoom;
        intersection.y += static_cast<float>(y1 - y0) / zoom;
    }
}

bool CCLAngle4Point::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    if (HitLabelOrHandle(points, x, y, zoom) != kIdle) {
        return true;
    }
    if (figures::OnSegment(points[0], points[1], x, y, zoom) || figures::OnSegment(points[2], points[3], x, y, zoom)) {
        state = kBodyActive;
        activeHandle = 0;
        return true;
    }
    return false;
}

bool CCLAngle4Point::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(points, rect, zoom); }

// Three, not four: cycling visits P1 to P3.
void CCLAngle4Point::CycleHandle(bool forward) { CycleAmong(3, forward); }
