#include <gtest/gtest.h>

#include "cl_arrow.h"
#include "drawing_model.h"
#include "line_figures.h"
#include "selection_editing.h"

namespace {

class SelectionEditingTest : public ::testing::Test {
protected:
    CCLLine& AddLine(PointF a, PointF b) {
        auto line = std::make_unique<CCLLine>();
        line->points[0] = a;
        line->points[1] = b;
        model.Objects().push_back(std::move(line));
        return static_cast<CCLLine&>(*model.Objects().back());
    }
    void Select(CCLObject& o) {
        o.state = CCLObject::kSelectedWhole;
        model.Selection().push_back(&o);
    }

    CDrawingModel model;
    ToolInteraction ui;
};

TEST_F(SelectionEditingTest, RectangleReplacesTheSelectionOrAddsWithCtrl) {
    CCLLine& a = AddLine({10, 10}, {20, 10});
    CCLLine& b = AddLine({60, 60}, {70, 60});
    Select(a);
    ui.moved = 1;
    ASSERT_TRUE(SelectInRect(model, ui, PixelRect{50, 50, 80, 80}, 1.0f));
    EXPECT_EQ(model.Selection(), std::vector<CCLObject*>{&b});
    EXPECT_EQ(a.state, CCLObject::kIdle);
    EXPECT_EQ(ui.moved, 0);

    ui.replaceSelection = 0;  // Ctrl held
    ASSERT_TRUE(SelectInRect(model, ui, PixelRect{0, 0, 80, 80}, 1.0f));
    EXPECT_EQ(model.Selection(), (std::vector<CCLObject*>{&b, &a})) << "each object listed once";

    ui.moved = 1;
    EXPECT_FALSE(SelectInRect(model, ui, PixelRect{100, 100, 120, 120}, 1.0f));
    EXPECT_EQ(model.Selection().size(), 2u);
    EXPECT_EQ(ui.moved, 1);
}

TEST_F(SelectionEditingTest, DraggingMovesFiguresButNotArrowsAndEndsWithAStep) {
    CCLLine& line = AddLine({10, 10}, {20, 10});
    // Figures that would follow the mouse but carry the arrow's and a
    // counter's type: the type alone keeps them in place.
    CCLLine& asArrow = AddLine({40, 40}, {50, 40});
    asArrow.type = CCLArrow::kType;
    CCLLine& asCounter = AddLine({60, 60}, {70, 60});
    asCounter.type = 14;
    Select(line);
    Select(asArrow);
    Select(asCounter);

    EXPECT_FALSE(MoveSelection(model, ui, false, 1.0f)) << "not moving";
    EXPECT_EQ(line.points[0], (PointF{10, 10}));

    ui.moving = 1;
    ui.previous = {10, 10};
    ui.current = {16, 14};
    EXPECT_FALSE(MoveSelection(model, ui, false, 2.0f));
    EXPECT_EQ(line.points[0], (PointF{13, 12}));  // the delta at zoom 2
    EXPECT_EQ(asArrow.points[0], (PointF{40, 40}));
    EXPECT_EQ(asCounter.points[0], (PointF{60, 60}));
    EXPECT_TRUE(MoveSelection(model, ui, true, 2.0f));

    ui.calibrationShown = 1;
    EXPECT_FALSE(MoveSelection(model, ui, true, 2.0f)) << "a calibration line records no step";
}

TEST_F(SelectionEditingTest, NudgingMovesTheLabelOnlyOrTheWholeObject) {
    CCLLine& line = AddLine({10, 10}, {20, 10});
    Select(line);
    ui.nudging = 1;
    const float labelX = line.label.x;
    NudgeSelection(model, ui, {1, 0}, {0, 0}, false, true, 1.0f);
    EXPECT_EQ(line.points[0], (PointF{10, 10}));
    EXPECT_EQ(line.label.x, labelX - 1);
    EXPECT_EQ(line.state, CCLObject::kSelectedWhole);

    NudgeSelection(model, ui, {0, 0}, {0, 1}, false, false, 1.0f);
    EXPECT_EQ(line.points[0], (PointF{10, 11}));
    EXPECT_TRUE(NudgeSelection(model, ui, {}, {}, true, false, 1.0f));
    model.DeselectAll();
    EXPECT_FALSE(NudgeSelection(model, ui, {}, {}, true, false, 1.0f));
}

}  // namespace
