#pragma once
// Straight-line measurements: the length of a line, the calibration line the
// user calibrates with, and the distance of a point from a line (shown as a
// parallel through that point).
#include <array>
#include <cstdint>

#include "cl_object.h"

// Length between two points, in image pixels (r1).
class CCLLine : public CCLObject {
public:
    static constexpr std::int32_t kType = 2;
    CCLLine();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    void Recompute();

    // First and second point; handles 1 and 2.
    std::array<PointF, 2> points{};

private:
    void DrawFigure(CDC* dc, float zoom, int scrollX, int scrollY);
};

// The calibration line: its r1 is the length in view pixels at the zoom it
// was last drawn or edited at. It has no label.
class CCL_Scale : public CCLObject {
public:
    static constexpr std::int32_t kType = 1;
    CCL_Scale();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    // The view length at `zoom`.
    void Recompute(float zoom);

    std::array<PointF, 2> points{};

private:
    void DrawTracking(CDC* dc, float zoom, int scrollX, int scrollY);
};

// Distance of C from the line through A and B (r7). A is the first click,
// B the second, C the third.
class CCLParallel : public CCLObject {
public:
    static constexpr std::int32_t kType = 5;
    CCLParallel();

    void Serialize(CArchive& ar) override;
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;
    void CycleHandle(bool forward) override;

    void Recompute();
    // Ends of the segment through C, parallel to A-B and as long.
    std::array<PointF, 2> ParallelEnds() const;

    // In handle order: A (1), B (2), C (3). The record holds B, A, C.
    std::array<PointF, 3> points{};

private:
    void DrawFigure(CDC* dc, int step, float zoom, int scrollX, int scrollY);
};
