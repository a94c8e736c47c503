#include "scale_choice.h"

#include <algorithm>
#include <cmath>

#include "units.h"

std::vector<Calibration> ListCalibrationItems(const CalibrationStore& store) {
    const int count = store.Count();
    std::vector<Calibration> items;
    items.reserve(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) {
        Calibration item = store.Read(n).value_or(Calibration{});
        item.section = n;
        if (item.unit.empty()) {
            item.unit = std::u16string(kDefaultUnit);
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::u16string LowerForCompare(std::u16string_view text) {
    std::u16string lower(text);
    for (char16_t& c : lower) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9)) {
            c = static_cast<char16_t>(c + 0x20);
        }
    }
    return lower;
}

namespace {
std::u16string UnitKey(std::u16string_view unit) { return LowerForCompare(NormalizeUnit(unit)); }
}  // namespace

int MatchCalibrationByValue(std::span<const Calibration> entries, float value, std::u16string_view unit) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double tolerance = std::min(0.001, 0.01 * std::fabs(static_cast<double>(value)));
    const std::u16string wanted = UnitKey(unit);
    int best = 0;
    double bestDistance = tolerance;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (UnitKey(entries[i].unit) != wanted) {
            continue;
        }
        const double distance = std::fabs(static_cast<double>(entries[i].value) - static_cast<double>(value));
        if (distance < bestDistance) {
            best = static_cast<int>(i) + 1;
            bestDistance = distance;
        }
    }
    return best;
}

int MatchCalibrationByName(std::span<const Calibration> entries, std::u16string_view name) {
    const std::u16string wanted = LowerForCompare(name);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (LowerForCompare(entries[i].name) == wanted) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::u16string DefaultChoiceUnit(const std::optional<std::u16string>& stored) {
    if (!stored || stored->empty() || *stored == u"NULL") {
        return u"mm";
    }
    return *stored;
}
