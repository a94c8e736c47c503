#include "cl_scale_bar.h"

#include <algorithm>
#include <cmath>

#include "annotation_record.h"
#include "annotation_geometry.h"
#include "text_object.h"
#include "truncate.h"
#include "units.h"

double CCL_BiaoChi::ImageLength() const {
    if (!(scale > 0.0f) || !std::isfinite(scale)) {
        return 0.0;
    }
    const double length = ConvertUnit(value, barUnit, unitText) / static_cast<double>(scale);
    return std::isfinite(length) ? length : 0.0;
}

std::u16string CCL_BiaoChi::BarText() const { return CTextObject::FormatValue(decimals, value) + u" " + barUnit; }

PointF CCL_BiaoChi::PlacedLabelAnchor(float zoom, std::int32_t textWidth, std::int32_t textHeight) const {
    const double wholeLength = TruncateToInt(DeviceLength(zoom));
    return {static_cast<float>(origin.x + wholeLength / zoom * 0.5 - textWidth * 0.5 / zoom),
            static_cast<float>(origin.y - (textHeight + 2.0) / zoom)};
}

PointF CCL_BiaoChi::DrawnLabelAnchor(float zoom, std::int32_t textWidth, std::int32_t textHeight) const {
    const double x = DeviceLength(zoom) / zoom * 0.5 + origin.x - static_cast<double>(textWidth) / zoom * 0.5;
    const double y = origin.y - (textHeight + 2.0) / zoom;
    return {static_cast<float>(TruncateToInt(x)), static_cast<float>(TruncateToInt(y))};
}

PixelRect CCL_BiaoChi::BackgroundBox(PixelPoint leftEnd, double deviceLength, std::int32_t textWidth,
                                     std::int32_t textHeight) const {
    const std::int64_t wholeLength = TruncateToInt(deviceLength);
    const std::int64_t w = std::max<std::int64_t>(textWidth, TruncateToInt(thickness + deviceLength));
    const std::int64_t left = leftEnd.x - (w - wholeLength + 5) / 2 - 5;
    const std::int64_t top = std::int64_t{leftEnd.y} - textHeight - 5;
    const std::int64_t height = std::int64_t{textHeight} + 2 * std::int64_t{tick} + 5;
    return {SaturateToInt(left), SaturateToInt(top), SaturateToInt(left + w + 15), SaturateToInt(top + height)};
}

bool CCL_BiaoChi::ScaleBarValue(float& length, std::u16string& unit) const {
    length = value;
    unit = barUnit;
    return true;
}

void CCL_BiaoChi::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        CCLObject::Serialize(ar);
        ar << origin.x << origin.y << tick << value << thickness << background << std::u16string_view(barUnit);
        return;
    }
    PointF newOrigin;
    std::int32_t newTick = 0, newThickness = 0, newBackground = 0;
    float newValue = 0;
    std::u16string newUnit;
    LoadWithBase(*this, ar, [&] {
        ar >> newOrigin.x >> newOrigin.y >> newTick >> newValue >> newThickness >> newBackground;
        ReadBoundedText(ar, newUnit, kMaxUnitChars);
    });
    origin = newOrigin;
    tick = newTick;
    value = newValue;
    thickness = newThickness;
    background = newBackground;
    barUnit = std::move(newUnit);
}

void CCL_BiaoChi::Move(int x0, int y0, int x1, int y1, float zoom) {
    dragging = 1;
    if (state == kIdle || !IsUsableZoom(zoom)) {
        return;
    }
    label.Move(x0, y0, x1, y1, zoom);
    origin.x += static_cast<float>(x1 - x0) / zoom;
    origin.y += static_cast<float>(y1 - y0) / zoom;
}

bool CCL_BiaoChi::HitRect(const PixelRect& rect, float zoom) {
    return HitRectPoints(std::span<const PointF>(&origin, 1), rect, zoom);
}

bool CCL_BiaoChi::HitTest(int x, int y, float zoom) {
    if (HitLabelOrHandle({}, x, y, zoom) != kIdle) {
        return true;
    }
    if (visible == 0) {
        return false;
    }
    // Inside a thin ellipse with the bar's two ends as foci.
    const double left = ZoomedPixel(zoom, origin.x);
    const double right = TruncateToInt(static_cast<double>(zoom) * (origin.x + ImageLength()));
    const double dy = static_cast<double>(y) - ZoomedPixel(zoom, origin.y);
    const double toRight = std::hypot(dy, x - right);
    const double toLeft = std::hypot(dy, x - left);
    if (!(std::abs(left - right) + 0.9 > toRight + toLeft)) {
        return false;
    }
    state = kBodyActive;
    activeHandle = 0;
    return true;
}
