#include "count_edit_point.h"

#include <algorithm>
#include <cmath>

namespace {

int PixelIndex(int at, float zoom, int size) {
    const double index = std::floor(static_cast<double>(at) / static_cast<double>(zoom));
    return static_cast<int>(std::clamp(index, 0.0, static_cast<double>(size - 1)));
}

}  // namespace

EnginePixel EnginePixelAt(int x, int y, float zoom, int width, int height) {
    if (width <= 0 || height <= 0 || !(zoom > 0.0f)) {
        return {};
    }
    return {PixelIndex(x, zoom, width), height - 1 - PixelIndex(y, zoom, height)};
}
