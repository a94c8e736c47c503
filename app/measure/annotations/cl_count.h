#pragma once
// Counter markers: one click stamps one marker, a circle, a square or a
// diamond with the marker's number inside. The marker keeps its size in
// device pixels at any zoom. CCL_Count holds what the shapes share and draws
// no figure itself.
#include <string>

#include "annotation_geometry.h"
#include "cl_object.h"

class CCL_Count : public CCLObject {
public:
    static constexpr std::int32_t kDefaultSize = 15;
    // Longest name a record may hold; the names are a few characters.
    static constexpr std::size_t kMaxNameChars = 256;
    // The outline is hit within this many pixels, strictly.
    static constexpr double kOutlineReach = 5.0;

    // The marker colour starts as the drawing colour.
    CCL_Count() : markerColour(drawColour) {}

    // Device position of the number text for a marker centred at (cx, cy):
    // wider numbers start further left.
    static PixelPoint NumberOrigin(std::int32_t value, std::int32_t cx, std::int32_t cy);

    void Serialize(CArchive& ar) override;
    // A click sets the centre and completes the marker; moves do nothing.
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
#ifdef _WIN32
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
#endif
    // A marker is not dragged and has no handles: Move and CycleHandle keep
    // the base's do-nothing.
    bool HitRect(const PixelRect& rect, float zoom) override;
    // Hit on the outline circle of radius size, whatever the shape.
    bool HitTest(int x, int y, float zoom) override;

    PointF centre;
    ColourRef markerColour;
    std::u16string name;
    std::int32_t size = kDefaultSize;

protected:
#ifdef _WIN32
    // The shape's outline around the device centre; false when the class
    // has no figure (then nothing is drawn).
    virtual bool DrawFigure(CDC& dc, std::int32_t cx, std::int32_t cy) const;
#endif
};

class CCL_CountCircle : public CCL_Count {
public:
    static constexpr std::int32_t kType = 14;
    CCL_CountCircle();

protected:
#ifdef _WIN32
    bool DrawFigure(CDC& dc, std::int32_t cx, std::int32_t cy) const override;
#endif
};

class CCL_CountDiamond : public CCL_Count {
public:
    static constexpr std::int32_t kType = 15;
    CCL_CountDiamond();
    // Distance of the vertices from the centre.
    static std::int32_t Reach(std::int32_t size);

protected:
#ifdef _WIN32
    bool DrawFigure(CDC& dc, std::int32_t cx, std::int32_t cy) const override;
#endif
};

class CCL_CountRect : public CCL_Count {
public:
    static constexpr std::int32_t kType = 16;
    CCL_CountRect();
    // Half the side of the square.
    static std::int32_t HalfSide(std::int32_t size);

protected:
#ifdef _WIN32
    bool DrawFigure(CDC& dc, std::int32_t cx, std::int32_t cy) const override;
#endif
};
