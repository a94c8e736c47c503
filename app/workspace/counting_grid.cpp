#include "counting_grid.h"

#include <cfloat>
#include <cmath>

#include "truncate.h"

float GridCellSize(float cell) {
    if (std::isnan(cell) || cell < 1.0f) {
        return 1.0f;
    }
    return cell > FLT_MAX ? FLT_MAX : cell;
}

namespace {

// Whole cells along one side; a cell wider than the picture gives none.
std::int32_t WholeCells(std::int32_t pictureSide, float cell) {
    const std::int32_t step = TruncateToInt(cell);
    return step > 0 && pictureSide > 0 ? pictureSide / step : 0;
}

// Screen step of one cell; never 0, so the loops always advance.
float ScreenStep(float cell, float zoom) {
    const float step = cell * zoom;
    return step == 0.0f ? 1.0f : step;
}

}  // namespace

std::vector<GridSegment> CountingGridLines(const GridPlacement& place, float cellWidth, float cellHeight) {
    cellWidth = GridCellSize(cellWidth);
    cellHeight = GridCellSize(cellHeight);
    const std::int32_t columns = WholeCells(place.pictureWidth, cellWidth);
    const std::int32_t rows = WholeCells(place.pictureHeight, cellHeight);
    const float stepX = ScreenStep(cellWidth, place.zoom);
    const float stepY = ScreenStep(cellHeight, place.zoom);

    // Window position of picture pixel 0 and of the zoomed picture's far edge.
    const std::int64_t originX = std::int64_t{place.centreX} - place.scrollX;
    const std::int64_t originY = std::int64_t{place.centreY} - place.scrollY;
    const std::int64_t lastX = originX + place.zoomedWidth;
    const std::int64_t lastY = originY + place.zoomedHeight;

    std::vector<GridSegment> lines;
    for (std::int32_t i = 1; i <= rows; ++i) {
        const std::int64_t y = originY + TruncateToInt(static_cast<float>(i) * stepY);
        if (y > lastY) {
            break;
        }
        if (y > 0) {
            lines.push_back({static_cast<std::int32_t>(originX), static_cast<std::int32_t>(y),
                             static_cast<std::int32_t>(lastX), static_cast<std::int32_t>(y)});
        }
    }
    for (std::int32_t i = 1; i <= columns; ++i) {
        const std::int64_t x = originX + TruncateToInt(static_cast<float>(i) * stepX);
        if (x > lastX) {
            break;
        }
        if (x > 0) {
            lines.push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(originY),
                             static_cast<std::int32_t>(x), static_cast<std::int32_t>(lastY)});
        }
    }
    return lines;
}
