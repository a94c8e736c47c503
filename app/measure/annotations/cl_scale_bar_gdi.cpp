// Placing and drawing the scale bar; its text is measured with the object's
// font, as the label will draw it.
#include <windows.h>

#include <algorithm>

#include "cl_scale_bar.h"
#include "dc.h"
#include "annotation_geometry.h"
#include "truncate.h"

namespace {

struct TextSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

TextSize MeasureText(CDC* dc, const std::u16string& text, const LogFont& font) {
    CTextObject probe;
    probe.text = text;
    probe.Measure(dc, font);
    return {probe.width, probe.height};
}

PixelPoint LeftEnd(PointF origin, float zoom, int scrollX, int scrollY) {
    return {SaturateToInt(std::int64_t{ZoomedPixel(zoom, origin.x)} - scrollX),
            SaturateToInt(std::int64_t{ZoomedPixel(zoom, origin.y)} - scrollY)};
}

}  // namespace

void CCL_BiaoChi::DrawBar(CDC& dc, PixelPoint leftEnd, double deviceLength) const {
    const double lx = leftEnd.x;
    const double ly = leftEnd.y;
    const std::int32_t tickTop = TruncateToInt(ly - tick);
    const std::int32_t tickBottom = TruncateToInt(ly + thickness + tick);
    const std::int32_t rows = std::clamp(thickness, 0, kMaxDrawnThickness);
    for (std::int32_t i = 0; i < rows; ++i) {
        const std::int32_t leftTick = TruncateToInt(lx + i);
        dc.MoveTo(leftTick, tickTop);
        dc.LineTo(leftTick, tickBottom);
        const std::int32_t rightTick = TruncateToInt(lx + i + deviceLength);
        dc.MoveTo(rightTick, tickTop);
        dc.LineTo(rightTick, tickBottom);
        const std::int32_t row = TruncateToInt(ly + i);
        dc.MoveTo(leftEnd.x, row);
        dc.LineTo(TruncateToInt(lx + deviceLength), row);
    }
}

bool CCL_BiaoChi::Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) {
    if (step != 0 || !IsUsableZoom(zoom)) {
        return false;
    }
    origin = ToImagePoint(x, y, zoom);
    if (moving) {
        if (dc != nullptr) {
            CPen pen(penStyle, lineWidth, drawColour);
            CSelectObject selectPen(*dc, pen.GetSafeHandle());
            DrawBar(*dc, LeftEnd(origin, zoom, scrollX, scrollY), DeviceLength(zoom));
        }
        return false;
    }
    const TextSize text = MeasureText(dc, BarText(), font);
    const PointF anchor = PlacedLabelAnchor(zoom, text.width, text.height);
    label.Update(*this, anchor.x, anchor.y);
    return true;
}

void CCL_BiaoChi::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    label.boxShown = 0;
    if (visible != 0 && dc != nullptr && IsUsableZoom(zoom)) {
        const double length = DeviceLength(zoom);
        const TextSize text = MeasureText(dc, BarText(), font);
        const PixelPoint leftEnd = LeftEnd(origin, zoom, scrollX, scrollY);
        label.textColour = PenColour();
        label.font = font;
        if (state != kIdle) {
            label.font.weight = 700;
            label.font.italic = 0;
            label.font.underline = 0;
        }
        if (background != 0) {
            const PixelRect box = BackgroundBox(leftEnd, length, text.width, text.height);
            dc->FillSolidRect(RECT{box.left, box.top, box.right, box.bottom}, label.boxColour);
        }
        {
            CPen pen(penStyle, PenWidth(), PenColour());
            CSelectObject selectPen(*dc, pen.GetSafeHandle());
            DrawBar(*dc, leftEnd, length);
        }
        const PointF anchor = DrawnLabelAnchor(zoom, text.width, text.height);
        label.x = anchor.x;
        label.y = anchor.y;
        label.Draw(*dc, *this, zoom, scrollX, scrollY);
    }
    dragging = 0;
}
