#pragma once
// Where a docking bar or toolbar goes when the user drags it, and how large
// a docking bar may be made: the frame gathers the points and areas, these
// rules decide. Platform-free.
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

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

// The rows of toolbars docked on each side, outermost first: how thick each
// is (its height at the top and bottom, its width on the left and right).
struct ToolBarRows {
    std::vector<int> top, bottom, left, right;
    const std::vector<int>& On(DockSide side) const;
};

// Where a released toolbar docks: a row of `side`, counted from the edge;
// a row equal to the side's count is a new row beyond its rows.
struct ToolBarDrop {
    DockSide side = DockSide::top;
    std::size_t row = 0;
    bool operator==(const ToolBarDrop&) const = default;
};

// A toolbar released at `point` (frame client coordinates) over the rows of
// an allowed side joins the row it is over, and just beyond them (within
// `newRow`, the thickness of a row of its own) starts a new row; where two
// sides reach the point, the nearer edge wins. Anywhere else, in the middle
// of the frame or outside it, it floats (nothing).
std::optional<ToolBarDrop> ToolBarDropPlace(DockPoint point, const DockArea& area, DockSides allowed,
                                            const ToolBarRows& rows, int newRow);
