// The counting edit modes driven by mouse messages over a picture with
// known dark targets on white: which pixels of the engine's target mask and
// of the picture change, and which history step each edit leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "history_actions.h"
#include "tools_fixture.h"

namespace {

using namespace tools_testing;

constexpr std::uint8_t kDark = 20;
constexpr std::uint32_t kMarkRed = 0xFF0000;  // mark colour 255 as 0xRRGGBB
constexpr int kWidth = kClientWidth;
constexpr int kHeight = kClientHeight;

// Rectangles in window pixels (the picture fills the window at zoom 1).
struct Box {
    int left, top, right, bottom;  // inclusive
};
constexpr Box kTopTarget{10, 0, 29, 1};        // the top two rows
constexpr Box kBottomTarget{40, 149, 59, 149};  // the bottom row only
constexpr Box kRing{80, 60, 109, 89};
constexpr Box kHole{90, 70, 99, 79};
constexpr Box kBar{130, 30, 189, 49};
constexpr Box kSquare{130, 100, 149, 119};

class CountEditsTest : public ToolsTest {
protected:
    void SetUp() override {
        ToolsTest::SetUp();
        CPicture p(kWidth, kHeight, 24, kPictureBmp);
        for (int y = 0; y < kHeight; ++y) {
            std::fill_n(p.GetBits(y), kWidth * 3, std::uint8_t{255});
        }
        for (const Box& b : {kTopTarget, kBottomTarget, kRing, kBar, kSquare}) {
            Fill(p, b, kDark);
        }
        Fill(p, kHole, 255);
        controller = &OpenPicture(p, 1.0f);
        engine = controller->GetCounter();
        ASSERT_NE(engine, nullptr);
    }

    static void Fill(CPicture& p, const Box& b, std::uint8_t grey) {
        for (int y = b.top; y <= b.bottom; ++y) {
            std::fill_n(p.GetBits(kHeight - 1 - y) + b.left * 3, (b.right - b.left + 1) * 3, grey);
        }
    }
    // The engine's mask and the picture at a window point.
    bool OnMask(int x, int y) {
        return engine->EdgeImage()[static_cast<std::size_t>((kHeight - 1 - y) * kWidth + x)] != 0;
    }
    std::uint32_t PictureAt(int x, int y) {
        const std::uint8_t* p = controller->GetPicture()->GetBits(kHeight - 1 - y) + x * 3;
        return std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
    }
    // The automatic count: every dark target on the mask, no step kept.
    void CountAll() {
        controller->DetectEdges();
        ASSERT_EQ(controller->kinds, std::vector<int>{kHistoryAutoCount});
        controller->kinds.clear();
    }

    RecordingController* controller = nullptr;
    CIMGCount* engine = nullptr;
};

TEST_F(CountEditsTest, AutomaticCountMarksEveryTargetAsOneStep) {
    controller->DetectEdges();
    EXPECT_EQ(controller->kinds, std::vector<int>{kHistoryAutoCount});
    for (const Box& b : {kTopTarget, kBottomTarget, kRing, kBar, kSquare}) {
        EXPECT_TRUE(OnMask(b.left, b.top) && OnMask(b.right, b.bottom)) << b.left << "," << b.top;
        EXPECT_EQ(PictureAt(b.left, b.bottom), kMarkRed) << "outline of the target at " << b.left << "," << b.top;
    }
    EXPECT_FALSE(OnMask(95, 75)) << "the ring's hole";
    EXPECT_EQ(PictureAt(120, 120), 0xFFFFFFu);
    EXPECT_EQ(controller->GetBackBuffer()->GetPixelRGB(kBar.left, kBar.top), kMarkRed) << "shown";
}

TEST_F(CountEditsTest, GrowingFromAPressReachesTheTopAndBottomRows) {
    controller->SetCountEditMode(kCountEditGrow, 3, 1);
    struct Case {
        int x, y;
        std::vector<int> kinds;
        Box grown;
        const char* what;
    };
    const Case cases[] = {
        {15, 0, {kHistorySingleCount}, kTopTarget, "a target on the top row"},
        {45, 149, {kHistorySingleCount}, kBottomTarget, "a target only on the bottom row"},
        {20, 1, {}, kTopTarget, "a target already found"},
    };
    for (const Case& c : cases) {
        controller->kinds.clear();
        Click(c.x, c.y);
        EXPECT_EQ(controller->kinds, c.kinds) << c.what;
        for (int y = c.grown.top; y <= c.grown.bottom; ++y) {
            for (int x = c.grown.left; x <= c.grown.right; ++x) {
                ASSERT_TRUE(OnMask(x, y)) << c.what << " at " << x << "," << y;
            }
        }
        EXPECT_EQ(PictureAt(c.grown.left, c.grown.top), kMarkRed) << c.what;
    }
    // The white around them was not grown.
    EXPECT_FALSE(OnMask(45, 148));
    EXPECT_FALSE(OnMask(15, 2));
    EXPECT_FALSE(OnMask(kBar.left, kBar.top)) << "only what was clicked";
}

TEST_F(CountEditsTest, PenAndEraserDragsAreOneStepEachWhenPixelsChanged) {
    CountAll();
    struct Case {
        int mode, penSize, erase;
        int x0, y0, x1, y1;
        std::vector<int> kinds;
        int checkX, checkY;
        bool onMask;
        std::uint32_t picture;
        const char* what;
    };
    const Case cases[] = {
        {kCountEditPen, 0, 0, 150, 130, 170, 130, {kHistoryCellPen}, 160, 130, true, kMarkRed, "small pen on white"},
        {kCountEditPen, 0, 0, 150, 130, 170, 130, {}, 170, 130, true, kMarkRed, "the same strokes again"},
        {kCountEditEraser, 3, 1, 140, 40, 160, 40, {kHistoryCellEraser}, 143, 43, false, 0x141414,
         "medium eraser through the bar"},
        {kCountEditEraser, 3, 1, 140, 40, 160, 40, {}, 140, 40, false, 0x141414, "erasing where nothing is left"},
        {kCountEditEraser, 5, 1, 5, 120, 25, 120, {}, 15, 120, false, 0xFFFFFF, "large eraser on white"},
    };
    for (const Case& c : cases) {
        controller->SetCountEditMode(c.mode, c.penSize, c.erase);
        controller->kinds.clear();
        Drag(c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(controller->kinds, c.kinds) << c.what;
        EXPECT_EQ(OnMask(c.checkX, c.checkY), c.onMask) << c.what;
        EXPECT_EQ(PictureAt(c.checkX, c.checkY), c.picture) << c.what;
        EXPECT_EQ(controller->GetCountEditState().pixelsChanged, 0) << c.what;
    }
    // The eraser's square reached three pixels about each point, no further.
    EXPECT_TRUE(OnMask(140, 36));
    EXPECT_FALSE(OnMask(140, 37));
}

TEST_F(CountEditsTest, DeletingAndSplittingAreStepsOnlyWhenTheyMetATarget) {
    CountAll();
    controller->SetCountEditMode(kCountEditDelete, 3, 1);
    Click(140, 110);
    EXPECT_EQ(controller->kinds, std::vector<int>{kHistoryDeleteCell});
    EXPECT_FALSE(OnMask(kSquare.left, kSquare.top));
    EXPECT_FALSE(OnMask(kSquare.right, kSquare.bottom));
    EXPECT_EQ(PictureAt(kSquare.left, kSquare.top), 0x141414u) << "its outline is gone";
    EXPECT_TRUE(OnMask(kBar.left, kBar.top)) << "the others stay";
    controller->kinds.clear();
    Click(5, 120);
    EXPECT_TRUE(controller->kinds.empty()) << "a press on white";

    controller->SetCountEditMode(kCountEditSplit, 3, 1);
    controller->kinds.clear();
    Drag(160, 20, 160, 60);
    EXPECT_EQ(controller->kinds, std::vector<int>{kHistorySplitCells});
    for (int y = kBar.top; y <= kBar.bottom; ++y) {
        ASSERT_FALSE(OnMask(160, y)) << "cut at row " << y;
    }
    EXPECT_TRUE(OnMask(159, 40));
    EXPECT_EQ(PictureAt(159, 40), kMarkRed) << "the new edge is marked";
    engine->RefCountsResultList();
    EXPECT_EQ(engine->getObjectVector().size(), 5u) << "the bar is two targets";
    controller->kinds.clear();
    Drag(20, 100, 60, 100);
    EXPECT_TRUE(controller->kinds.empty()) << "a line over white";
}

TEST_F(CountEditsTest, FillingHolesIsAStepOnlyWhenOneWasFilled) {
    CountAll();
    ASSERT_EQ(PictureAt(kHole.left - 1, kHole.top), kMarkRed);
    controller->FillHoles();
    EXPECT_EQ(controller->kinds, std::vector<int>{kHistoryFillHoles});
    EXPECT_TRUE(OnMask(95, 75));
    EXPECT_EQ(PictureAt(kHole.left - 1, kHole.top), 0x141414u) << "the ring about the hole is no outline any more";
    controller->kinds.clear();
    controller->FillHoles();
    EXPECT_TRUE(controller->kinds.empty());
}

TEST_F(CountEditsTest, ChoosingAToolEndsTheCountingMode) {
    CountAll();
    controller->SetCountEditMode(kCountEditDelete, 3, 1);
    controller->SetTool(2);
    controller->SetSelectMode();
    Click(140, 110);
    EXPECT_TRUE(controller->kinds.empty());
    EXPECT_TRUE(OnMask(140, 110));
    EXPECT_EQ(controller->GetCountEditState().mode, kCountEditNone);
}

}  // namespace
