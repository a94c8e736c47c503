#include "cl_count.h"

#include <cmath>

#include "annotation_record.h"
#include "annotation_strings.h"
#include "annotation_geometry.h"
#include "truncate.h"

PixelPoint CCL_Count::NumberOrigin(std::int32_t value, std::int32_t cx, std::int32_t cy) {
    const std::int64_t shift = value <= 9 ? 4 : value <= 99 ? 8 : 12;
    return {SaturateToInt(std::int64_t{cx} - shift), SaturateToInt(std::int64_t{cy} - 7)};
}

void CCL_Count::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        CCLObject::Serialize(ar);
        ar << centre.x << centre.y << std::uint32_t{markerColour} << std::u16string_view(name) << size;
        return;
    }
    PointF newCentre;
    std::uint32_t newColour = 0;
    std::u16string newName;
    std::int32_t newSize = 0;
    LoadWithBase(*this, ar, [&] {
        ar >> newCentre.x >> newCentre.y >> newColour;
        ReadBoundedText(ar, newName, kMaxNameChars);
        ar >> newSize;
    });
    centre = newCentre;
    markerColour = newColour;
    name = std::move(newName);
    size = newSize;
}

bool CCL_Count::Track(CDC*, int x, int y, int&, bool moving, float zoom, int, int) {
    if (moving || !IsUsableZoom(zoom)) {
        return false;
    }
    centre = ToImagePoint(x, y, zoom);
    return true;
}

bool CCL_Count::HitRect(const PixelRect& rect, float zoom) {
    return HitRectPoints(std::span<const PointF>(&centre, 1), rect, zoom);
}

bool CCL_Count::HitTest(int x, int y, float zoom) {
    if (visible == 0) {
        return false;
    }
    const double dx = static_cast<double>(x) - static_cast<double>(zoom * centre.x);
    const double dy = static_cast<double>(y) - static_cast<double>(zoom * centre.y);
    if (!(std::abs(std::hypot(dx, dy) - static_cast<double>(size)) < kOutlineReach)) {
        return false;
    }
    state = kBodyActive;
    activeHandle = 0;
    return true;
}

CCL_CountCircle::CCL_CountCircle() {
    type = kType;
    name = CounterName(IDS_COUNTER_CIRCLE);
}

CCL_CountDiamond::CCL_CountDiamond() {
    type = kType;
    name = CounterName(IDS_COUNTER_DIAMOND);
}

std::int32_t CCL_CountDiamond::Reach(std::int32_t size) { return TruncateToInt(size * 1.16); }

CCL_CountRect::CCL_CountRect() {
    type = kType;
    name = CounterName(IDS_COUNTER_RECT);
}

std::int32_t CCL_CountRect::HalfSide(std::int32_t size) { return TruncateToInt(size * 0.866); }
