#pragma once
// Splitter bars between groups of dialog controls: where the bars go, which
// control edges each one moves, and one drag step of a bar. Rectangles are
// in the dialog's client coordinates.
#include <optional>
#include <span>
#include <vector>

#include "pixel_box.h"

namespace split_geometry {

// The control edges a bar moves.
enum Edge : unsigned { kTopEdge = 1, kBottomEdge = 2, kLeftEdge = 4, kRightEdge = 8 };
// The directions a bar may move.
enum Movement : unsigned { kMayMoveDown = 1, kMayMoveUp = 2, kMayMoveLeft = 4, kMayMoveRight = 8 };
// A bar's kind (and its cursor): both vertical directions, both horizontal, both.
enum Kind : unsigned { kHorizontalBar = 3, kVerticalBar = 12, kJunction = 15 };

inline constexpr int kBarThickness = 3;
inline constexpr int kJunctionSize = 6;
inline constexpr int kMinimumGapLength = 10;

using Box = PixelBox;

// A control a bar moves, with the edges it moves.
struct ControlEdges {
    int control = 0;  // index of the control in the caller's list
    unsigned edges = 0;
};

struct Bar {
    Kind kind = kHorizontalBar;
    Box box;  // the bar window's rectangle
    std::vector<ControlEdges> moves;
    // A junction: the vertical and the horizontal bar it joins.
    int joins[2] = {-1, -1};
};

// A control of a group: its index in the caller's list and its rectangle.
struct Control {
    int index = 0;
    Box box;
};
using Group = std::vector<Control>;

// The bars for groups of controls. The groups are cut apart recursively, side
// by side first, then above each other: every empty band across a set of
// groups longer than kMinimumGapLength that has groups on both sides is a
// bar, moving the edges that face it. A junction sits where the first
// vertical bar meets the first horizontal bar beside it and moves both
// bars' edges.
std::vector<Bar> PlaceBars(std::span<const Group> groups);

// The bars' rectangles for the controls' current rectangles (indexed as the
// controls of the groups): each bar stays in the gap between the edges it
// moves, the junction where its two bars cross.
std::vector<Box> BarBoxes(std::span<const Bar> bars, std::span<const Box> controls);

// One drag step of a bar by (dx, dy): the directions the bar may not move
// are dropped; every listed control's edges follow. Refused (nullopt) when
// any control would become empty or inverted, or the bar's new top-left
// would leave the client of clientWidth x clientHeight.
struct Step {
    int dx = 0;
    int dy = 0;
    Box bar;
    std::vector<Box> controls;  // in the order of `controls`
};
std::optional<Step> PlanStep(const Box& bar, unsigned movement, int dx, int dy, int clientWidth, int clientHeight,
                             std::span<const Box> controls, std::span<const unsigned> edges);

}  // namespace split_geometry
