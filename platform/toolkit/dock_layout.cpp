#include "dock_layout.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

std::optional<DockSide> DropSide(DockPoint point, const DockArea& area, DockSides allowed) {
    if (!area.Contains(point)) {
        return std::nullopt;
    }
    const std::array<std::pair<DockSide, int>, 4> distances{{
        {DockSide::left, point.x - area.left},
        {DockSide::right, area.right - 1 - point.x},
        {DockSide::top, point.y - area.top},
        {DockSide::bottom, area.bottom - 1 - point.y},
    }};
    std::optional<DockSide> nearest;
    int best = INT_MAX;
    for (const auto& [side, distance] : distances) {
        if (Allows(allowed, side) && distance < best) {
            best = distance;
            nearest = side;
        }
    }
    return nearest;
}

int DraggedExtent(DockSide side, int edge, const DockArea& area) {
    const bool across = side == DockSide::left || side == DockSide::right;
    const int room = across ? area.Width() : area.Height();
    int wanted = 0;
    switch (side) {
    case DockSide::left: wanted = edge - area.left; break;
    case DockSide::right: wanted = area.right - edge; break;
    case DockSide::top: wanted = edge - area.top; break;
    case DockSide::bottom: wanted = area.bottom - edge; break;
    }
    return std::clamp(wanted, kMinDockExtent, std::max(kMinDockExtent, room - kMinDockExtent));
}

const std::vector<int>& ToolBarRows::On(DockSide side) const {
    switch (side) {
    case DockSide::top: return top;
    case DockSide::bottom: return bottom;
    case DockSide::left: return left;
    case DockSide::right: return right;
    }
    return top;
}

std::optional<ToolBarDrop> ToolBarDropPlace(DockPoint point, const DockArea& area, DockSides allowed,
                                            const ToolBarRows& rows, int newRow) {
    if (!area.Contains(point)) {
        return std::nullopt;
    }
    const std::array<std::pair<DockSide, int>, 4> distances{{
        {DockSide::top, point.y - area.top},
        {DockSide::bottom, area.bottom - 1 - point.y},
        {DockSide::left, point.x - area.left},
        {DockSide::right, area.right - 1 - point.x},
    }};
    std::optional<ToolBarDrop> nearest;
    int best = INT_MAX;
    for (const auto& [side, distance] : distances) {
        if (!Allows(allowed, side) || distance >= best) {
            continue;
        }
        const std::vector<int>& thickness = rows.On(side);
        int reach = 0;
        std::size_t row = 0;
        while (row < thickness.size() && distance >= reach + thickness[row]) {
            reach += thickness[row];
            ++row;
        }
        if (row < thickness.size() || distance < reach + newRow) {
            best = distance;
            nearest = ToolBarDrop{side, row};
        }
    }
    return nearest;
}
