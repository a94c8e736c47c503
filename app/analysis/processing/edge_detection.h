#pragma once
// The edge detector of the picture menu's edge command: smoothing with an
// equal-weight kernel, central-difference gradients, non-maximum
// suppression, thresholds from a percentile of the candidates' magnitudes
// and a one-step hysteresis. Works on a grey picture of width x height
// bytes, rows in the picture's own order without padding; "raster order"
// is that buffer order. Platform-free.
#include <array>
#include <cstdint>
#include <span>

// Kernels wider than this sigma gives (601 taps) are refused.
inline constexpr double kMaxEdgeSigma = 100.0;

// Fills `edges` (width x height bytes) with 255 on edges and 0 elsewhere.
// False, with `edges` untouched, when a size is not positive, a span does
// not hold width x height bytes, a parameter is not finite or sigma lies
// outside 0..kMaxEdgeSigma. Allocates its working buffers per call.
bool DetectEdges(std::span<const std::uint8_t> grey, int width, int height, double sigma, double lowRatio,
                 double percentile, std::span<std::uint8_t> edges);

// The thresholds on their own, from the candidates' magnitudes counted in
// 1024 bins (bin 0 unused): high is the first bin at which the running
// count from bin 1 reaches trunc(total x percentile + 0.5), but at most one
// below the highest bin in use (1 when there is none); low is
// trunc(high x lowRatio + 0.5). Edges need a magnitude of at least high,
// their neighbours low.
struct EdgeThresholds {
    double high = 1;
    double low = 1;
};
inline constexpr int kEdgeHistogramBins = 1024;
using EdgeHistogram = std::array<std::int64_t, kEdgeHistogramBins>;
EdgeThresholds ChooseEdgeThresholds(const EdgeHistogram& histogram, double lowRatio, double percentile);
