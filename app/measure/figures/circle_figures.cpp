#include "circle_figures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "archive.h"
#include "figure_label.h"
#include "figure_math.h"

using figures::ImagePoint;

namespace figures {

bool Circumcentre(PointF t1, PointF t2, PointF t3, PointF& centre) {
    const double dx1 = static_cast<double>(t1.x) - t3.x, dy1 = static_cast<double>(t1.y) - t3.y;
    const double dx2 = static_cast<double>(t2.x) - t3.x, dy2 = static_cast<double>(t2.y) - t3.y;
    const double d = 2.0 * (dx2 * dy1 - dx1 * dy2);
    if (NearZero(d)) {
        return false;
    }
    const double n1 = dx1 * dx1 + dy1 * dy1;
    const double n2 = dx2 * dx2 + dy2 * dy2;
    centre.x = static_cast<float>(t3.x + (dy1 * n2 - dy2 * n1) / d);
    centre.y = static_cast<float>(t3.y + (dx2 * n1 - dx1 * n2) / d);
    return std::isfinite(centre.x) && std::isfinite(centre.y);
}

}  // namespace figures

namespace {

void SetCircleResults(std::array<float, 8>& results, float radius) {
    results[CCLObject::kRadius] = radius;
    results[CCLObject::kArea] = radius * radius * figures::kPi;
    results[CCLObject::kPerimeter] = radius * figures::kTwoPi;
}

float RadiusBetween(PointF a, PointF b) { return static_cast<float>(figures::Distance(a, b)); }

void Transfer(CArchive& ar, std::span<PointF> points) {
    for (PointF& p : points) {
        if (ar.IsStoring()) {
            ar << p.x << p.y;
        } else {
            ar >> p.x >> p.y;
        }
    }
}

// On the ring: the distance from the centre is within 5 pixels of the radius.
bool OnRing(PointF centre, float radius, int x, int y, float zoom) {
    const figures::ZoomedPoint c = figures::Zoomed(centre, zoom);
    const double fromCentre = std::hypot(static_cast<double>(x) - c.x, static_cast<double>(y) - c.y);
    return std::fabs(fromCentre - static_cast<double>(zoom) * radius) < 5.0;
}

}  // namespace

namespace {

// Circles test the label, then the centre (which takes the body), then their
// handles: the centre goes first in the list given to the base's test, and
// a hit on it becomes the body.
bool HitCentreFirst(CCLObject& object, std::int32_t hit) {
    if (hit == CCLObject::kHandleActive) {
        if (object.activeHandle == 1) {
            object.state = CCLObject::kBodyActive;
            object.activeHandle = 0;
        } else {
            --object.activeHandle;
        }
    }
    return hit != CCLObject::kIdle;
}

bool HitBody(CCLObject& object, bool hit) {
    if (hit) {
        object.state = CCLObject::kBodyActive;
        object.activeHandle = 0;
    }
    return hit;
}

}  // namespace

// ---- CCLCircle ----

CCLCircle::CCLCircle() { type = kType; }

void CCLCircle::Recompute() { SetCircleResults(results, RadiusBetween(centre(), points[0])); }

void CCLCircle::Serialize(CArchive& ar) {
    std::array<PointF, 2> record{centre(), points[0]};
    CCLObject::Serialize(ar);
    Transfer(ar, record);
    if (ar.IsLoading()) {
        centre() = record[0];
        points[0] = record[1];
    }
}

bool CCLCircle::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const PointF p = ImagePoint(x, y, zoom);
    if (step == 0) {
        if (!moving) {
            centre() = p;
            points[0] = p;
            step = 1;
        }
        return false;
    }
    points[0] = p;
    if (moving) {
        DrawTracking(dc, zoom, scrollX, scrollY);
        return false;
    }
    step = 0;
    Recompute();
    figures::PlaceLabel(*this, centre().x + 5, centre().y + 5);
    return true;
}

// A moved circle point changes the radius; the centre stays.
void CCLCircle::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (MovePoints(points, x0, y0, x1, y1, zoom)) {
        Recompute();
    }
}

bool CCLCircle::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    const std::array<PointF, 2> order{centre(), points[0]};
    if (HitCentreFirst(*this, HitLabelOrHandle(order, x, y, zoom))) {
        return true;
    }
    return HitBody(*this, OnRing(centre(), results[kRadius], x, y, zoom));
}

bool CCLCircle::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(points, rect, zoom); }

void CCLCircle::CycleHandle(bool forward) { CycleAmong(1, forward); }

// ---- CCLCircle_D ----

CCLCircle_D::CCLCircle_D() { type = kType; }

void CCLCircle_D::Recompute() {
    centre() = {(points[0].x + points[1].x) / 2.0f, (points[0].y + points[1].y) / 2.0f};
    SetCircleResults(results, RadiusBetween(centre(), points[0]));
}

void CCLCircle_D::Serialize(CArchive& ar) {
    std::array<PointF, 3> record{centre(), points[0], points[1]};
    CCLObject::Serialize(ar);
    Transfer(ar, record);
    if (ar.IsLoading()) {
        centre() = record[0];
        points[0] = record[1];
        points[1] = record[2];
    }
}

bool CCLCircle_D::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const PointF p = ImagePoint(x, y, zoom);
    if (step == 0) {
        if (!moving) {
            points = {p, p, p};
            step = 1;
        }
        return false;
    }
    points[1] = p;
    centre() = {(points[0].x + p.x) / 2.0f, (points[0].y + p.y) / 2.0f};
    if (moving) {
        DrawTracking(dc, zoom, scrollX, scrollY);
        return false;
    }
    step = 0;
    Recompute();
    figures::PlaceLabel(*this, centre().x + 5, centre().y + 5);
    return true;
}

void CCLCircle_D::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (MovePoints(points, x0, y0, x1, y1, zoom)) {
        Recompute();
    }
}

bool CCLCircle_D::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    const std::array<PointF, 3> order{centre(), points[0], points[1]};
    if (HitCentreFirst(*this, HitLabelOrHandle(order, x, y, zoom))) {
        return true;
    }
    return HitBody(*this, OnRing(centre(), results[kRadius], x, y, zoom));
}

bool CCLCircle_D::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(points, rect, zoom); }

void CCLCircle_D::CycleHandle(bool forward) { CycleAmong(2, forward); }

// ---- CCLCircle_T ----

CCLCircle_T::CCLCircle_T() { type = kType; }

bool CCLCircle_T::Recompute() {
    PointF c{};
    if (!figures::Circumcentre(points[0], points[1], points[2], c)) {
        SetCircleResults(results, 0.0f);
        return false;
    }
    centre() = c;
    SetCircleResults(results, RadiusBetween(c, points[1]));
    return true;
}

void CCLCircle_T::Serialize(CArchive& ar) {
    std::array<PointF, 4> record{centre(), points[0], points[1], points[2]};
    CCLObject::Serialize(ar);
    Transfer(ar, record);
    if (ar.IsLoading()) {
        centre() = record[0];
        points[0] = record[1];
        points[1] = record[2];
        points[2] = record[3];
    }
}

bool CCLCircle_T::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const PointF p = ImagePoint(x, y, zoom);
    if (step <= 0 || step > 2) {
        if (!moving) {
            points = {p, p, p, p};
            step = 1;
        }
        return false;
    }
    const auto index = static_cast<std::size_t>(step);
    for (std::size_t i = index; i < 3; ++i) {
        points[i] = p;
    }
    if (moving) {
        DrawTracking(dc, step + 1, zoom, scrollX, scrollY);
        return false;
    }
    if (step == 1) {
        step = 2;
        DrawTracking(dc, 2, zoom, scrollX, scrollY);
        return false;
    }
    PointF c{};
    if (!figures::Circumcentre(points[0], points[1], points[2], c)) {
        DrawTracking(dc, 3, zoom, scrollX, scrollY);
        return false;
    }
    step = 0;
    Recompute();
    figures::PlaceLabel(*this, centre().x + 5, centre().y + 5);
    return true;
}

void CCLCircle_T::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (MovePoints(points, x0, y0, x1, y1, zoom)) {
        Recompute();
    }
}

bool CCLCircle_T::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    const std::array<PointF, 4> order{centre(), points[0], points[1], points[2]};
    if (HitCentreFirst(*this, HitLabelOrHandle(order, x, y, zoom))) {
        return true;
    }
    return HitBody(*this, OnRing(centre(), results[kRadius], x, y, zoom));
}

bool CCLCircle_T::HitRect(const PixelRect& rect, float zoom) { return HitRectPoints(points, rect, zoom); }

void CCLCircle_T::CycleHandle(bool forward) { CycleAmong(3, forward); }

// ---- CCLEllipse ----

CCLEllipse::CCLEllipse() { type = kType; }

// A box of no width and no height has no axes: everything is 0 and both
// foci sit on the centre.
void CCLEllipse::Recompute() {
    const float height = std::fabs(corner2.y - corner1.y);
    const float width = std::fabs(corner2.x - corner1.x);
    results[kHeight] = height;
    results[kWidth] = width;
    semiMajor = std::max(height / 2.0f, width / 2.0f);
    semiMinor = std::min(height / 2.0f, width / 2.0f);
    results[kArea] = semiMajor * semiMinor * figures::kPi;
    results[kPerimeter] = 4.0f * (semiMajor - semiMinor) + figures::kTwoPi * semiMinor;
    centre = {(corner1.x + corner2.x) / 2.0f, (corner1.y + corner2.y) / 2.0f};
    eccentricity = semiMajor > 0.0f ? std::sqrt(std::max(0.0, 1.0 - (static_cast<double>(semiMinor) * semiMinor) /
                                                                        (static_cast<double>(semiMajor) * semiMajor)))
                                    : 0.0;
    const auto offset = static_cast<float>(semiMajor * eccentricity);
    if (height >= width) {
        focus1 = {centre.x, centre.y - offset};
        focus2 = {centre.x, centre.y + offset};
        orientation = kMajorVertical;
    } else {
        focus1 = {centre.x - offset, centre.y};
        focus2 = {centre.x + offset, centre.y};
        orientation = kMajorHorizontal;
    }
}

std::array<PointF, 4> CCLEllipse::HandlePoints() const {
    return {PointF{corner1.x, centre.y}, PointF{centre.x, corner1.y}, PointF{corner2.x, centre.y},
            PointF{centre.x, corner2.y}};
}

void CCLEllipse::Serialize(CArchive& ar) {
    CCLObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << centre.x << centre.y << semiMajor << semiMinor << corner1.x << corner1.y << corner2.x << corner2.y
           << focus1.x << focus1.y << focus2.x << focus2.y;
        std::uint64_t bits = 0;
        static_assert(sizeof bits == sizeof eccentricity);
        std::memcpy(&bits, &eccentricity, sizeof bits);
        ar << static_cast<std::uint32_t>(bits) << static_cast<std::uint32_t>(bits >> 32) << orientation;
        return;
    }
    // Read into locals so that a short record leaves the figure as it was.
    std::array<float, 12> f{};
    for (float& v : f) {
        ar >> v;
    }
    std::uint32_t low = 0, high = 0;
    std::int32_t newOrientation = 0;
    ar >> low >> high >> newOrientation;
    const std::uint64_t bits = (static_cast<std::uint64_t>(high) << 32) | low;
    std::memcpy(&eccentricity, &bits, sizeof bits);
    centre = {f[0], f[1]};
    semiMajor = f[2];
    semiMinor = f[3];
    corner1 = {f[4], f[5]};
    corner2 = {f[6], f[7]};
    focus1 = {f[8], f[9]};
    focus2 = {f[10], f[11]};
    orientation = newOrientation;
}

// A second click on the first corner would give an ellipse with no axes: it
// is refused.
bool CCLEllipse::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    dragging = 0;
    const PointF p = ImagePoint(x, y, zoom);
    if (step == 0) {
        if (!moving) {
            corner1 = corner2 = p;
            step = 1;
        }
        return false;
    }
    corner2 = p;
    if (moving || corner2 == corner1) {
        DrawTracking(dc, zoom, scrollX, scrollY);
        return false;
    }
    step = 0;
    Recompute();
    figures::PlaceLabel(*this, centre.x + 5, centre.y + 5);
    return true;
}

void CCLEllipse::Move(int x0, int y0, int x1, int y1, float zoom) {
    if (state != kHandleActive) {
        std::array<PointF, 5> all{centre, corner1, corner2, focus1, focus2};
        MovePoints(all, x0, y0, x1, y1, zoom);
        centre = all[0];
        corner1 = all[1];
        corner2 = all[2];
        focus1 = all[3];
        focus2 = all[4];
        return;
    }
    dragging = 1;
    if (!(zoom > 0.0f)) {
        return;
    }
    const float dx = static_cast<float>(x1 - x0) / zoom;
    const float dy = static_cast<float>(y1 - y0) / zoom;
    switch (activeHandle) {
    case 1: corner1.x += dx; break;
    case 2: corner1.y += dy; break;
    case 3: corner2.x += dx; break;
    case 4: corner2.y += dy; break;
    default: return;
    }
    Recompute();
}

bool CCLEllipse::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    const std::array<PointF, 4> handles = HandlePoints();
    const std::array<PointF, 5> order{centre, handles[0], handles[1], handles[2], handles[3]};
    if (HitCentreFirst(*this, HitLabelOrHandle(order, x, y, zoom))) {
        return true;
    }
    const double z = zoom;
    const double toFoci =
        std::hypot(x - z * focus1.x, y - z * focus1.y) + std::hypot(x - z * focus2.x, y - z * focus2.y);
    const double major = std::max(std::fabs(corner2.x - corner1.x), std::fabs(corner2.y - corner1.y)) * z / 2.0;
    return HitBody(*this, toFoci >= 2.0 * major - 8.0 && toFoci <= 2.0 * major + 8.0);
}

bool CCLEllipse::HitRect(const PixelRect& rect, float zoom) {
    const std::array<PointF, 4> handles = HandlePoints();
    const std::array<PointF, 5> reference{handles[0], handles[1], handles[2], handles[3], centre};
    return HitRectPoints(reference, rect, zoom);
}

void CCLEllipse::CycleHandle(bool forward) { CycleAmong(4, forward); }
