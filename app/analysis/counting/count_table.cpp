#include "count_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

void WidenRange(_tagOBJFILTER& range, const _tagOBJRESULT& r) {
    _tagOBJRESULT& lo = range.lower;
    _tagOBJRESULT& hi = range.upper;
    const auto keep = [](auto& low, auto& high, auto value) {
        low = std::min(low, value);
        high = std::max(high, value);
    };
    keep(lo.area, hi.area, r.area);
    keep(lo.perimeter, hi.perimeter, r.perimeter);
    keep(lo.width, hi.width, r.width);
    keep(lo.height, hi.height, r.height);
    keep(lo.radius, hi.radius, r.radius);
    keep(lo.roundness, hi.roundness, r.roundness);
    keep(lo.greyMin, hi.greyMin, r.greyMin);
    keep(lo.greyMax, hi.greyMax, r.greyMax);
    keep(lo.greyMean, hi.greyMean, r.greyMean);
    keep(lo.greySum, hi.greySum, r.greySum);
}

std::wstring FixedText(double value, int decimals) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.*f", std::clamp(decimals, 0, 10), value);
    return text;
}

CountTable BuildCountTable(std::span<const _tagOBJRESULT> records, const CountTableSource& source) {
    CountTable table;
    const double s = source.scale;
    const int d = source.decimals;
    bool first = true;
    if (!records.empty()) {
        table.range.lower = table.range.upper = records.front();
    }
    for (const _tagOBJRESULT& r : records) {
        if (r.excluded != 0) {
            continue;
        }
        if (first) {
            table.range.lower = table.range.upper = r;
            first = false;
        }
        WidenRange(table.range, r);
        table.targetArea += r.area;
        table.rowTargets.push_back(r.number);
        table.rows.push_back({
            std::to_wstring(table.rows.size() + 1),
            FixedText(s * s * r.area, d),
            FixedText(s * r.perimeter, d),
            FixedText(s * r.width, d),
            FixedText(s * r.height, d),
            FixedText(s * r.radius, d),
            FixedText(s * std::sqrt(r.area / std::numbers::pi), d),
            FixedText(r.roundness, d),
            std::to_wstring(r.greyMax),
            std::to_wstring(r.greyMin),
            std::to_wstring(r.greyMean),
            std::to_wstring(r.greySum),
        });
    }
    table.range.enabled = 0;
    const std::wstring squared = L" " + source.unit + L" * " + source.unit;
    const double pictureArea = static_cast<double>(source.pictureWidth) * source.pictureHeight;
    const double regionArea =
        static_cast<double>(std::max(source.regionWidth, 0)) * static_cast<double>(std::max(source.regionHeight, 0));
    table.summary = {
        FixedText(s * s * pictureArea, d) + squared,
        FixedText(s * s * regionArea, d) + squared,
        FixedText(s * s * table.targetArea, d) + squared,
        // An empty region holds no target: its share is 0, never a division by 0.
        FixedText(regionArea > 0 ? table.targetArea / regionArea : 0.0, d),
    };
    return table;
}
