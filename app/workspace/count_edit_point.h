#pragma once
// Where a mouse point lands in the counting engine's picture: the engine
// counts rows from the bottom, the view from the top.

// A pixel of the engine's picture, y from the bottom row.
struct EnginePixel {
    int x = 0;
    int y = 0;

    friend bool operator==(const EnginePixel&, const EnginePixel&) = default;
};

// The picture pixel under (x, y) in zoomed-picture pixels: column
// floor(x / zoom), row height - 1 - floor(y / zoom), each clamped into the
// picture, so the first and last rows and columns are reached at any zoom
// and a point on the far edge stays on the picture. (0, 0) for an empty
// picture or a zoom that is not positive.
EnginePixel EnginePixelAt(int x, int y, float zoom, int width, int height);
