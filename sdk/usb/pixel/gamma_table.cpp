#include "gamma_table.h"

#include <algorithm>
#include <cmath>

namespace kqcmos {
namespace {

// T[0] = 0, T[i] = log10(i).
const std::array<double, 256>& BaseCurve() {
    static const std::array<double, 256> curve = [] {
        std::array<double, 256> t{};
        for (int i = 1; i < 256; ++i) {
            t[static_cast<std::size_t>(i)] = std::log10(static_cast<double>(i));
        }
        return t;
    }();
    return curve;
}

// The index whose T is nearest to c; on a tie the larger index.
int NearestOnCurve(double c) {
    const auto& t = BaseCurve();
    const auto above = std::upper_bound(t.begin(), t.end(), c);
    if (above == t.end()) {
        return 255;
    }
    const auto j = static_cast<int>(above - t.begin());
    if (j == 0) {
        return 0;
    }
    const double upper = t[static_cast<std::size_t>(j)] - c;
    const double lower = c - t[static_cast<std::size_t>(j - 1)];
    return upper <= lower ? j : j - 1;
}

}  // namespace

double GammaValue(int index) {
    const int i = std::max(index, 1);
    // Written over one divisor so that G[16] is exactly 1.0.
    if (i <= 16) {
        return (16.0 + 2.0 * i) / 48.0;
    }
    return (16.0 + 2.0 * (i - 16)) / 16.0;
}

bool GammaTable::SetIndex(int index) {
    if (index < 0 || index >= kGammaValueCount) {
        return false;
    }
    index_ = index;
    const double gamma = GammaValue(index);
    if (gamma != value_) {
        Rebuild(gamma);
    }
    return true;
}

void GammaTable::Rebuild(double gamma) {
    const auto& t = BaseCurve();
    const double top = t[255];
    table_[0] = 0;
    for (int i = 1; i < 256; ++i) {
        const double c = std::clamp(t[static_cast<std::size_t>(i)] / gamma + (gamma - 1.0) * top / gamma, 0.0, top);
        table_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(NearestOnCurve(c));
    }
    value_ = gamma;
}

}  // namespace kqcmos
