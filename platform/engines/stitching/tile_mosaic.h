#pragma once
// Placing a chain of matched pictures (one row or one column) on one canvas:
// each picture at its offset from the one before, the canvas the bounding
// box of all of them, empty pixels black. The effective area is the
// rectangle every pixel of which some picture covers: across the chain the
// band all pictures share, along it from the first picture's edge to the
// last's.
#include <cstdint>
#include <span>
#include <vector>

#include "bgr_image.h"
#include "tile_matcher.h"

// A rectangle in canvas pixels; right and bottom lie just outside it.
struct StitchRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const StitchRect&, const StitchRect&) = default;
};

struct TilePlace {
    int x = 0;
    int y = 0;
};

struct MosaicLayout {
    int width = 0;
    int height = 0;
    std::vector<TilePlace> places;  // each picture's top-left corner on the canvas
    StitchRect effective;
};

enum class ChainDirection { kRow, kColumn };

// Lays out pictures of the given sizes with offsets[i] the place of picture
// i + 1 relative to picture i, into `layout` (its place list reused). False
// when the counts disagree, when the canvas would exceed the picture limits
// or when no pixel band is shared by all pictures across the chain.
bool LayOutMosaic(std::span<const BgrView> tiles, std::span<const TileOffset> offsets, ChainDirection direction,
                  MosaicLayout& layout);

// Paints the pictures in order (a later one over an earlier) into `canvas`,
// sized to the layout. False when the pictures do not fit the layout.
bool PaintMosaic(std::span<const BgrView> tiles, const MosaicLayout& layout, BgrImage& canvas);
