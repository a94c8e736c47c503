#include "bgr_filters.h"

#include <algorithm>

#include "raw_prefilters.h"

namespace kqcmos {

void SharpenBgr(std::span<std::uint8_t> bgr) {
    for (std::size_t i = 0; i + 3 <= bgr.size(); i += 3) {
        const int m = bgr[i + 1];
        const int v = m + (2 * m - bgr[i] - bgr[i + 2]) / 2;
        bgr[i + 1] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    }
}

void FilterDefectsBgr(std::span<std::uint8_t> bgr) {
    for (std::size_t i = 0; i + 3 <= bgr.size(); i += 3) {
        std::uint8_t* p = bgr.data() + i;
        // Indices of the channels from strongest to weakest.
        int hi = 0, mid = 1, lo = 2;
        if (p[mid] > p[hi]) std::swap(mid, hi);
        if (p[lo] > p[mid]) std::swap(lo, mid);
        if (p[mid] > p[hi]) std::swap(mid, hi);
        const int max = p[hi], middle = p[mid], min = p[lo];
        const int boosted = std::min(255, max + max * (max - middle) * kDefectFilterStrength / 1024);
        const int spread = middle - min;
        const int dragged = std::min(255, middle + spread * (boosted - max) / (spread + kDefectFilterSoftness));
        p[hi] = static_cast<std::uint8_t>(boosted);
        p[mid] = static_cast<std::uint8_t>(dragged);
    }
}

void RunBgrFilter(int kind, std::span<std::uint8_t> bgr) {
    if (kind == 1) {
        SharpenBgr(bgr);
    } else if (kind == 2) {
        FilterDefectsBgr(bgr);
    }
}

}  // namespace kqcmos
