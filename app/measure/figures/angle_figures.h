#pragma once
// Angle measurements in degrees (r0): the angle at a vertex given by three
// clicks, and the angle between two lines given by two clicks each.
#include <array>
#include <cstdint>

#include "cl_object.h"

// P0, the vertex P1, P2; r0 is the angle at P1 (0 to 180).
class CCLAngle : public CCLObject {
public:
    static constexpr std::int32_t kType = 3;
    CCLAngle();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    void Recompute();

    // P0, P1, P2: handles 1 to 3.
    std::array<PointF, 3> points{};

private:
    void DrawFigure(CDC* dc, int pointCount, float zoom, int scrollX, int scrollY);
};

// Lines P1-P2 and P3-P4; r0 is the angle at their intersection.
class CCLAngle4Point : public CCLObject {
public:
    static constexpr std::int32_t kType = 4;
    CCLAngle4Point();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    // The intersection first, then the angle.
    void Recompute();

    // P1, P2, P3, P4: handles 1 to 4.
    std::array<PointF, 4> points{};
    // Where the lines cross; meaningful only while hasIntersection is set
    // (parallel lines and lines of no length have none).
    PointF intersection{-1.0f, -1.0f};
    bool hasIntersection = false;

private:
    void DrawFigure(CDC* dc, int pointCount, float zoom, int scrollX, int scrollY);
};

namespace figures {

// Where the line through a and b meets the line through c and d; false for
// parallel lines.
bool LineIntersection(PointF a, PointF b, PointF c, PointF d, PointF& at);

}  // namespace figures
