#pragma once
// The scale bar stamped onto a picture: a bar whose length on screen stands
// for a real length under the object's calibration, with that length and
// its unit written centred above it.
#include <string>

#include "annotation_geometry.h"
#include "cl_object.h"

class CCL_BiaoChi : public CCLObject {
public:
    static constexpr std::int32_t kType = 17;
    // Rows drawn at most: the thickness comes from files and dialogs, and
    // every row is a line across the bar.
    static constexpr std::int32_t kMaxDrawnThickness = 1000;

    CCL_BiaoChi() { type = kType; }

    // Bar length in image pixels: the value in the object's unit divided by
    // the scale. 0 when the scale is not a positive number (no calibration
    // divides by it) or the length is not finite.
    double ImageLength() const;
    // Bar length in device pixels at this zoom, fractional.
    double DeviceLength(float zoom) const { return static_cast<double>(zoom) * ImageLength(); }
    // The value with the object's decimals, a blank and the bar unit.
    std::u16string BarText() const;
    // Where the label goes when the bar is placed: centred above the bar for
    // a text of textWidth x textHeight device pixels (image pixels).
    PointF PlacedLabelAnchor(float zoom, std::int32_t textWidth, std::int32_t textHeight) const;
    // Where the label is drawn: the same in whole image pixels.
    PointF DrawnLabelAnchor(float zoom, std::int32_t textWidth, std::int32_t textHeight) const;
    // The filled box behind bar and text for a bar whose left end is at the
    // device point leftEnd; right and bottom exclusive.
    PixelRect BackgroundBox(PixelPoint leftEnd, double deviceLength, std::int32_t textWidth,
                            std::int32_t textHeight) const;

    void Serialize(CArchive& ar) override;
#ifdef _WIN32
    // Moves before the click show the bar under the mouse; the click places
    // it and its label and completes it.
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
#endif
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    // The label first, then the bar between its two ends.
    bool HitTest(int x, int y, float zoom) override;
    // No handles.
    void CycleHandle(bool) override {}

    bool ScaleBarValue(float& length, std::u16string& unit) const override;

    PointF origin;  // left end of the bar
    std::int32_t tick = 5;
    float value = 0;
    std::int32_t thickness = 0;
    std::int32_t background = 0;
    std::u16string barUnit;

#ifdef _WIN32
private:
    // The bar with its end ticks, in the pen selected into dc.
    void DrawBar(CDC& dc, PixelPoint leftEnd, double deviceLength) const;
#endif
};
