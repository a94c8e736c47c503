#pragma once
// Circular measurements: radius (r6), area (r5) and perimeter (r4) of a
// circle given by its centre and a point, by a diameter or by three points;
// width (r2), height (r3), perimeter and area of an ellipse given by its box.
#include <array>
#include <cstdint>

#include "cl_object.h"

// Centre and a point on the circle (handle 1).
class CCLCircle : public CCLObject {
public:
    static constexpr std::int32_t kType = 7;
    CCLCircle();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    void Recompute();

    // The circle point (handle 1), then the centre.
    std::array<PointF, 2> points{};
    PointF& centre() { return points[1]; }
    const PointF& centre() const { return points[1]; }

private:
    void DrawTracking(CDC* dc, float zoom, int scrollX, int scrollY);
};

// The two ends of a diameter, D1 and D2 (handles 1 and 2).
class CCLCircle_D : public CCLObject {
public:
    static constexpr std::int32_t kType = 8;
    CCLCircle_D();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    void Recompute();

    // D1, D2, then the centre.
    std::array<PointF, 3> points{};
    PointF& centre() { return points[2]; }
    const PointF& centre() const { return points[2]; }

private:
    void DrawTracking(CDC* dc, float zoom, int scrollX, int scrollY);
};

// Three points on the circle, T1 to T3 (handles 1 to 3). Three points on one
// line have no circle: the third click is refused, and a handle moved onto
// that line leaves the centre and gives results of 0.
class CCLCircle_T : public CCLObject {
public:
    static constexpr std::int32_t kType = 9;
    CCLCircle_T();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    // False (results 0) when the points lie on one line.
    bool Recompute();

    // T1, T2, T3, then the centre.
    std::array<PointF, 4> points{};
    PointF& centre() { return points[3]; }
    const PointF& centre() const { return points[3]; }

private:
    void DrawTracking(CDC* dc, int pointCount, float zoom, int scrollX, int scrollY);
};

// An axis-parallel ellipse in the box of two corners. Handles are the
// middles of the box's sides: 1 left of C1, 2 above, 3 at C2's side, 4 below.
class CCLEllipse : public CCLObject {
public:
    static constexpr std::int32_t kType = 10;
    enum Orientation : std::int32_t { kMajorVertical = 1, kMajorHorizontal = 2 };
    CCLEllipse();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    // Axes, foci, eccentricity and the results from the two corners.
    void Recompute();
    std::array<PointF, 4> HandlePoints() const;

    PointF centre{};
    float semiMajor = 0.0f;
    float semiMinor = 0.0f;
    PointF corner1{};
    PointF corner2{};
    PointF focus1{};
    PointF focus2{};
    double eccentricity = 0.0;
    std::int32_t orientation = 0;

private:
    void DrawTracking(CDC* dc, float zoom, int scrollX, int scrollY);
};

namespace figures {

// The point at equal distance from t1, t2 and t3; false when they lie on
// one line.
bool Circumcentre(PointF t1, PointF t2, PointF t3, PointF& centre);

}  // namespace figures
