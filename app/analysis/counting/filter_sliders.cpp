#include "filter_sliders.h"

#include <cmath>
#include <numbers>

namespace {

double UsableScale(double scale) { return scale > 0 ? scale : 1.0; }

// Measures 0-5 as shown, 6 as the fraction, 7-10 as stored.
double Shown(int measure, const _tagOBJRESULT& r, double s) {
    switch (measure) {
    case 0: return s * s * r.area;
    case 1: return s * r.perimeter;
    case 2: return s * r.width;
    case 3: return s * r.height;
    case 4: return s * r.radius;
    case 5: return s * std::sqrt(r.area / std::numbers::pi);
    case 6: return r.roundness;
    case 7: return r.greyMax;
    case 8: return r.greyMin;
    case 9: return r.greyMean;
    default: return r.greySum;
    }
}

int Trunc(double value) { return static_cast<int>(value); }

}  // namespace

FilterSliders LoadFilterMeasure(int measure, const _tagOBJFILTER& range, const _tagOBJFILTER& current, double scale) {
    const double s = UsableScale(scale);
    FilterSliders out;
    const double rangeLow = Shown(measure, range.lower, s);
    const double rangeHigh = Shown(measure, range.upper, s);
    const double low = Shown(measure, current.lower, s);
    const double high = Shown(measure, current.upper, s);
    if (measure <= 5) {
        out.high = Trunc(rangeHigh + 1.5);
        out.low = Trunc(rangeLow);
        out.upperShown = Trunc(high + 0.5);
        out.lowerShown = Trunc(low);
        out.upperPosition = static_cast<int>(out.upperShown);
        out.lowerPosition = static_cast<int>(out.lowerShown);
    } else if (measure == kRoundnessMeasure) {
        out.high = Trunc(100 * rangeHigh + 1);
        out.low = Trunc(100 * rangeLow - 1);
        out.upperShown = high;
        out.lowerShown = low;
        out.upperPosition = Trunc(100 * high + 0.5);
        out.lowerPosition = Trunc(100 * low - 0.5);
    } else {
        out.high = Trunc(rangeHigh + 0.5);
        out.low = Trunc(rangeLow);
        out.upperShown = high;
        out.lowerShown = low;
        out.upperPosition = Trunc(high);
        out.lowerPosition = Trunc(low);
    }
    return out;
}

void StoreFilterPosition(int measure, int position, double scale, _tagOBJRESULT& limit) {
    const double s = UsableScale(scale);
    const double p = position;
    switch (measure) {
    case 0: limit.area = p / (s * s); break;
    case 1: limit.perimeter = p / s; break;
    case 2: limit.width = p / s; break;
    case 3: limit.height = p / s; break;
    case 4: limit.radius = p / s; break;
    case 5: limit.area = (p / s) * (p / s) * std::numbers::pi; break;
    case 6: limit.roundness = p * 0.01; break;
    case 7: limit.greyMax = static_cast<std::uint8_t>(position & 0xFF); break;
    case 8: limit.greyMin = static_cast<std::uint8_t>(position & 0xFF); break;
    case 9: limit.greyMean = static_cast<std::uint32_t>(position); break;
    default: limit.greySum = static_cast<std::uint32_t>(position); break;
    }
}
