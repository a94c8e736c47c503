#include "units.h"

#include <algorithm>

namespace {

// Length of one unit in micrometres.
constexpr std::array<double, 6> kMicrometres = {
    1.0,      // μm
    1000.0,   // mm
    10000.0,  // cm
    25400.0,  // inch = 25.4 mm
    25.4,     // mil = inch / 1000
    0.0254,   // uin = inch / 1000000
};

}  // namespace

int UnitIndex(std::u16string_view unit) {
    const auto it = std::find(kLengthUnits.begin(), kLengthUnits.end(), unit);
    return it == kLengthUnits.end() ? -1 : static_cast<int>(it - kLengthUnits.begin());
}

std::u16string_view NormalizeUnit(std::u16string_view unit) {
    // An INI file kept in an 8-bit code page stores the Greek mu as the
    // micro sign, which reads back as U+00B5.
    return unit.empty() || unit == u"NULL" || unit == u"\u00b5m" ? kDefaultUnit : unit;
}

std::u16string_view NextLengthUnit(std::u16string_view unit) {
    const int index = UnitIndex(NormalizeUnit(unit));
    if (index < 0) {
        return kDefaultUnit;
    }
    return kLengthUnits[static_cast<std::size_t>(index + 1) % kLengthUnits.size()];
}

double ConvertUnit(float value, std::u16string_view from, std::u16string_view to) {
    from = NormalizeUnit(from);
    to = NormalizeUnit(to);
    const int f = UnitIndex(from);
    const int t = UnitIndex(to);
    if (from == to || f < 0 || t < 0) {
        return value;
    }
    return static_cast<double>(value) *
           (kMicrometres[static_cast<std::size_t>(f)] / kMicrometres[static_cast<std::size_t>(t)]);
}
