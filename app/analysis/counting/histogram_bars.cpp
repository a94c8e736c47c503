#include "histogram_bars.h"

#include <algorithm>

int BarHeight(int count, int largest, int panelHeight) {
    if (largest <= 0 || count <= 0 || panelHeight <= 0) {
        return 0;
    }
    return static_cast<int>(static_cast<std::int64_t>(panelHeight) * std::min(count, largest) / largest);
}

double WindowShare(const LevelCounts& counts, int low, int high, int width, int height) {
    const double pixels = static_cast<double>(width) * static_cast<double>(height);
    if (pixels <= 0) {
        return 0;
    }
    double sum = 0;
    for (int level = std::max(low, 0); level <= std::min(high, 255); ++level) {
        sum += counts[static_cast<std::size_t>(level)];
    }
    return sum / pixels * 100.0;
}
