#include "tile_matcher.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Peaks of the correlation surface checked against the pictures.
constexpr int kPeaks = 6;
// Half the side of the square cleared around a peak before the next is taken.
constexpr int kPeakClearance = 2;
// Samples of the overlap compared per refinement step, at most.
constexpr std::int64_t kRefineSamples = 1 << 16;

}  // namespace

void TileMatcher::Reduce(const BgrView& image, int factor, Grey& out) {
    out.width = image.width / factor;
    out.height = image.height / factor;
    out.values.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 0.0f);
    const float scale = 1.0f / (4.0f * static_cast<float>(factor * factor));
    for (int y = 0; y < out.height * factor; ++y) {
        const std::uint8_t* row = image.pixels.data() + static_cast<std::size_t>(y) * image.width * 3;
        float* target = out.values.data() + static_cast<std::size_t>(y / factor) * out.width;
        for (int x = 0; x < out.width * factor; ++x) {
            target[x / factor] += static_cast<float>(row[3 * x] + 2 * row[3 * x + 1] + row[3 * x + 2]) * scale;
        }
    }
}

float TileMatcher::Deviation(const Grey& grey) {
    if (grey.values.empty()) {
        return 0.0f;
    }
    double sum = 0.0;
    double squares = 0.0;
    for (const float value : grey.values) {
        sum += value;
        squares += static_cast<double>(value) * value;
    }
    const double n = static_cast<double>(grey.values.size());
    const double mean = sum / n;
    return static_cast<float>(std::sqrt(std::max(0.0, squares / n - mean * mean)));
}

void TileMatcher::FullGrey(const BgrView& image, std::vector<std::uint8_t>& out) {
    const std::size_t pixels = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    out.resize(pixels);
    const std::uint8_t* bgr = image.pixels.data();
    for (std::size_t i = 0; i < pixels; ++i) {
        out[i] = static_cast<std::uint8_t>((bgr[3 * i] + 2 * bgr[3 * i + 1] + bgr[3 * i + 2] + 2) >> 2);
    }
}

void TileMatcher::LoadSpectrum(const Grey& grey, std::vector<std::complex<float>>& spectrum) {
    double sum = 0.0;
    for (const float value : grey.values) {
        sum += value;
    }
    const float mean = static_cast<float>(sum / static_cast<double>(grey.values.size()));
    spectrum.assign(static_cast<std::size_t>(fft_.Width()) * static_cast<std::size_t>(fft_.Height()), {});
    for (int y = 0; y < grey.height; ++y) {
        for (int x = 0; x < grey.width; ++x) {
            spectrum[static_cast<std::size_t>(y) * fft_.Width() + x] = grey.values[static_cast<std::size_t>(y) * grey.width + x] - mean;
        }
    }
    fft_.Forward(spectrum);
}

std::optional<float> TileMatcher::Correlation(int dx, int dy) const {
    const Grey& a = firstCoarse_;
    const Grey& b = secondCoarse_;
    const int left = std::max(0, dx);
    const int right = std::min(a.width, dx + b.width);
    const int top = std::max(0, dy);
    const int bottom = std::min(a.height, dy + b.height);
    if (right - left < kMinOverlap || bottom - top < kMinOverlap) {
        return std::nullopt;
    }
    double sa = 0.0, sb = 0.0, saa = 0.0, sbb = 0.0, sab = 0.0;
    for (int y = top; y < bottom; ++y) {
        const float* pa = a.values.data() + static_cast<std::size_t>(y) * a.width;
        const float* pb = b.values.data() + static_cast<std::size_t>(y - dy) * b.width - dx;
        for (int x = left; x < right; ++x) {
            const double va = pa[x];
            const double vb = pb[x];
            sa += va;
            sb += vb;
            saa += va * va;
            sbb += vb * vb;
            sab += va * vb;
        }
    }
    const double n = static_cast<double>(right - left) * static_cast<double>(bottom - top);
    const double cov = sab / n - (sa / n) * (sb / n);
    const double va = saa / n - (sa / n) * (sa / n);
    const double vb = sbb / n - (sb / n) * (sb / n);
    if (va <= 1e-6 || vb <= 1e-6) {
        return 0.0f;
    }
    return static_cast<float>(cov / std::sqrt(va * vb));
}

TileOffset TileMatcher::Refine(TileOffset coarse, int factor, const BgrView& first, const BgrView& second) {
    FullGrey(first, firstGrey_);
    FullGrey(second, secondGrey_);
    TileOffset best{coarse.dx * factor, coarse.dy * factor};
    double bestCost = std::numeric_limits<double>::max();
    const TileOffset centre = best;
    for (int oy = -factor; oy <= factor; ++oy) {
        for (int ox = -factor; ox <= factor; ++ox) {
            const int dx = centre.dx + ox;
            const int dy = centre.dy + oy;
            const int left = std::max(0, dx);
            const int right = std::min(first.width, dx + second.width);
            const int top = std::max(0, dy);
            const int bottom = std::min(first.height, dy + second.height);
            if (right <= left || bottom <= top) {
                continue;
            }
            const std::int64_t area = static_cast<std::int64_t>(right - left) * (bottom - top);
            const int step = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(area) / kRefineSamples))));
            std::int64_t cost = 0;
            std::int64_t samples = 0;
            for (int y = top; y < bottom; y += step) {
                const std::uint8_t* pa = firstGrey_.data() + static_cast<std::size_t>(y) * first.width;
                const std::uint8_t* pb = secondGrey_.data() + static_cast<std::size_t>(y - dy) * second.width - dx;
                for (int x = left; x < right; x += step) {
                    cost += std::abs(static_cast<int>(pa[x]) - static_cast<int>(pb[x]));
                    ++samples;
                }
            }
            const double mean = static_cast<double>(cost) / static_cast<double>(samples);
            if (mean < bestCost) {
                bestCost = mean;
                best = {dx, dy};
            }
        }
    }
    return best;
}

std::optional<TileOffset> TileMatcher::Match(const BgrView& first, const BgrView& second) {
    if (!first.Valid() || !second.Valid()) {
        return std::nullopt;
    }
    int factor = 1;
    while (std::max({first.width, first.height, second.width, second.height}) / factor > kCoarseSide) {
        factor *= 2;
    }
    Reduce(first, factor, firstCoarse_);
    Reduce(second, factor, secondCoarse_);
    if (firstCoarse_.width < kMinOverlap || firstCoarse_.height < kMinOverlap || secondCoarse_.width < kMinOverlap ||
        secondCoarse_.height < kMinOverlap || Deviation(firstCoarse_) < kMinContrast ||
        Deviation(secondCoarse_) < kMinContrast) {
        return std::nullopt;
    }
    const int n = Fft2d::NextPowerOfTwo(std::max(firstCoarse_.width, secondCoarse_.width));
    const int m = Fft2d::NextPowerOfTwo(std::max(firstCoarse_.height, secondCoarse_.height));
    fft_.Prepare(n, m);
    LoadSpectrum(firstCoarse_, firstSpectrum_);
    LoadSpectrum(secondCoarse_, secondSpectrum_);
    // Normalised cross power: its inverse peaks at the shift of the second
    // picture within the first (modulo the transform's size).
    for (std::size_t i = 0; i < firstSpectrum_.size(); ++i) {
        const std::complex<float> cross = firstSpectrum_[i] * std::conj(secondSpectrum_[i]);
        const float magnitude = std::abs(cross);
        firstSpectrum_[i] = magnitude > 1e-12f ? cross / magnitude : std::complex<float>{};
    }
    fft_.Inverse(firstSpectrum_);

    std::optional<TileOffset> best;
    float bestScore = kMinCorrelation;
    for (int peak = 0; peak < kPeaks; ++peak) {
        std::size_t at = 0;
        float height = -std::numeric_limits<float>::max();
        for (std::size_t i = 0; i < firstSpectrum_.size(); ++i) {
            if (firstSpectrum_[i].real() > height) {
                height = firstSpectrum_[i].real();
                at = i;
            }
        }
        const int px = static_cast<int>(at % static_cast<std::size_t>(n));
        const int py = static_cast<int>(at / static_cast<std::size_t>(n));
        for (int cy = py - kPeakClearance; cy <= py + kPeakClearance; ++cy) {
            for (int cx = px - kPeakClearance; cx <= px + kPeakClearance; ++cx) {
                const std::size_t wrapped = static_cast<std::size_t>((cy + m) % m) * n + static_cast<std::size_t>((cx + n) % n);
                firstSpectrum_[wrapped] = -std::numeric_limits<float>::max();
            }
        }
        for (const int dy : {py, py - m}) {
            for (const int dx : {px, px - n}) {
                const std::optional<float> score = Correlation(dx, dy);
                if (score && *score > bestScore) {
                    bestScore = *score;
                    best = TileOffset{dx, dy};
                }
            }
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return Refine(*best, factor, first, second);
}
