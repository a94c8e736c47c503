// The detector streams: the smoothing keeps a ring of horizontal-pass rows,
// the smoothed bytes and the magnitudes rings of four rows, and the edge map
// (the caller's buffer) holds each candidate's magnitude as a byte, which
// is all the thresholds need unless a magnitude passes 253 and a threshold
// does too; only then a second run keeps them whole. Every floating-point
// value is computed with the same operations, in the same order, as the
// algorithm is written, so the result is the same byte for byte as a plain
// implementation (the unit is built without floating-point contraction for
// that reason).
#include "edge_detection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct Kernel {
    int taps = 1;
    int centre = 0;
    double weight = 1;
    // sums[c]: c weights added one by one from 0, as the passes add them.
    std::vector<double> sums;
};

Kernel MakeKernel(double sigma) {
    Kernel k;
    k.taps = 2 * static_cast<int>(std::ceil(3 * sigma)) + 1;
    k.centre = k.taps / 2;
    k.weight = 1.0 / k.taps;
    k.sums.assign(static_cast<std::size_t>(k.taps) + 1, 0.0);
    for (int c = 1; c <= k.taps; ++c) {
        k.sums[static_cast<std::size_t>(c)] = k.sums[static_cast<std::size_t>(c) - 1] + k.weight;
    }
    return k;
}

// The taps of position `p` (column or row) that fall inside 0..size-1.
struct TapRange {
    int first;
    int last;
};
TapRange InsideTaps(const Kernel& k, int p, int size) {
    return {std::max(0, k.centre - p), std::min(k.taps - 1, size - 1 - p + k.centre)};
}

// The horizontal pass for one row: the weighted mean of the grey values under the taps.
void HorizontalRow(const std::uint8_t* grey, int width, const Kernel& k, double* out) {
    const double w = k.weight;
    const auto generic = [&](int x) {
        const TapRange r = InsideTaps(k, x, width);
        double sum = 0;
        for (int t = r.first; t <= r.last; ++t) {
            sum += w * grey[x + t - k.centre];
        }
        out[x] = sum / k.sums[static_cast<std::size_t>(r.last - r.first + 1)];
    };
    // Columns whose taps all lie inside the row.
    const int first = k.centre;
    const int last = width - k.taps + k.centre;
    if (first > last) {
        for (int x = 0; x < width; ++x) generic(x);
        return;
    }
    for (int x = 0; x < first; ++x) generic(x);
    for (int x = last + 1; x < width; ++x) generic(x);
    const std::uint8_t* base = grey - k.centre;
    for (int x = first; x <= last; ++x) {
        out[x] = w * base[x];
    }
    for (int t = 1; t < k.taps; ++t) {
        for (int x = first; x <= last; ++x) {
            out[x] += w * base[x + t];
        }
    }
    const double full = k.sums[static_cast<std::size_t>(k.taps)];
    if (full != 1.0) {
        for (int x = first; x <= last; ++x) {
            out[x] /= full;
        }
    }
}

// Both smoothing passes, one smoothed row at a time, rows asked for in order.
class Smoother {
public:
    Smoother(std::span<const std::uint8_t> grey, int width, int height, const Kernel& k)
        : grey_(grey),
          width_(width),
          height_(height),
          k_(k),
          ringRows_(std::min(k.taps, height)),
          ring_(static_cast<std::size_t>(ringRows_) * static_cast<std::size_t>(width)),
          sum_(static_cast<std::size_t>(width)) {}

    void Row(int y, std::uint8_t* out) {
        const std::size_t w = static_cast<std::size_t>(width_);
        const TapRange r = InsideTaps(k_, y, height_);
        const int firstRow = y + r.first - k_.centre;
        const int lastRow = y + r.last - k_.centre;
        for (; computed_ <= lastRow; ++computed_) {
            HorizontalRow(grey_.data() + static_cast<std::size_t>(computed_) * w, width_, k_, RingRow(computed_));
        }
        double* sum = sum_.data();
        const double* row = RingRow(firstRow);
        for (std::size_t x = 0; x < w; ++x) {
            sum[x] = k_.weight * row[x];
        }
        for (int yy = firstRow + 1; yy <= lastRow; ++yy) {
            row = RingRow(yy);
            for (std::size_t x = 0; x < w; ++x) {
                sum[x] += k_.weight * row[x];
            }
        }
        const double weights = k_.sums[static_cast<std::size_t>(r.last - r.first + 1)];
        if (weights == 1.0) {
            for (std::size_t x = 0; x < w; ++x) {
                out[x] = static_cast<std::uint8_t>(std::min(static_cast<int>(sum[x]), 255));
            }
        } else {
            for (std::size_t x = 0; x < w; ++x) {
                const double value = static_cast<double>(static_cast<int>(sum[x])) / weights;
                out[x] = value >= 255 ? 255 : static_cast<std::uint8_t>(value);
            }
        }
    }

private:
    double* RingRow(int y) { return ring_.data() + static_cast<std::size_t>(y % ringRows_) * width_; }

    std::span<const std::uint8_t> grey_;
    int width_;
    int height_;
    const Kernel& k_;
    int ringRows_;
    std::vector<double> ring_;
    std::vector<double> sum_;
    int computed_ = 0;
};

inline std::uint16_t Magnitude(int dx, int dy) {
    return static_cast<std::uint16_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)) + 0.5);
}

// The gradient magnitudes of one row of width >= 2, from the smoothed rows above, at and
// below it (clamped at the picture's edge by the caller).
void MagnitudeRow(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below, std::size_t w,
                  std::uint16_t* out) {
    out[0] = Magnitude(row[1] - row[0], below[0] - above[0]);
    for (std::size_t x = 1; x + 1 < w; ++x) {
        out[x] = Magnitude(row[x + 1] - row[x - 1], below[x] - above[x]);
    }
    out[w - 1] = Magnitude(row[w - 1] - row[w - 2], below[w - 1] - above[w - 1]);
}

// A candidate's byte in the map: its magnitude up to 254, so that 0 is no
// candidate and 255 an edge. Comparisons with a threshold up to 254 read
// the same from it as from the magnitude.
constexpr int kLargestCode = 254;
constexpr std::uint8_t kEdge = 255;

// Non-maximum suppression for the inner pixels of one row: each candidate's code (else 0) into
// `out`, its magnitude into `exact` when given, and a count in the
// histogram. Branch-free: the neighbours along the gradient come from
// offset tables.
template <bool kExact>
void SuppressRow(const std::uint8_t* sAbove, const std::uint8_t* s, const std::uint8_t* sBelow,
                 const std::uint16_t* above, const std::uint16_t* m, const std::uint16_t* below, std::ptrdiff_t w,
                 std::uint8_t* out, std::uint16_t* exact, EdgeHistogram& histogram) {
    // The magnitude rows above, at and below the pixel.
    const std::uint16_t* rows[3] = {above, m, below};
    struct Pick {
        int row;
        int column;
    };
    // [steep][same sign], steep when |dy| > |dx|; "n - w" is the row above.
    static constexpr Pick g1Pick[2][2] = {{{-1, 1}, {1, 1}}, {{-1, 1}, {-1, -1}}};
    static constexpr Pick g3Pick[2][2] = {{{1, -1}, {-1, -1}}, {{1, -1}, {1, 1}}};
    static constexpr Pick g2Pick[2] = {{0, 1}, {-1, 0}};
    static constexpr Pick g4Pick[2] = {{0, -1}, {1, 0}};
    for (std::ptrdiff_t x = 1; x + 1 < w; ++x) {
        const int centre = m[x];
        const int dx = s[x + 1] - s[x - 1];
        const int dy = sBelow[x] - sAbove[x];
        const int ax = std::abs(dx);
        const int ay = std::abs(dy);
        const int steep = ay > ax ? 1 : 0;
        const int same = dx * dy > 0 ? 1 : 0;
        const int numerator = steep ? ax : ay;
        const int denominator = std::max(steep ? ay : ax, 1);
        const double t = static_cast<double>(numerator) / denominator;
        const Pick p1 = g1Pick[steep][same];
        const Pick p2 = g2Pick[steep];
        const Pick p3 = g3Pick[steep][same];
        const Pick p4 = g4Pick[steep];
        const double g1 = rows[p1.row + 1][x + p1.column];
        const double g2 = rows[p2.row + 1][x + p2.column];
        const double g3 = rows[p3.row + 1][x + p3.column];
        const double g4 = rows[p4.row + 1][x + p4.column];
        const double mm = centre;
        const bool ridge = mm >= (1 - t) * g2 + t * g1 && mm >= (1 - t) * g4 + t * g3;
        const int candidate = (centre != 0 && ridge) ? 1 : 0;
        out[x] = static_cast<std::uint8_t>(candidate * std::min(centre, kLargestCode));
        if constexpr (kExact) {
            exact[x] = static_cast<std::uint16_t>(centre);
        }
        histogram[static_cast<std::size_t>(std::min(centre, kEdgeHistogramBins - 1))] += candidate;
    }
}

// Smoothing to suppression over the whole picture (at least 3 x 3): `map` (all 0 on
// entry) gets the candidates' codes, `exact` (when given) every inner
// pixel's magnitude.
template <bool kExact>
void FindCandidates(std::span<const std::uint8_t> grey, int width, int height, const Kernel& kernel, std::uint8_t* map,
                    std::uint16_t* exact, EdgeHistogram& histogram) {
    const std::size_t w = static_cast<std::size_t>(width);
    Smoother smoother(grey, width, height, kernel);
    // Rings of four rows: the magnitudes of row y + 1 need the smoothed rows
    // y to y + 2 while row y's suppression still reads rows y - 1 to y + 1.
    std::vector<std::uint8_t> smoothRing(4 * w);
    std::vector<std::uint16_t> magnitudeRing(4 * w);
    const auto smoothRow = [&](int y) { return smoothRing.data() + static_cast<std::size_t>(y & 3) * w; };
    const auto magnitudeRow = [&](int y) { return magnitudeRing.data() + static_cast<std::size_t>(y & 3) * w; };
    int smoothed = 0;
    int measured = 0;
    for (int y = 1; y + 1 < height; ++y) {
        for (; measured <= y + 1; ++measured) {
            for (; smoothed <= std::min(measured + 1, height - 1); ++smoothed) {
                smoother.Row(smoothed, smoothRow(smoothed));
            }
            MagnitudeRow(smoothRow(std::max(measured - 1, 0)), smoothRow(measured),
                         smoothRow(std::min(measured + 1, height - 1)), w, magnitudeRow(measured));
        }
        const std::size_t rowStart = static_cast<std::size_t>(y) * w;
        SuppressRow<kExact>(smoothRow(y - 1), smoothRow(y), smoothRow(y + 1), magnitudeRow(y - 1), magnitudeRow(y),
                            magnitudeRow(y + 1), static_cast<std::ptrdiff_t>(w), map + rowStart,
                            kExact ? exact + rowStart : nullptr, histogram);
    }
}

// Hysteresis in raster order: a candidate still unmarked whose magnitude reaches
// high becomes an edge and marks its unmarked candidate neighbours that
// reach low; marked pixels mark none. Candidates are inner pixels, so their
// neighbours lie inside.
template <typename MagnitudeOf>
void Hysteresis(std::uint8_t* map, std::size_t w, std::size_t count, const EdgeThresholds& t, MagnitudeOf magnitude) {
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(w);
    const std::ptrdiff_t neighbours[8] = {-stride - 1, -stride, -stride + 1, -1, 1, stride - 1, stride, stride + 1};
    const auto unmarked = [](std::uint8_t code) { return code != 0 && code != kEdge; };
    for (std::size_t p = w + 1; p + w + 1 < count; ++p) {
        if (!unmarked(map[p]) || magnitude(p) < t.high) {
            continue;
        }
        map[p] = kEdge;
        for (const std::ptrdiff_t offset : neighbours) {
            const std::size_t q = p + static_cast<std::size_t>(offset);
            if (unmarked(map[q]) && magnitude(q) >= t.low) {
                map[q] = kEdge;
            }
        }
    }
}

}  // namespace

EdgeThresholds ChooseEdgeThresholds(const EdgeHistogram& histogram, double lowRatio, double percentile) {
    std::int64_t total = 0;
    int top = 0;
    for (int bin = 1; bin < kEdgeHistogramBins; ++bin) {
        total += histogram[static_cast<std::size_t>(bin)];
        if (histogram[static_cast<std::size_t>(bin)] != 0) top = bin;
    }
    const double target = std::trunc(static_cast<double>(total) * percentile + 0.5);
    int bin = 1;
    std::int64_t running = histogram[1];
    while (bin < top - 1 && static_cast<double>(running) < target) {
        ++bin;
        running += histogram[static_cast<std::size_t>(bin)];
    }
    EdgeThresholds thresholds;
    thresholds.high = bin;
    thresholds.low = std::trunc(thresholds.high * lowRatio + 0.5);
    return thresholds;
}

bool DetectEdges(std::span<const std::uint8_t> grey, int width, int height, double sigma, double lowRatio,
                 double percentile, std::span<std::uint8_t> edges) {
    if (width <= 0 || height <= 0 || !std::isfinite(sigma) || !std::isfinite(lowRatio) || !std::isfinite(percentile) ||
        sigma < 0 || sigma > kMaxEdgeSigma) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (grey.size() != count || edges.size() != count) {
        return false;
    }
    std::fill(edges.begin(), edges.end(), std::uint8_t{0});
    // Only inner pixels can be candidates.
    if (width < 3 || height < 3) {
        return true;
    }
    const Kernel kernel = MakeKernel(sigma);
    const std::size_t w = static_cast<std::size_t>(width);
    std::uint8_t* map = edges.data();
    EdgeHistogram histogram{};
    FindCandidates<false>(grey, width, height, kernel, map, nullptr, histogram);
    const EdgeThresholds thresholds = ChooseEdgeThresholds(histogram, lowRatio, percentile);

    const bool clipped = std::any_of(histogram.begin() + kLargestCode + 1, histogram.end(),
                                     [](std::int64_t binCount) { return binCount != 0; });
    const bool codesSuffice = !clipped || (thresholds.high <= kLargestCode && thresholds.low <= kLargestCode);
    if (codesSuffice) {
        Hysteresis(map, w, count, thresholds, [map](std::size_t p) { return static_cast<double>(map[p]); });
    } else {
        // A magnitude above 254 meets a threshold above 254 (possible only
        // without smoothing): run again keeping every magnitude.
        std::fill(edges.begin(), edges.end(), std::uint8_t{0});
        const auto exact = std::make_unique_for_overwrite<std::uint16_t[]>(count);
        EdgeHistogram again{};
        FindCandidates<true>(grey, width, height, kernel, map, exact.get(), again);
        Hysteresis(map, w, count, thresholds, [&exact](std::size_t p) { return static_cast<double>(exact[p]); });
    }
    // Whatever is not an edge is none.
    for (std::uint8_t& value : edges) {
        value = value == kEdge ? kEdge : 0;
    }
    return true;
}
