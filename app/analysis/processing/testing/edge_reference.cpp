#include "edge_reference.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "edge_detection.h"

bool ReferenceEdges(std::span<const std::uint8_t> grey, int width, int height, double sigma, double lowRatio,
                    double percentile, std::span<std::uint8_t> edges) {
    if (width <= 0 || height <= 0 || !std::isfinite(sigma) || !std::isfinite(lowRatio) || !std::isfinite(percentile) ||
        sigma < 0 || sigma > kMaxEdgeSigma) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (grey.size() != count || edges.size() != count) {
        return false;
    }
    const auto at = [width](int x, int y) { return static_cast<std::size_t>(y) * width + x; };

    // Kernel.
    const int n = 2 * static_cast<int>(std::ceil(3 * sigma)) + 1;
    const double weight = 1.0 / n;
    const int centre = n / 2;

    // Horizontal pass.
    std::vector<double> horizontal(count);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sum = 0;
            double weights = 0;
            for (int k = 0; k < n; ++k) {
                const int xx = x + k - centre;
                if (xx >= 0 && xx < width) {
                    sum += weight * grey[at(xx, y)];
                    weights += weight;
                }
            }
            horizontal[at(x, y)] = sum / weights;
        }
    }

    // Vertical pass.
    std::vector<std::uint8_t> smooth(count);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            double sum = 0;
            double weights = 0;
            for (int k = 0; k < n; ++k) {
                const int yy = y + k - centre;
                if (yy >= 0 && yy < height) {
                    sum += weight * horizontal[at(x, yy)];
                    weights += weight;
                }
            }
            const double value = static_cast<double>(static_cast<long long>(sum)) / weights;
            smooth[at(x, y)] = value >= 255 ? 255 : static_cast<std::uint8_t>(value);
        }
    }

    // Differences and magnitude.
    std::vector<std::int32_t> dx(count);
    std::vector<std::int32_t> dy(count);
    std::vector<std::int32_t> magnitude(count);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            dx[at(x, y)] = smooth[at(std::min(x + 1, width - 1), y)] - smooth[at(std::max(x - 1, 0), y)];
            dy[at(x, y)] = smooth[at(x, std::min(y + 1, height - 1))] - smooth[at(x, std::max(y - 1, 0))];
            const double dxd = dx[at(x, y)];
            const double dyd = dy[at(x, y)];
            magnitude[at(x, y)] = static_cast<std::int32_t>(std::sqrt(dxd * dxd + dyd * dyd) + 0.5);
        }
    }

    // Non-maximum suppression.
    std::vector<std::uint8_t> map(count, 0);
    const long long w = width;
    for (int y = 1; y < height - 1; ++y) {
        for (int x = 1; x < width - 1; ++x) {
            const long long i = static_cast<long long>(at(x, y));
            const std::int32_t m = magnitude[i];
            if (m == 0) {
                continue;
            }
            const std::int32_t gx = dx[i];
            const std::int32_t gy = dy[i];
            double t;
            double g1;
            double g2;
            double g3;
            double g4;
            if (std::abs(gy) > std::abs(gx)) {
                t = static_cast<double>(std::abs(gx)) / std::abs(gy);
                g2 = magnitude[i - w];
                g4 = magnitude[i + w];
                if (gx * gy > 0) {
                    g1 = magnitude[i - w - 1];
                    g3 = magnitude[i + w + 1];
                } else {
                    g1 = magnitude[i - w + 1];
                    g3 = magnitude[i + w - 1];
                }
            } else {
                t = static_cast<double>(std::abs(gy)) / std::abs(gx);
                g2 = magnitude[i + 1];
                g4 = magnitude[i - 1];
                if (gx * gy > 0) {
                    g1 = magnitude[i + w + 1];
                    g3 = magnitude[i - w - 1];
                } else {
                    g1 = magnitude[i - w + 1];
                    g3 = magnitude[i + w - 1];
                }
            }
            const double first = (1 - t) * g2 + t * g1;
            const double second = (1 - t) * g4 + t * g3;
            if (m >= first && m >= second) {
                map[i] = 128;
            }
        }
    }

    // Thresholds.
    long long histogram[1024] = {};
    long long total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (map[i] == 128) {
            ++histogram[std::min(magnitude[i], 1023)];
            ++total;
        }
    }
    int top = 0;
    for (int bin = 1; bin < 1024; ++bin) {
        if (histogram[bin] != 0) {
            top = bin;
        }
    }
    const double target = std::trunc(static_cast<double>(total) * percentile + 0.5);
    int i = 1;
    long long running = histogram[1];
    while (i < top - 1 && static_cast<double>(running) < target) {
        ++i;
        running += histogram[i];
    }
    const double high = i;
    const double low = std::trunc(high * lowRatio + 0.5);

    // Hysteresis in raster order.
    for (std::size_t p = 0; p < count; ++p) {
        if (map[p] != 128 || magnitude[p] < high) {
            continue;
        }
        map[p] = 255;
        const long long centreIndex = static_cast<long long>(p);
        for (long long dyRow = -1; dyRow <= 1; ++dyRow) {
            for (long long dxCol = -1; dxCol <= 1; ++dxCol) {
                const long long q = centreIndex + dyRow * w + dxCol;
                if (q != centreIndex && map[q] == 128 && magnitude[q] >= low) {
                    map[q] = 255;
                }
            }
        }
    }

    // Everything else is no edge.
    for (std::size_t p = 0; p < count; ++p) {
        edges[p] = map[p] == 255 ? 255 : 0;
    }
    return true;
}
