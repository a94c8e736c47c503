#include "measurement_row.h"

#include "label_strings.h"

namespace {

int NameIdFor(int type) {
    switch (type) {
    case 2: return kStringLine;
    case 3: return kStringAngle;
    case 4: return kStringTwoLineAngle;
    case 5: return kStringParallel;
    case 6: return kStringRectangle;
    case 7: return kStringCentreCircle;
    case 8: return kStringTwoPointCircle;
    case 9: return kStringThreePointCircle;
    case 10: return kStringEllipse;
    case 11: return kStringCurve;
    case 12: return kStringPolygon;
    default: return 0;
    }
}

}  // namespace

std::optional<MeasurementRow> MeasurementRowFor(const CCLObject& object) {
    const int nameId = NameIdFor(object.type);
    if (nameId == 0) {
        return std::nullopt;
    }
    MeasurementRow row;
    row.nameId = nameId;
    row.number = object.number;
    const auto& r = object.results;
    const float scale = object.scale;
    const float length = object.type == 5 ? r[CCLObject::kDistance] : r[CCLObject::kLength];
    const float values[7] = {length * scale,
                             r[CCLObject::kWidth] * scale,
                             r[CCLObject::kHeight] * scale,
                             r[CCLObject::kPerimeter] * scale,
                             r[CCLObject::kRadius] * scale,
                             r[CCLObject::kArea] * scale * scale,
                             r[CCLObject::kAngle]};
    for (std::size_t i = 0; i < row.values.size(); ++i) {
        row.values[i] = CTextObject::FormatValue(object.decimals, values[i]);
    }
    return row;
}
