#pragma once
// Area and path measurements: an axis-parallel rectangle from two corners,
// a closed polygon and an open curve of up to 500 clicked points.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "cl_object.h"

// Corners K0 and K1; r2 width, r3 height, r4 perimeter, r5 area, r1 = 0.
class CCLRectangle : public CCLObject {
public:
    static constexpr std::int32_t kType = 6;
    CCLRectangle();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    void Recompute();
    // Handles 1 to 4: K0, (K1.x, K0.y), K1, (K0.x, K1.y).
    std::array<PointF, 4> Corners() const;

    PointF corner0{};
    PointF corner1{};

private:
    void DrawFigure(CDC* dc, float zoom, int scrollX, int scrollY);
};

// What a polygon and a curve share: up to 500 points, each a handle, and
// while drawn the mouse position after the last point. The mouse position is
// never one of the points.
class CCLPolyline : public CCLObject {
public:
    static constexpr std::size_t kMaxPoints = 500;

    void Serialize(CArchive& ar) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;

    virtual void Recompute() = 0;

    std::vector<PointF> points;
    std::optional<PointF> rubberBand;

protected:
    explicit CCLPolyline(bool closed) : closed_(closed) {}
    // The clicks and moves of drawing; true on the click that finishes the
    // figure (a click within 5 pixels of the last point). Clicks past the
    // 500th point add nothing.
    bool TrackPoints(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY);

private:
    void DrawPath(CDC* dc, bool withRubberBand, float zoom, int scrollX, int scrollY);
    bool closed_;
};

// Closed polygon: r4 perimeter, r5 area in whole image pixels.
class CCLPolygon : public CCLPolyline {
public:
    static constexpr std::int32_t kType = 12;
    CCLPolygon();

    // Fewer than three points make no polygon: the finishing click then
    // completes nothing.
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Recompute() override;
};

// Open curve: r1 length.
class CCLCurve : public CCLPolyline {
public:
    static constexpr std::int32_t kType = 11;
    CCLCurve();

    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Recompute() override;
};
