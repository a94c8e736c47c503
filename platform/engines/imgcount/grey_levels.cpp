#include "grey_levels.h"

#include <algorithm>

CountRect CountRect::Clipped(CountPoint corner, int width, int height, int pictureWidth, int pictureHeight) {
    CountRect r;
    r.x0 = std::clamp(corner.x, 0, pictureWidth);
    r.y0 = std::clamp(corner.y, 0, pictureHeight);
    r.x1 = std::clamp(static_cast<long long>(corner.x) + std::max(width, 0), static_cast<long long>(r.x0),
                      static_cast<long long>(pictureWidth));
    r.y1 = std::clamp(static_cast<long long>(corner.y) + std::max(height, 0), static_cast<long long>(r.y0),
                      static_cast<long long>(pictureHeight));
    return r;
}

void MakeGreyImage(std::span<const std::uint8_t> bgr, int width, int height, GreyChannel channel,
                   std::span<std::uint8_t> grey) {
    const std::size_t stride = BgrStride(width);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = bgr.data() + static_cast<std::size_t>(y) * stride;
        std::uint8_t* out = grey.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t b = row[x * 3];
            const std::uint32_t g = row[x * 3 + 1];
            const std::uint32_t r = row[x * 3 + 2];
            switch (channel) {
            case GreyChannel::red: out[x] = static_cast<std::uint8_t>(r); break;
            case GreyChannel::green: out[x] = static_cast<std::uint8_t>(g); break;
            case GreyChannel::blue: out[x] = static_cast<std::uint8_t>(b); break;
            case GreyChannel::luminance:
                out[x] = static_cast<std::uint8_t>((299 * r + 587 * g + 114 * b + 500) / 1000);
                break;
            }
        }
    }
}

GreyHistogram HistogramOf(std::span<const std::uint8_t> grey, int width, const CountRect& area) {
    GreyHistogram histogram{};
    for (int y = area.y0; y < area.y1; ++y) {
        const std::uint8_t* row = grey.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = area.x0; x < area.x1; ++x) {
            ++histogram[row[x]];
        }
    }
    return histogram;
}

CountSize AutomaticWindow(const GreyHistogram& histogram) {
    double total = 0;
    double weighted = 0;
    for (int level = 0; level < 256; ++level) {
        total += static_cast<double>(histogram[level]);
        weighted += static_cast<double>(level) * static_cast<double>(histogram[level]);
    }
    if (total == 0) {
        return {0, 0};
    }
    int split = 0;
    double best = -1;
    double below = 0;
    double belowWeighted = 0;
    for (int level = 0; level < 255; ++level) {
        below += static_cast<double>(histogram[level]);
        belowWeighted += static_cast<double>(level) * static_cast<double>(histogram[level]);
        const double above = total - below;
        if (below == 0 || above == 0) {
            continue;
        }
        const double meanBelow = belowWeighted / below;
        const double meanAbove = (weighted - belowWeighted) / above;
        const double variance = below * above * (meanBelow - meanAbove) * (meanBelow - meanAbove);
        if (variance > best) {
            best = variance;
            split = level;
        }
    }
    double dark = 0;
    for (int level = 0; level <= split; ++level) {
        dark += static_cast<double>(histogram[level]);
    }
    return dark <= total - dark ? CountSize{0, split} : CountSize{split + 1, 255};
}

void ThresholdMask(std::span<const std::uint8_t> grey, int width, int height, int low, int high, const CountRect& area,
                   std::span<std::uint8_t> mask) {
    std::fill(mask.begin(), mask.end(), std::uint8_t{0});
    for (int y = area.y0; y < std::min(area.y1, height); ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = area.x0; x < area.x1; ++x) {
            const int level = grey[row + static_cast<std::size_t>(x)];
            mask[row + static_cast<std::size_t>(x)] = level >= low && level <= high ? 255 : 0;
        }
    }
}
