#pragma once
// An arrow picture stamped with its tip on a clicked point, recoloured to
// the arrow colour. The picture keeps its size in device pixels at any zoom;
// its top-left corner is placed from the tip for the zoom it is drawn at.
#include "cl_object.h"

struct ArrowSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const ArrowSize&, const ArrowSize&) = default;
};

class CCLArrow : public CCLObject {
public:
    static constexpr std::int32_t kType = 19;
    // The drawn width divided by the picture's 120 pixels.
    static constexpr float kScalePerPixel = 0.008333334f;

    CCLArrow() { type = kType; }

    void SetArrowStyle(std::int32_t newDirection, std::int32_t newWidth, std::int32_t newHeight);
    ArrowSize GetArrowSize() const { return {width, height}; }
    std::int32_t GetDirection() const { return direction; }
    void SetArrowColor(ColourRef colour) { arrowColour = colour; }
    ColourRef GetArrowColor() const { return arrowColour; }

    // Top-left corner (image pixels) that puts the tip on its point when the
    // picture is drawn at this zoom.
    void PlaceForZoom(float zoom);
    // The drawn picture in zoomed-picture pixels (scroll not applied).
    PixelRect PictureRect(float zoom) const;

    void Serialize(CArchive& ar) override;
    // A click sets the tip and completes the arrow; moves do nothing.
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
#ifdef _WIN32
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
#endif
    // An arrow is not dragged and has no handles: Move and CycleHandle keep
    // the base's do-nothing.
    bool HitRect(const PixelRect& rect, float zoom) override;
    bool HitTest(int x, int y, float zoom) override;

    std::int32_t direction = 0;
    float arrowScale = 0.25f;
    PointF tip;
    PointF topLeft;
    std::int32_t width = 30;
    std::int32_t height = 30;
    ColourRef arrowColour = 255;
};
