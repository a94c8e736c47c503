#pragma once
// Where a docking bar goes when the user drags it, and how large it may be
// made: the frame gathers the points and areas, these rules decide.
// Platform-free.
#include <optional>

#include "dock_side.h"

struct DockPoint {
    int x = 0;
    int y = 0;
};

struct DockArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(DockPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

// The smallest extent a docking bar is given, and the least room it leaves
// the frame's middle.
inline constexpr int kMinDockExtent = 40;

// A bar released at `point` (frame client coordinates) over the frame's
// dock area docks on the allowed side whose edge is nearest; released
// outside it, or with no side allowed, it floats (nothing).
std::optional<DockSide> DropSide(DockPoint point, const DockArea& area, DockSides allowed);

// The extent a bar on `side` takes when its inner edge is dragged to
// `edge` (frame client coordinate across that side), within `area` (the
// room the bar and the frame's middle share): at least kMinDockExtent, and
// leaving the middle at least as much.
int DraggedExtent(DockSide side, int edge, const DockArea& area);
