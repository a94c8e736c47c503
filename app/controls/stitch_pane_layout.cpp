#include "stitch_pane_layout.h"

#include <algorithm>

namespace stitch_pane {

namespace {

int Clamp(int position, int grid, int visible) { return std::clamp(position, 0, std::max(0, grid - visible)); }

}  // namespace

Layout LayOut(int width, int height, int gridWidth, int gridHeight, int scrollX, int scrollY, int lastWidth,
              int lastHeight) {
    Layout layout;
    layout.offsetX = width > gridWidth ? (width - gridWidth) / 2 : 0;
    layout.offsetY = height > gridHeight ? (height - gridHeight) / 2 : 0;
    if (width < gridWidth) {
        layout.horizontal = true;
        layout.vertical = height - kBarThickness < gridHeight;
    }
    if (height < gridHeight) {
        layout.vertical = true;
        layout.horizontal = layout.horizontal || width - kBarThickness < gridWidth;
    }
    layout.visibleWidth = width - (layout.vertical ? kBarThickness : 0);
    layout.visibleHeight = height - (layout.horizontal ? kBarThickness : 0);

    if (width > lastWidth) {
        scrollX -= width - lastWidth;
    }
    if (height > lastHeight) {
        scrollY -= height - lastHeight;
    }
    layout.scrollX = layout.horizontal ? Clamp(scrollX, gridWidth, layout.visibleWidth) : 0;
    layout.scrollY = layout.vertical ? Clamp(scrollY, gridHeight, layout.visibleHeight) : 0;

    layout.verticalBar = {width - kBarThickness, 0, kBarThickness, layout.visibleHeight};
    layout.horizontalBar = {0, height - kBarThickness, layout.visibleWidth, kBarThickness};
    layout.inner = {layout.offsetX, layout.offsetY, std::min(gridWidth, layout.visibleWidth),
                    std::min(gridHeight, layout.visibleHeight)};
    return layout;
}

int Scroll(ScrollCode code, int position, int thumb, int grid, int visible) {
    switch (code) {
    case ScrollCode::kLineBack: position -= kLineStep; break;
    case ScrollCode::kLineForward: position += kLineStep; break;
    case ScrollCode::kThumb: position = thumb; break;
    case ScrollCode::kStart: position = 0; break;
    case ScrollCode::kEnd: position = grid - visible; break;
    default: break;
    }
    return Clamp(position, grid, visible);
}

}  // namespace stitch_pane
