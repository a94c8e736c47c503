// Where a dragged bar docks, and the sizes a dragged edge gives.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "dock_layout.h"

namespace {

const DockArea kArea{0, 30, 800, 570};

TEST(DockLayoutTest, ABarDocksOnTheNearestAllowedSideOrFloatsOutside) {
    struct Case {
        const char* name;
        DockPoint point;
        DockSides allowed;
        std::optional<DockSide> side;
    };
    const std::vector<Case> cases{
        {"near the left edge", {10, 300}, kDockAny, DockSide::left},
        {"near the right edge", {790, 300}, kDockAny, DockSide::right},
        {"near the top", {400, 40}, kDockAny, DockSide::top},
        {"near the bottom", {400, 560}, kDockAny, DockSide::bottom},
        {"last column is still inside", {799, 300}, kDockAny, DockSide::right},
        {"right not allowed: the nearest allowed", {790, 300}, DockSidesOf(DockSide::left), DockSide::left},
        {"left of the area floats", {-1, 300}, kDockAny, std::nullopt},
        {"above the area floats", {400, 29}, kDockAny, std::nullopt},
        {"past the right end floats", {800, 300}, kDockAny, std::nullopt},
        {"no side allowed floats", {10, 300}, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DropSide(c.point, kArea, c.allowed), c.side) << c.name;
    }
}

TEST(DockLayoutTest, AToolBarJoinsTheRowItIsOverOrStartsOneBeyondOrFloats) {
    // Two rows at the top (26 and 30 high), one column on the left (24).
    const ToolBarRows rows{{26, 30}, {}, {24}, {}};
    struct Case {
        const char* name;
        DockPoint point;
        DockSides allowed;
        std::optional<ToolBarDrop> drop;
    };
    const std::vector<Case> cases{
        {"over the first top row", {400, 40}, kDockAny, ToolBarDrop{DockSide::top, 0}},
        {"over the second top row", {400, 60}, kDockAny, ToolBarDrop{DockSide::top, 1}},
        {"just beyond the top rows", {400, 100}, kDockAny, ToolBarDrop{DockSide::top, 2}},
        {"too far below the top rows", {400, 120}, kDockAny, std::nullopt},
        {"at the empty bottom", {400, 560}, kDockAny, ToolBarDrop{DockSide::bottom, 0}},
        {"beyond the left column", {30, 300}, kDockAny, ToolBarDrop{DockSide::left, 1}},
        {"at the right edge", {795, 300}, kDockAny, ToolBarDrop{DockSide::right, 0}},
        {"corner: the nearer edge", {5, 40}, kDockAny, ToolBarDrop{DockSide::left, 0}},
        {"right not allowed floats", {795, 300}, DockSidesOf(DockSide::top), std::nullopt},
        {"the middle floats", {400, 300}, kDockAny, std::nullopt},
        {"outside the frame floats", {-5, 300}, kDockAny, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToolBarDropPlace(c.point, kArea, c.allowed, rows, 28), c.drop) << c.name;
    }
}

TEST(DockLayoutTest, ADraggedEdgeSizesTheBarWithinTheRoom) {
    struct Case {
        const char* name;
        DockSide side;
        int edge;
        int extent;
    };
    const std::vector<Case> cases{
        {"left bar widened", DockSide::left, 300, 300},
        {"right bar widened", DockSide::right, 500, 300},
        {"top bar lowered", DockSide::top, 130, 100},
        {"bottom bar raised", DockSide::bottom, 370, 200},
        {"not below the least", DockSide::left, 5, kMinDockExtent},
        {"past its own side", DockSide::bottom, 600, kMinDockExtent},
        {"leaves the middle room", DockSide::left, 790, 800 - kMinDockExtent},
        {"leaves the middle room upwards", DockSide::bottom, 0, 540 - kMinDockExtent},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DraggedExtent(c.side, c.edge, kArea), c.extent) << c.name;
    }
}

TEST(DockLayoutTest, ARoomTooSmallStillGivesTheLeastExtent) {
    EXPECT_EQ(DraggedExtent(DockSide::left, 50, DockArea{0, 0, 60, 100}), kMinDockExtent);
}

}  // namespace
