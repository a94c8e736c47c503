#pragma once
// Edits of the target mask (one byte per pixel, 255 on a target, rows from
// the bottom) and the painting of its outlines into a 24-bit picture with
// padded rows. Each edit returns how many mask pixels it changed.
#include <cstdint>
#include <functional>
#include <span>

#include "count_geometry.h"

struct MaskView {
    std::span<std::uint8_t> mask;
    int width = 0;
    int height = 0;

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint8_t& At(int x, int y) {
        return mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// Sets to `value` the 8-connected pixels reachable from (x, y) for which
// `accept(x, y)` holds, inside `area`.
std::size_t FloodMask(MaskView view, int x, int y, const CountRect& area, std::uint8_t value,
                      const std::function<bool(int, int)>& accept);

// Sets every pixel of the (2 penSize + 1) square about (x, y) within `area`.
std::size_t PaintSquare(MaskView view, int x, int y, int penSize, const CountRect& area, std::uint8_t value);

// Clears a line `thickness` pixels wide from (x1, y1) to (x2, y2).
std::size_t CutLine(MaskView view, int x1, int y1, int x2, int y2, int thickness);

// Sets the holes: pixels off the mask that no 4-connected path of such
// pixels joins to the edge of `area`.
std::size_t FillHoles(MaskView view, const CountRect& area);

// Paints in `bgr` (padded rows) every mask pixel that has a 4-neighbour off
// the mask; `thick` also those with a diagonal neighbour off it.
void PaintMaskOutlines(std::span<const std::uint8_t> mask, int width, int height, bool thick, std::uint32_t colour,
                       std::span<std::uint8_t> bgr);
// The same within `area` only (clipped to the picture).
void PaintMaskOutlines(std::span<const std::uint8_t> mask, int width, int height, bool thick, std::uint32_t colour,
                       std::span<std::uint8_t> bgr, const CountRect& area);

// Copies the pixels of `area` from `source` into `bgr`, both padded rows of
// a picture `width` wide.
void CopyArea(std::span<const std::uint8_t> source, int width, const CountRect& area, std::span<std::uint8_t> bgr);

void PaintPixel(std::span<std::uint8_t> bgr, int width, int x, int y, std::uint32_t colour);
