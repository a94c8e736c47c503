#include "target_measures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

std::uint32_t Root(std::vector<std::uint32_t>& parent, std::uint32_t label) {
    while (parent[label] != label) {
        parent[label] = parent[parent[label]];
        label = parent[label];
    }
    return label;
}

void Join(std::vector<std::uint32_t>& parent, std::uint32_t a, std::uint32_t b) {
    a = Root(parent, a);
    b = Root(parent, b);
    if (a < b) {
        parent[b] = a;
    } else if (b < a) {
        parent[a] = b;
    }
}

struct Sums {
    std::int64_t area = 0;
    std::int64_t sumX = 0;
    std::int64_t sumY = 0;
    int minX = std::numeric_limits<int>::max();
    int minY = std::numeric_limits<int>::max();
    int maxX = -1;
    int maxY = -1;
    int greyMin = 255;
    int greyMax = 0;
    std::uint64_t greySum = 0;
    double farthest2 = 0;
    double perimeter = 0;
};

// Length of the outline through pixel centres inside one 2 x 2 window, by
// which of its corners belong to a target (bit 0 bottom left, 1 bottom
// right, 2 top left, 3 top right).
constexpr double kHalfDiagonal = std::numbers::sqrt2 / 2;
constexpr double kWindowLength[16] = {
    0,
    kHalfDiagonal,
    kHalfDiagonal,
    1,
    kHalfDiagonal,
    1,
    2 * kHalfDiagonal,
    kHalfDiagonal,
    kHalfDiagonal,
    2 * kHalfDiagonal,
    1,
    kHalfDiagonal,
    1,
    kHalfDiagonal,
    kHalfDiagonal,
    0,
};

}  // namespace

TargetLabels LabelTargets(std::span<const std::uint8_t> mask, int width, int height) {
    TargetLabels out;
    const std::size_t w = static_cast<std::size_t>(width);
    out.labels.assign(w * static_cast<std::size_t>(height), 0);
    std::vector<std::uint32_t> parent{0};
    for (int y = 0; y < height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * w;
        for (int x = 0; x < width; ++x) {
            if (mask[row + static_cast<std::size_t>(x)] == 0) {
                continue;
            }
            std::uint32_t label = 0;
            const auto meet = [&](std::uint32_t other) {
                if (other == 0) {
                    return;
                }
                if (label == 0) {
                    label = other;
                } else {
                    Join(parent, label, other);
                }
            };
            if (x > 0) {
                meet(out.labels[row + static_cast<std::size_t>(x) - 1]);
            }
            if (y > 0) {
                const std::size_t below = row - w + static_cast<std::size_t>(x);
                if (x > 0) {
                    meet(out.labels[below - 1]);
                }
                meet(out.labels[below]);
                if (x + 1 < width) {
                    meet(out.labels[below + 1]);
                }
            }
            if (label == 0) {
                label = static_cast<std::uint32_t>(parent.size());
                parent.push_back(label);
            }
            out.labels[row + static_cast<std::size_t>(x)] = label;
        }
    }
    // Roots are the smallest provisional label, that of the first pixel, so
    // numbering roots as first met keeps the order of first pixels.
    std::vector<std::uint32_t> final(parent.size(), 0);
    for (std::uint32_t& label : out.labels) {
        if (label == 0) {
            continue;
        }
        const std::uint32_t root = Root(parent, label);
        if (final[root] == 0) {
            final[root] = ++out.count;
        }
        label = final[root];
    }
    return out;
}

std::vector<_tagOBJRESULT> MeasureTargets(const TargetLabels& targets, std::span<const std::uint8_t> grey, int width,
                                          int height, std::atomic<int>& built) {
    built.store(0, std::memory_order_relaxed);
    std::vector<Sums> sums(targets.count + 1);
    const std::size_t w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x);
            const std::uint32_t label = targets.labels[at];
            if (label == 0) {
                continue;
            }
            Sums& s = sums[label];
            ++s.area;
            s.sumX += x;
            s.sumY += y;
            s.minX = std::min(s.minX, x);
            s.maxX = std::max(s.maxX, x);
            s.minY = std::min(s.minY, y);
            s.maxY = std::max(s.maxY, y);
            s.greyMin = std::min<int>(s.greyMin, grey[at]);
            s.greyMax = std::max<int>(s.greyMax, grey[at]);
            s.greySum += grey[at];
        }
    }
    // Farthest pixel centre from the centre, for the circumscribed radius.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t label = targets.labels[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
            if (label == 0) {
                continue;
            }
            Sums& s = sums[label];
            const double dx = x - static_cast<double>(s.sumX) / static_cast<double>(s.area);
            const double dy = y - static_cast<double>(s.sumY) / static_cast<double>(s.area);
            s.farthest2 = std::max(s.farthest2, dx * dx + dy * dy);
        }
    }
    // Outline: every 2 x 2 window holds pixels of one target at most, since
    // pixels of one window touch each other.
    const auto labelAt = [&](int x, int y) -> std::uint32_t {
        if (x < 0 || y < 0 || x >= width || y >= height) {
            return 0;
        }
        return targets.labels[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
    };
    for (int y = -1; y < height; ++y) {
        for (int x = -1; x < width; ++x) {
            const std::uint32_t corners[4] = {labelAt(x, y), labelAt(x + 1, y), labelAt(x, y + 1),
                                              labelAt(x + 1, y + 1)};
            std::uint32_t label = 0;
            int pattern = 0;
            for (int i = 0; i < 4; ++i) {
                if (corners[i] != 0) {
                    label = corners[i];
                    pattern |= 1 << i;
                }
            }
            if (label != 0) {
                sums[label].perimeter += kWindowLength[pattern];
            }
        }
    }
    std::vector<_tagOBJRESULT> records(targets.count);
    for (std::uint32_t label = 1; label <= targets.count; ++label) {
        const Sums& s = sums[label];
        _tagOBJRESULT& r = records[label - 1];
        r.number = static_cast<std::int32_t>(label);
        r.area = static_cast<double>(s.area);
        r.perimeter = s.perimeter;
        r.width = s.maxX - s.minX + 1;
        r.height = s.maxY - s.minY + 1;
        r.boxLeft = s.minX;
        r.boxBottom = s.minY;
        r.centreX = static_cast<double>(s.sumX) / r.area;
        r.centreY = static_cast<double>(s.sumY) / r.area;
        r.radius = std::sqrt(s.farthest2) + 0.5;
        r.roundness = std::min(1.0, r.area / (std::numbers::pi * r.radius * r.radius));
        r.greyMin = static_cast<std::uint8_t>(s.greyMin);
        r.greyMax = static_cast<std::uint8_t>(s.greyMax);
        r.greySum = static_cast<std::uint32_t>(std::min<std::uint64_t>(s.greySum, UINT32_MAX));
        r.greyMean = static_cast<std::uint32_t>((s.greySum + static_cast<std::uint64_t>(s.area) / 2) /
                                                static_cast<std::uint64_t>(s.area));
        built.store(static_cast<int>(label), std::memory_order_relaxed);
    }
    return records;
}

void ApplyFilter(std::vector<_tagOBJRESULT>& records, const _tagOBJFILTER& filter) {
    const _tagOBJRESULT& lo = filter.lower;
    const _tagOBJRESULT& hi = filter.upper;
    const auto outside = [](auto value, auto low, auto high) { return value < low || value > high; };
    for (_tagOBJRESULT& r : records) {
        r.excluded =
            filter.enabled != 0 &&
                    (outside(r.area, lo.area, hi.area) || outside(r.perimeter, lo.perimeter, hi.perimeter) ||
                     outside(r.width, lo.width, hi.width) || outside(r.height, lo.height, hi.height) ||
                     outside(r.radius, lo.radius, hi.radius) || outside(r.roundness, lo.roundness, hi.roundness) ||
                     outside(r.greyMin, lo.greyMin, hi.greyMin) || outside(r.greyMax, lo.greyMax, hi.greyMax) ||
                     outside(r.greyMean, lo.greyMean, hi.greyMean) || outside(r.greySum, lo.greySum, hi.greySum))
                ? 1
                : 0;
    }
}
