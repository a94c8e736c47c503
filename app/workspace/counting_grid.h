#pragma once
// Where the counting grid's lines fall on the screen: one line after every
// whole cell of the picture, in zoomed and scrolled window pixels. Free of
// any device so the arithmetic is checked everywhere.
#include <cstdint>
#include <vector>

struct GridSegment {
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;

    friend bool operator==(const GridSegment&, const GridSegment&) = default;
};

// How the picture lies in the window when the grid is drawn.
struct GridPlacement {
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
    float zoom = 1.0f;
    std::int32_t zoomedWidth = 0;
    std::int32_t zoomedHeight = 0;
    std::int32_t centreX = 0;
    std::int32_t centreY = 0;
    std::int32_t scrollX = 0;
    std::int32_t scrollY = 0;
};

// A cell size as the grid uses it: below one pixel, or not a number, it is
// one pixel; an infinite cell is the largest float, so it holds no line.
float GridCellSize(float cell);

// Horizontal lines first (top to bottom), then vertical ones (left to
// right). Cell sizes are in picture pixels and pass through GridCellSize.
// Lines beyond the picture's last whole cell, or at or left of / above the
// window's first pixel, are left out.
std::vector<GridSegment> CountingGridLines(const GridPlacement& place, float cellWidth, float cellHeight);
