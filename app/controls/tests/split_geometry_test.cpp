#include <gtest/gtest.h>

#include <algorithm>

#include "split_geometry.h"

namespace {

using namespace split_geometry;

// Like the count results dialog: a group on the left (a frame with a list
// inside), three frames stacked on the right.
std::vector<Group> CountResultsGroups() {
    return {
        {{0, {10, 10, 200, 300}}, {1, {20, 30, 190, 290}}},
        {{2, {220, 10, 400, 90}}},
        {{3, {220, 110, 400, 190}}},
        {{4, {220, 210, 400, 300}}},
    };
}

unsigned EdgesOf(const Bar& bar, int control) {
    auto it =
        std::find_if(bar.moves.begin(), bar.moves.end(), [&](const ControlEdges& e) { return e.control == control; });
    return it == bar.moves.end() ? 0u : it->edges;
}

TEST(SplitBars, OneBarInEveryGapAndAJunction) {
    const std::vector<Group> groups = CountResultsGroups();
    const std::vector<Bar> bars = PlaceBars(groups);
    ASSERT_EQ(bars.size(), 4u);

    const Bar& vertical = bars[0];
    EXPECT_EQ(vertical.kind, kVerticalBar);
    EXPECT_EQ(vertical.box, (Box{209, 10, 212, 300}));
    EXPECT_EQ(EdgesOf(vertical, 0), kRightEdge);
    EXPECT_EQ(EdgesOf(vertical, 1), 0u);  // inside its frame: the edge does not face the gap
    for (int c : {2, 3, 4}) EXPECT_EQ(EdgesOf(vertical, c), kLeftEdge) << c;

    const Bar& upper = bars[1];
    EXPECT_EQ(upper.kind, kHorizontalBar);
    EXPECT_EQ(upper.box, (Box{220, 99, 400, 102}));
    EXPECT_EQ(EdgesOf(upper, 2), kBottomEdge);
    EXPECT_EQ(EdgesOf(upper, 3), kTopEdge);
    EXPECT_EQ(EdgesOf(upper, 4), 0u);

    const Bar& lower = bars[2];
    EXPECT_EQ(lower.box, (Box{220, 199, 400, 202}));
    EXPECT_EQ(EdgesOf(lower, 3), kBottomEdge);
    EXPECT_EQ(EdgesOf(lower, 4), kTopEdge);

    const Bar& junction = bars[3];
    EXPECT_EQ(junction.kind, kJunction);
    EXPECT_EQ(junction.box, (Box{207, 97, 213, 103}));
    EXPECT_EQ(EdgesOf(junction, 0), kRightEdge);
    EXPECT_EQ(EdgesOf(junction, 2), kLeftEdge | kBottomEdge);
    EXPECT_EQ(EdgesOf(junction, 3), kLeftEdge | kTopEdge);
    EXPECT_EQ(EdgesOf(junction, 4), kLeftEdge);
}

TEST(SplitBars, NoBarsWithoutGapsOrForShortGaps) {
    // Overlapping groups leave no empty band.
    const std::vector<Group> overlapping = {{{0, {10, 10, 100, 100}}}, {{1, {90, 50, 200, 150}}}};
    EXPECT_TRUE(PlaceBars(overlapping).empty());
    // Side by side but only 8 pixels tall: too short for a bar.
    const std::vector<Group> flat = {{{0, {10, 10, 100, 18}}}, {{1, {110, 10, 200, 18}}}};
    EXPECT_TRUE(PlaceBars(flat).empty());
    EXPECT_TRUE(PlaceBars(std::vector<Group>{{{0, {10, 10, 100, 100}}}}).empty());
}

TEST(SplitStep, EdgesFollowInTheDirectionsTheBarMayMove) {
    const Box bar{209, 10, 212, 300};
    const Box controls[] = {{10, 10, 200, 300}, {220, 10, 400, 90}, {220, 110, 400, 190}};
    const unsigned edges[] = {kRightEdge, kLeftEdge | kBottomEdge, kLeftEdge | kTopEdge};
    const struct {
        unsigned movement;
        int dx;
        int dy;
        int movedX;
        int movedY;
    } cases[] = {
        {kVerticalBar, 15, 7, 15, 0},    {kVerticalBar, -15, 7, -15, 0}, {kHorizontalBar, 15, 7, 0, 7},
        {kHorizontalBar, 15, -7, 0, -7}, {kJunction, -4, -6, -4, -6},    {kMayMoveRight, -4, 0, 0, 0},
        {kMayMoveDown, 0, -6, 0, 0},
    };
    for (const auto& c : cases) {
        const auto step = PlanStep(bar, c.movement, c.dx, c.dy, 500, 400, controls, edges);
        ASSERT_TRUE(step) << c.movement << " " << c.dx << "," << c.dy;
        EXPECT_EQ(step->dx, c.movedX);
        EXPECT_EQ(step->dy, c.movedY);
        EXPECT_EQ(step->bar, (Box{209 + c.movedX, 10 + c.movedY, 212 + c.movedX, 300 + c.movedY}));
        EXPECT_EQ(step->controls[0], (Box{10, 10, 200 + c.movedX, 300}));
        EXPECT_EQ(step->controls[1], (Box{220 + c.movedX, 10, 400, 90 + c.movedY}));
        EXPECT_EQ(step->controls[2], (Box{220 + c.movedX, 110 + c.movedY, 400, 190}));
    }
}

TEST(SplitStep, RefusesEmptyControlsAndBarsLeavingTheClient) {
    const Box bar{209, 10, 212, 300};
    const Box controls[] = {{10, 10, 200, 300}, {220, 10, 400, 90}};
    const unsigned edges[] = {kRightEdge, kLeftEdge};
    EXPECT_TRUE(PlanStep(bar, kVerticalBar, 179, 0, 500, 400, controls, edges));
    EXPECT_FALSE(PlanStep(bar, kVerticalBar, 180, 0, 500, 400, controls, edges));   // right control empty
    EXPECT_FALSE(PlanStep(bar, kVerticalBar, -190, 0, 500, 400, controls, edges));  // left control empty
    // The bar's left reaching the client edge.
    const Box wide[] = {{-100, 10, 200, 300}, {220, 10, 900, 90}};
    EXPECT_FALSE(PlanStep(bar, kVerticalBar, -209, 0, 500, 400, wide, edges));
    EXPECT_TRUE(PlanStep(bar, kVerticalBar, -208, 0, 500, 400, wide, edges));
    EXPECT_FALSE(PlanStep(bar, kVerticalBar, 291, 0, 500, 400, wide, edges));
    EXPECT_FALSE(PlanStep(Box{209, 10, 212, 13}, kHorizontalBar, 0, -10, 500, 400, {}, {}));
}

}  // namespace

namespace {

TEST(SplitBars, BarsStayInTheirGapsAsTheEdgesMove) {
    const std::vector<Group> groups = CountResultsGroups();
    const std::vector<Bar> bars = PlaceBars(groups);
    std::vector<Box> controls(5);
    for (const Group& g : groups) {
        for (const Control& c : g) controls[static_cast<std::size_t>(c.index)] = c.box;
    }
    std::vector<Box> placed = BarBoxes(bars, controls);
    for (std::size_t i = 0; i < bars.size(); ++i) EXPECT_EQ(placed[i], bars[i].box) << i;

    // The frame's right edge and the right column's left edges 30 further
    // right; the list inside the frame now reaches past the frame's old edge.
    controls[0].right += 30;
    controls[1].right += 35;
    for (int c : {2, 3, 4}) controls[static_cast<std::size_t>(c)].left += 30;
    controls[2].bottom += 8;
    controls[3].top += 8;
    placed = BarBoxes(bars, controls);
    EXPECT_EQ(placed[0], (Box{239, 10, 242, 300}));
    EXPECT_EQ(placed[1], (Box{250, 107, 400, 110}));
    EXPECT_EQ(placed[2], (Box{250, 199, 400, 202}));
    EXPECT_EQ(placed[3], (Box{237, 105, 243, 111}));
}

}  // namespace
