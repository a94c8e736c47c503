#include "text_object.h"

#include <algorithm>
#include <cstdio>

#include "archive.h"
#include "cl_object.h"
#include "label_strings.h"
#include "truncate.h"

namespace {

std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

struct ValueLine {
    int caption;
    CCLObject::Result slot;
    int dimension;  // 0 not scaled (angles), 1 length, 2 area
};

// The name and value lines of each kind of object.
struct LabelLayout {
    int name;
    std::array<ValueLine, 4> lines;
    std::size_t count;
};

bool LayoutFor(std::int32_t type, LabelLayout& layout) {
    constexpr ValueLine length{kStringLength, CCLObject::kLength, 1};
    constexpr ValueLine angle{kStringAngleCaption, CCLObject::kAngle, 0};
    constexpr ValueLine distance{kStringDistance, CCLObject::kDistance, 1};
    constexpr ValueLine width{kStringWidth, CCLObject::kWidth, 1};
    constexpr ValueLine height{kStringHeight, CCLObject::kHeight, 1};
    constexpr ValueLine perimeter{kStringPerimeter, CCLObject::kPerimeter, 1};
    constexpr ValueLine area{kStringArea, CCLObject::kArea, 2};
    constexpr ValueLine radius{kStringRadius, CCLObject::kRadius, 1};
    switch (type) {
    case 2: layout = {kStringLine, {length}, 1}; return true;
    case 3: layout = {kStringAngle, {angle}, 1}; return true;
    case 4: layout = {kStringTwoLineAngle, {angle}, 1}; return true;
    case 5: layout = {kStringParallel, {distance}, 1}; return true;
    case 6: layout = {kStringRectangle, {width, height, perimeter, area}, 4}; return true;
    case 7: layout = {kStringCentreCircle, {radius, perimeter, area}, 3}; return true;
    case 8: layout = {kStringTwoPointCircle, {radius, perimeter, area}, 3}; return true;
    case 9: layout = {kStringThreePointCircle, {radius, perimeter, area}, 3}; return true;
    case 10: layout = {kStringEllipse, {width, height, perimeter, area}, 4}; return true;
    case 11: layout = {kStringCurve, {length}, 1}; return true;
    case 12: layout = {kStringPolygon, {perimeter, area}, 2}; return true;
    default: return false;
    }
}

}  // namespace

std::u16string CTextObject::FormatValue(int decimals, float value) {
    const int places = std::clamp(decimals, 0, kMaxDecimals);
    char buffer[96];
    const int n = std::snprintf(buffer, sizeof buffer, "%.*f", places, static_cast<double>(value));
    if (n < 0) {
        return {};
    }
    return Widen(std::string_view(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1)));
}

void CTextObject::ComposeText(const CCLObject& owner) {
    if (owner.type == 13) {
        if (const std::u16string* own = owner.AnnotationText()) {
            text = *own;
        }
        return;
    }
    if (owner.type == 17) {
        float length = 0;
        std::u16string unit;
        if (owner.ScaleBarValue(length, unit)) {
            text = FormatValue(owner.decimals, length) + u" " + unit;
        }
        return;
    }
    LabelLayout layout{};
    if (!LayoutFor(owner.type, layout)) {
        return;
    }
    const std::u16string header = std::u16string(LabelString(layout.name)) + u"_" + Widen(std::to_string(owner.number));
    captions.fill({});
    captions[0] = std::u16string(LabelString(layout.name));
    std::u16string values;
    for (std::size_t i = 0; i < layout.count; ++i) {
        const ValueLine& line = layout.lines[i];
        float value = owner.results[line.slot];
        std::u16string unit;
        if (line.dimension == 0) {
            unit = u"°";
        } else if (line.dimension == 1) {
            value *= owner.scale;
            unit = owner.unitText;
        } else {
            value *= owner.scale * owner.scale;
            unit = owner.unitText + u"*" + owner.unitText;
        }
        captions[i + 1] = std::u16string(LabelString(line.caption));
        if (!values.empty()) {
            values += u'\n';
        }
        values += captions[i + 1] + u":" + FormatValue(owner.decimals, value) + unit;
    }
    switch (owner.labelMode) {
    case CCLObject::kLabelAll: text = header + u"\n" + values; break;
    case CCLObject::kLabelNameOnly: text = header; break;
    case CCLObject::kLabelValuesOnly: text = values; break;
    default: text.clear(); break;
    }
}

void CTextObject::CopyFrom(const CTextObject& other) {
    boxColour = other.boxColour;
    boxShown = other.boxShown;
    x = other.x;
    y = other.y;
}

void CTextObject::Move(int x1, int y1, int x2, int y2, float zoom) {
    if (!(zoom > 0.0f)) {
        return;
    }
    x += static_cast<float>(x2 - x1) / zoom;
    y += static_cast<float>(y2 - y1) / zoom;
}

bool CTextObject::HitTest(int px, int py, float zoom) const {
    const std::int64_t left = ZoomedPixel(zoom, x);
    const std::int64_t top = ZoomedPixel(zoom, y);
    return left - 3 < px && px < left + width + 3 && top - 3 < py && py < top + height + 3;
}

PixelRect CTextObject::DeviceRect(float zoom, int offsetX, int offsetY) const {
    const std::int32_t left = ZoomedPixel(zoom, x) - offsetX;
    const std::int32_t top = ZoomedPixel(zoom, y) - offsetY;
    return {left, top, left + width, top + height};
}

void CTextObject::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << std::u16string_view(text) << boxShown << std::uint32_t{boxColour} << x << y << dirty;
        return;
    }
    std::u16string newText;
    std::int32_t newBoxShown = 0;
    std::uint32_t newBoxColour = 0;
    float newX = 0;
    float newY = 0;
    std::int32_t newDirty = 0;
    ar >> newText;
    if (newText.size() > kMaxRecordTextChars) {
        throw ArchiveException(ArchiveException::tooLarge);
    }
    ar >> newBoxShown >> newBoxColour >> newX >> newY >> newDirty;
    text = std::move(newText);
    boxShown = newBoxShown;
    boxColour = newBoxColour;
    x = newX;
    y = newY;
    dirty = newDirty;
}
