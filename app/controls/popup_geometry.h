#pragma once
// The floating picture window's handles and resize arithmetic, in the
// window's client coordinates (hit test) and the parent's (resize).
#include "pixel_box.h"

namespace popup {

// 0 none; 1 top-left, 2 top-middle, 3 top-right, 4 right-middle,
// 5 bottom-right, 6 bottom-middle, 7 bottom-left, 8 left-middle.
enum Handle : int { kNone = 0, kTopLeft, kTop, kTopRight, kRight, kBottomRight, kBottom, kBottomLeft, kLeft };

inline constexpr int kBorderZone = 4;

// The handle under (x, y) in a client of width x height.
Handle HitTest(int width, int height, int x, int y);

// The cursor resource that shows a handle (171 off the handles).
int CursorFor(Handle handle);

using Box = PixelBox;

// One resize step: the handle's edges follow (dx, dy). An edge that would
// reach or pass its opposite edge stops one pixel short; the result says so
// (the drag's reference point then stays where it was).
bool ResizeStep(Box& box, Handle handle, int dx, int dy);

// The eight 3x3 handle squares of a client of width x height.
struct HandleSquare {
    int left;
    int top;
};
void HandleSquares(int width, int height, HandleSquare (&squares)[8]);

}  // namespace popup
