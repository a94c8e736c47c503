// The drawing tools and the selection driven by real mouse and key messages
// posted to a window that hosts the controller.
#include "annotations_resource.h"
#include "cl_count.h"
#include "history_actions.h"
#include "ini_profile.h"
#include "tools_fixture.h"

namespace {

using namespace tools_testing;

struct ToolCase {
    int tool;
    std::vector<POINT> clicks;  // curves and polygons end on a double click
    std::function<void(const CCLObject&)> check;
};

TEST_F(ToolsTest, EveryToolCreatesItsKindByMouse) {
    const std::vector<ToolCase> cases = {
        {2, {{10, 10}, {40, 50}}, [](const CCLObject& o) { EXPECT_FLOAT_EQ(o.results[CCLObject::kLength], 50.0f); }},
        {3, {{40, 20}, {20, 20}, {20, 60}}, [](const CCLObject& o) { EXPECT_EQ(o.results[CCLObject::kAngle], 90.0f); }},
        {4,
         {{50, 0}, {50, 100}, {0, 30}, {100, 30}},
         [](const CCLObject& o) { EXPECT_EQ(o.results[CCLObject::kAngle], 90.0f); }},
        {5,
         {{10, 10}, {90, 10}, {50, 34}},
         [](const CCLObject& o) { EXPECT_FLOAT_EQ(o.results[CCLObject::kDistance], 24.0f); }},
        {6, {{10, 10}, {40, 30}}, [](const CCLObject& o) { EXPECT_EQ(o.results[CCLObject::kArea], 600.0f); }},
        {7, {{50, 50}, {60, 50}}, [](const CCLObject& o) { EXPECT_FLOAT_EQ(o.results[CCLObject::kArea], 314.15927f); }},
        {8, {{20, 50}, {60, 50}}, [](const CCLObject& o) { EXPECT_FLOAT_EQ(o.results[CCLObject::kRadius], 20.0f); }},
        {9,
         {{30, 50}, {50, 70}, {70, 50}},
         [](const CCLObject& o) { EXPECT_FLOAT_EQ(o.results[CCLObject::kRadius], 20.0f); }},
        {10, {{10, 10}, {50, 30}}, [](const CCLObject& o) { EXPECT_EQ(o.results[CCLObject::kWidth], 40.0f); }},
        {11,
         {{0, 0}, {6, 8}, {6, 20}},
         [](const CCLObject& o) { EXPECT_FLOAT_EQ(o.results[CCLObject::kLength], 22.0f); }},
        {12,
         {{10, 10}, {20, 10}, {20, 20}, {10, 20}},
         [](const CCLObject& o) { EXPECT_EQ(o.results[CCLObject::kArea], 100.0f); }},
    };
    for (const ToolCase& c : cases) {
        RecordingController& ctl = Open(100, 75, 2.0f);  // clicks in image pixels, sent at twice that
        ctl.SetTool(c.tool);
        const bool polyline = c.tool == 11 || c.tool == 12;
        for (std::size_t i = 0; i < c.clicks.size(); ++i) {
            const int x = c.clicks[i].x * 2;
            const int y = c.clicks[i].y * 2;
            if (i > 0) {
                MoveTo((x + c.clicks[i - 1].x * 2) / 2, (y + c.clicks[i - 1].y * 2) / 2);
            }
            if (polyline && i + 1 == c.clicks.size()) {
                DoubleClick(x, y);
            } else {
                Click(x, y);
            }
            if (i + 1 < c.clicks.size()) {
                EXPECT_TRUE(ctl.GetObjectList()->empty()) << c.tool << " after click " << i;
            }
        }
        ASSERT_EQ(ctl.GetObjectList()->size(), 1u) << c.tool;
        const CCLObject& o = *ctl.GetObjectList()->front();
        EXPECT_EQ(o.type, c.tool);
        EXPECT_EQ(o.number, 1) << c.tool;
        c.check(o);
        EXPECT_EQ(ctl.GetInteraction().step, 0);
        EXPECT_EQ(ctl.GetInteraction().tool, c.tool);  // the tool stays chosen
        EXPECT_EQ(ctl.kinds, std::vector<int>{1}) << c.tool;
    }
    EXPECT_EQ(host_.HistoryNotices(), static_cast<int>(cases.size()));
}

TEST_F(ToolsTest, ObjectsOfATypeAreNumberedInTurn) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    DrawLine(10, 10, 50, 10);
    DrawLine(10, 30, 50, 30);
    ctl.SetTool(6);
    Click(60, 60);
    Click(90, 90);
    const auto& list = *ctl.GetObjectList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->number, 1);
    EXPECT_EQ(list[1]->number, 2);
    EXPECT_EQ(list[2]->number, 1);
    // The line is on the picture, in the drawing colour.
    EXPECT_EQ(ctl.GetBackBuffer()->GetPixelRGB(30, 30), 0u);
}

TEST_F(ToolsTest, CalibrationLineIsShownNotListed) {
    RecordingController& ctl = Open(100, 75, 2.0f);
    ctl.SetTool(1);
    Click(20, 20);
    Click(20, 20);  // no length: refused
    MoveTo(80, 100);
    Click(80, 100);
    EXPECT_TRUE(ctl.GetObjectList()->empty());
    EXPECT_TRUE(ctl.kinds.empty());
    EXPECT_EQ(ctl.GetInteraction().calibrationShown, 1);
    EXPECT_EQ(ctl.GetInteraction().tool, 0);
    ASSERT_EQ(ctl.GetSelection().size(), 1u);
    EXPECT_EQ(ctl.GetSelection()[0], &ctl.GetCalibrationLine());
    EXPECT_FLOAT_EQ(ctl.GetCalibrationLine().results[CCLObject::kLength], 100.0f);  // view pixels
    // Esc hides it again.
    Key(VK_ESCAPE);
    EXPECT_EQ(ctl.GetInteraction().calibrationShown, 0);
}

// Space over a shown calibration line asks the host for the calibration of
// the line's length in picture pixels; a confirmed one calibrates the
// controller.
TEST_F(ToolsTest, SpaceCalibratesFromTheShownLine) {
    RecordingController& ctl = Open(100, 75, 2.0f);
    ctl.SetTool(1);
    Click(20, 20);
    MoveTo(80, 100);
    Click(80, 100);  // 100 view pixels at zoom 2
    ASSERT_EQ(ctl.GetInteraction().calibrationShown, 1);

    host_.calibrations.push_back(CalibrationChoice{0.5f, u"\u03bcm"});
    Key(VK_SPACE);
    ASSERT_EQ(host_.calibrationAsked.size(), 1u);
    EXPECT_FLOAT_EQ(host_.calibrationAsked[0].pixelLength, 50.0f);
    EXPECT_EQ(host_.calibrationAsked[0].pictureWidth, 100);
    EXPECT_EQ(host_.calibrationAsked[0].pictureHeight, 75);
    EXPECT_FLOAT_EQ(ctl.scale, 0.5f);
    EXPECT_EQ(ctl.GetInteraction().calibrationShown, 0);
    EXPECT_TRUE(ctl.GetSelection().empty());

    // Without a shown line, Space does nothing.
    Key(VK_SPACE);
    EXPECT_FLOAT_EQ(ctl.scale, 0.5f);
    EXPECT_EQ(host_.calibrationAsked.size(), 1u);
}

TEST_F(ToolsTest, RightClickAbandonsTheObjectInProgress) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    ctl.SetTool(12);
    Click(10, 10);
    Click(60, 10);
    EXPECT_EQ(ctl.GetInteraction().step, 1);
    Post(WM_RBUTTONDOWN, MK_RBUTTON, 60, 60);
    EXPECT_EQ(ctl.GetInteraction().step, 0);
    Click(100, 100);  // a new polygon starts
    DoubleClick(100, 100);
    EXPECT_TRUE(ctl.GetObjectList()->empty());
    EXPECT_TRUE(ctl.kinds.empty());
}

TEST_F(ToolsTest, ClickSelectsAndDraggingMovesBodyHandleAndLabel) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    CCLLine& line = DrawLine(20, 20, 80, 20);
    ctl.SetSelectMode();
    ctl.kinds.clear();

    // Hovering shows what would be grabbed without selecting.
    MoveTo(50, 20);
    EXPECT_EQ(ctl.GetInteraction().hoveredPart, CCLObject::kBodyActive);
    EXPECT_TRUE(ctl.GetSelection().empty());
    EXPECT_EQ(line.state, CCLObject::kIdle);

    // The body: points move, the length and the label stay.
    const float labelX = line.label.x;
    Drag(50, 20, 60, 10);
    ASSERT_EQ(ctl.GetSelection().size(), 1u);
    EXPECT_EQ(line.state, CCLObject::kBodyActive);
    EXPECT_EQ(line.points[0], (PointF{30, 10}));
    EXPECT_EQ(line.points[1], (PointF{90, 10}));
    EXPECT_FLOAT_EQ(line.results[CCLObject::kLength], 60.0f);
    EXPECT_EQ(line.label.x, labelX);
    EXPECT_EQ(ctl.kinds, std::vector<int>{3});

    // A handle: the length follows.
    Drag(90, 10, 110, 10);
    EXPECT_EQ(line.state, CCLObject::kHandleActive);
    EXPECT_EQ(line.activeHandle, 2);
    EXPECT_EQ(line.points[1], (PointF{110, 10}));
    EXPECT_FLOAT_EQ(line.results[CCLObject::kLength], 80.0f);

    // The label alone.
    ASSERT_GT(line.label.width, 0);
    const int lx = static_cast<int>(line.label.x) + 2;
    const int ly = static_cast<int>(line.label.y) + 2;
    Drag(lx, ly, lx + 15, ly + 10);
    EXPECT_EQ(line.state, CCLObject::kLabelActive);
    EXPECT_EQ(line.label.x, labelX + 15);
    EXPECT_EQ(line.points[0], (PointF{30, 10}));
    EXPECT_EQ(ctl.kinds, (std::vector<int>{3, 3, 3}));

    // A click that moves nothing records nothing.
    Click(70, 10);
    EXPECT_EQ(line.state, CCLObject::kBodyActive);
    EXPECT_EQ(ctl.kinds.size(), 3u);
}

TEST_F(ToolsTest, RubberBandSelectsWholeObjectsThatMoveTogether) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    CCLLine& first = DrawLine(20, 20, 60, 20);
    CCLLine& second = DrawLine(20, 60, 60, 60);
    ctl.SetTool(7);
    Click(150, 100);
    Click(160, 100);
    ctl.SetSelectMode();
    ctl.kinds.clear();

    Drag(10, 10, 70, 70);  // around both lines, not the circle
    ASSERT_EQ(ctl.GetSelection().size(), 2u);
    EXPECT_EQ(first.state, CCLObject::kSelectedWhole);
    EXPECT_EQ(second.state, CCLObject::kSelectedWhole);
    EXPECT_EQ(ctl.GetObjectList()->back()->state, CCLObject::kIdle);
    EXPECT_TRUE(ctl.kinds.empty());

    // Dragging one moves both, with their labels.
    const float labelX = second.label.x;
    Drag(40, 20, 45, 25);
    EXPECT_EQ(first.points[0], (PointF{25, 25}));
    EXPECT_EQ(second.points[0], (PointF{25, 65}));
    EXPECT_EQ(second.label.x, labelX + 5);
    EXPECT_EQ(ctl.kinds, std::vector<int>{3});

    // Keys with two selected move the objects; one history step per press.
    Key(VK_RIGHT);
    Key('S');
    EXPECT_EQ(first.points[0], (PointF{26, 26}));
    EXPECT_EQ(second.points[1], (PointF{66, 66}));
    EXPECT_EQ(ctl.kinds, (std::vector<int>{3, 3, 3}));
}

TEST_F(ToolsTest, ArrowsMoveOnlyTheLabelOfASingleSelection) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    CCLLine& line = DrawLine(20, 20, 60, 20);
    ctl.SetSelectMode();
    Click(40, 20);
    ctl.kinds.clear();
    const float labelX = line.label.x;
    Post(WM_KEYDOWN, VK_LEFT, 0, 0);
    Post(WM_KEYDOWN, VK_LEFT, 0, 0);  // auto-repeat
    Post(WM_KEYUP, VK_LEFT, 0, 0);
    EXPECT_EQ(line.label.x, labelX - 2);
    EXPECT_EQ(line.points[0], (PointF{20, 20}));
    EXPECT_EQ(line.state, CCLObject::kBodyActive);
    EXPECT_EQ(ctl.kinds, std::vector<int>{3});
    // A and D move the figure itself.
    Key('D');
    EXPECT_EQ(line.points[0], (PointF{21, 20}));
    // Q and E cycle the active handle.
    Key('Q');
    EXPECT_EQ(line.state, CCLObject::kHandleActive);
    EXPECT_EQ(line.activeHandle, 1);
    Key('E');
    Key('E');
    EXPECT_EQ(line.activeHandle, 2);
}

TEST_F(ToolsTest, DeleteRemovesAndRenumbers) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    DrawLine(20, 20, 60, 20);
    DrawLine(20, 60, 60, 60);
    CCLLine& third = DrawLine(20, 100, 60, 100);
    ctl.SetSelectMode();
    Click(40, 20);
    ctl.kinds.clear();
    Key(VK_DELETE);
    ASSERT_EQ(ctl.GetObjectList()->size(), 2u);
    EXPECT_TRUE(ctl.GetSelection().empty());
    EXPECT_EQ(third.number, 2);
    EXPECT_EQ(ctl.GetTypeCounters().Get(2), 2);
    EXPECT_EQ(ctl.kinds, std::vector<int>{2});
    // Nothing selected: nothing deleted, no step.
    Key(VK_DELETE);
    EXPECT_EQ(ctl.GetObjectList()->size(), 2u);
    EXPECT_EQ(ctl.kinds.size(), 1u);
    // The next line continues the numbering.
    EXPECT_EQ(DrawLine(100, 20, 150, 20).number, 3);
}

TEST_F(ToolsTest, TrackPointsFollowZoomCentringAndScroll) {
    // 40 x 30 at zoom 2 is centred at (60, 45) in the 200 x 150 client.
    RecordingController& ctl = Open(40, 30, 2.0f);
    CCLLine& line = DrawLine(70, 55, 130, 55);
    EXPECT_EQ(line.points[0], (PointF{5, 5}));
    EXPECT_EQ(line.points[1], (PointF{35, 5}));
    // Clicks beyond the picture land on its edge.
    CCLLine& clamped = DrawLine(10, 55, 190, 140);
    EXPECT_EQ(clamped.points[0], (PointF{0, 5}));
    EXPECT_EQ(clamped.points[1], (PointF{40, 30}));
    (void)ctl;
}

// The hovered object is painted in its hit state, which it leaves again.
TEST_F(ToolsTest, HoveringHighlightsTheObjectUnderTheMouse) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    CCLLine& line = DrawLine(20, 60, 180, 60);
    ctl.SetSelectMode();
    ctl.Render(0);
    const auto pixel = [&] { return ctl.GetBackBuffer()->GetPixelRGB(40, 60); };
    EXPECT_EQ(pixel(), 0x000000u);
    MoveTo(100, 60);
    EXPECT_EQ(pixel(), 0xC80000u) << "drawn in the selected colour";
    EXPECT_EQ(line.state, CCLObject::kIdle);
    EXPECT_TRUE(ctl.GetSelection().empty());
    MoveTo(100, 120);
    EXPECT_EQ(pixel(), 0x000000u);
}

// The counting grid stays on screen while an object is drawn.
TEST_F(ToolsTest, CountingGridStaysWhileDrawing) {
    IniProfile scale((dir_ / "scale.ini").wstring());
    scale.Write(u"scl_0", u"GridW", u"10.000000");
    scale.Write(u"scl_0", u"GridH", u"10.000000");
    scale.Write(u"scl_0", u"Value", u"1.000000");
    scale.Write(u"scl_0", u"GColor", u"255");
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    ctl.SetScaleIniPath((dir_ / "scale.ini").wstring());
    host_.selectedCalibration = 0;
    ctl.LoadCalibration();
    ctl.ShowCountingGrid(1);
    ctl.SetTool(2);
    Click(20, 20);
    MoveTo(150, 120);
    ASSERT_GT(ctl.GetInteraction().step, 0);
    EXPECT_EQ(ctl.GetBackBuffer()->GetPixelRGB(30, 65), 0xFF0000u);
    EXPECT_EQ(ctl.GetBackBuffer()->GetPixelRGB(65, 90), 0xFF0000u);
    EXPECT_EQ(ctl.GetBackBuffer()->GetPixelRGB(65, 95), 0xFFFFFFu);
}

// Opening the picture again starts without a tool, object, band or drag.
TEST_F(ToolsTest, OpeningAgainResetsTheInteraction) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    DrawLine(20, 20, 80, 20);
    ctl.SetTool(12);
    Click(30, 60);
    Click(90, 60);
    Post(WM_KEYDOWN, VK_LEFT, 0, 0);
    ASSERT_GT(ctl.GetInteraction().step, 0);
    ASSERT_EQ(ctl.GetInteraction().nudging, 1);
    ctl.OpenPicture();
    EXPECT_EQ(ctl.GetInteraction().tool, 0);
    EXPECT_EQ(ctl.GetInteraction().step, 0);
    EXPECT_EQ(ctl.GetInteraction().nudging, 0);

    ctl.SetSelectMode();
    Down(50, 20);  // grabs the line
    ASSERT_EQ(ctl.GetInteraction().moving, 1);
    ctl.OpenPicture();
    EXPECT_EQ(ctl.GetInteraction().moving, 0);
    Up(50, 20);

    Down(150, 120);  // starts a rubber band
    MoveTo(180, 140, true);
    ASSERT_EQ(ctl.GetInteraction().bandActive, 1);
    ctl.OpenPicture();
    EXPECT_EQ(ctl.GetInteraction().bandActive, 0);
    EXPECT_EQ(ctl.GetInteraction().bandTo.x, 0);
    EXPECT_EQ(ctl.GetInteraction().bandTo.y, 0);
}

// New objects take the style the settings give, and counters and history
// steps are named in the host's language.
TEST_F(ToolsTest, NewObjectsTakeTheSettingsStyleAndTheHostsTexts) {
    RecordingController& ctl = Open(kClientWidth, kClientHeight, 1.0f);
    host_.texts = {{IDS_COUNTER_CIRCLE, u"Round counter"}, {45004, u"Create"}};
    ctl.drawColour = RGB(0, 0, 255);
    ctl.lineWidth = 3;
    ctl.labelMode = CCLObject::kLabelNameOnly;
    CCLLine& line = DrawLine(20, 20, 80, 20);
    EXPECT_EQ(line.drawColour, static_cast<ColourRef>(RGB(0, 0, 255)));
    EXPECT_EQ(line.lineWidth, 3);
    EXPECT_EQ(line.labelMode, CCLObject::kLabelNameOnly);
    EXPECT_EQ(ctl.GetBackBuffer()->GetPixelRGB(35, 20), 0x0000FFu);

    ctl.SetTool(14);
    Click(100, 100);
    ASSERT_EQ(ctl.GetObjectList()->size(), 2u);
    EXPECT_EQ(dynamic_cast<const CCL_Count&>(*ctl.GetObjectList()->back()).name, u"Round counter");
    const auto undo = ctl.GetHistoryStore().UndoList();
    ASSERT_EQ(undo.size(), 2u);
    EXPECT_EQ(undo[0]->description, u"Create");
    EXPECT_EQ(undo[1]->description, u"Create");
}

}  // namespace
