#include "linear_gain.h"

#include <algorithm>
#include <limits>

namespace kqcmos {
namespace {

// The shift every fit tries first: lines of slope below 4 get 20 bits of
// fraction, finer than any table of 256 entries needs.
constexpr int kFinestShift = 20;

// Necessary for a clamped line: between entries that are neither 0 nor 255,
// steps take at most two neighbouring values. Rejects curves (gamma,
// contrast) cheaply. Also gives the largest step, which bounds the slope.
bool StepsLookLinear(const ByteTable& table, int& largestStep) {
    int smallest = 256;
    largestStep = 0;
    for (std::size_t i = 0; i + 1 < table.size(); ++i) {
        const int a = table[i];
        const int b = table[i + 1];
        if (b < a) {
            return false;
        }
        if (a > 0 && b < 255) {
            smallest = std::min(smallest, b - a);
            largestStep = std::max(largestStep, b - a);
        }
    }
    return largestStep == 0 || largestStep - smallest <= 1;
}

}  // namespace

int EvaluateLinearGain(const LinearGain& gain, int shift, int v) {
    const std::int64_t line = (static_cast<std::int64_t>(v) * gain.multiplier + gain.offset) >> shift;
    return static_cast<int>(std::clamp<std::int64_t>(line, 0, 255));
}

std::optional<LinearGain> FitLinearGain(const ByteTable& table, int shift) {
    if (shift < 0 || shift > 24) {
        return std::nullopt;
    }
    constexpr std::int64_t none = std::numeric_limits<std::int64_t>::max();
    const std::int64_t one = std::int64_t{1} << shift;
    // For a multiplier a, entry i bounds the offset b from below (unless it
    // is 0: any smaller line clamps to 0) and from above (unless it is 255).
    // A multiplier works when the largest lower bound is within the smallest
    // upper bound; when not, the two entries that disagree say on which side
    // of a every working multiplier lies, so bisection finds one.
    std::int64_t low = 0;
    std::int64_t high = kMaxLinearMultiplier;
    while (low <= high) {
        const std::int64_t a = low + (high - low) / 2;
        std::int64_t lowerBound = -none;
        std::int64_t upperBound = none;
        int lowerEntry = -1;
        int upperEntry = -1;
        for (int i = 0; i < 256; ++i) {
            const std::int64_t v = table[static_cast<std::size_t>(i)];
            const std::int64_t at = i * a;
            if (v > 0 && v * one - at > lowerBound) {
                lowerBound = v * one - at;
                lowerEntry = i;
            }
            if (v < 255 && (v + 1) * one - 1 - at < upperBound) {
                upperBound = (v + 1) * one - 1 - at;
                upperEntry = i;
            }
        }
        if (lowerBound <= upperBound) {
            // The offset nearest 0 that works.
            const std::int64_t b = std::clamp<std::int64_t>(0, lowerBound, upperBound);
            if (b < -kMaxLinearOffset || b > kMaxLinearOffset) {
                return std::nullopt;
            }
            const LinearGain gain{static_cast<std::int32_t>(a), static_cast<std::int32_t>(b)};
            for (int v = 0; v < 256; ++v) {
                if (EvaluateLinearGain(gain, shift, v) != table[static_cast<std::size_t>(v)]) {
                    return std::nullopt;
                }
            }
            return gain;
        }
        if (lowerEntry > upperEntry) {
            low = a + 1;
        } else {
            high = a - 1;
        }
    }
    return std::nullopt;
}

std::optional<LinearGainPair> FitLinearGains(const ByteTable& even, const ByteTable& odd) {
    int evenStep = 0;
    int oddStep = 0;
    if (!StepsLookLinear(even, evenStep) || !StepsLookLinear(odd, oddStep)) {
        return std::nullopt;
    }
    // The finest shift whose multiplier for the steeper table stays in bounds.
    const int slope = std::max(evenStep, oddStep) + 1;
    int shift = kFinestShift;
    while (shift > 0 && (static_cast<std::int64_t>(slope) << shift) > kMaxLinearMultiplier) {
        --shift;
    }
    for (int s = shift; s >= 0 && s + 2 >= shift; --s) {
        const auto e = FitLinearGain(even, s);
        const auto o = e ? FitLinearGain(odd, s) : std::nullopt;
        if (e && o) {
            return LinearGainPair{*e, *o, s};
        }
    }
    return std::nullopt;
}

void LinearGainFits::Update(const GainTables& tables, BayerCell cell) {
    if (fitted_ && cell_ == cell && fitted_->red == tables.red && fitted_->green == tables.green &&
        fitted_->blue == tables.blue) {
        return;
    }
    fitted_ = tables;
    cell_ = cell;
    // Red in an even column puts blue in an odd one, and the other way round.
    const bool redFirst = cell.redColumn % 2 == 0;
    redRows_ = redFirst ? FitLinearGains(tables.red, tables.green) : FitLinearGains(tables.green, tables.red);
    blueRows_ = redFirst ? FitLinearGains(tables.green, tables.blue) : FitLinearGains(tables.blue, tables.green);
}

}  // namespace kqcmos
