// Command routing through frame, view, document and application, and the
// docking layout: bars take their side's room only while shown, and move,
// float and resize when the mouse drags them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "doc_template.h"
#include "docking_frame.h"
#include "posted_drag.h"

namespace {

std::vector<std::string> g_ran;

class TestApplication : public CApplication {
public:
    TestApplication() {
        OnCommand(1, [] { g_ran.push_back("app"); });
        OnCommand(4, [] { g_ran.push_back("app"); });
    }

protected:
    bool InitInstance() override { return false; }
};

class TestDocument : public CDocument {
public:
    TestDocument() {
        OnCommand(1, [] { g_ran.push_back("document"); });
        OnCommand(3, [] { g_ran.push_back("document"); });
    }
};

class TestView : public CViewWindow {
public:
    TestView() {
        OnCommand(1, [] { g_ran.push_back("view"); });
        OnCommand(2, [] { g_ran.push_back("view"); });
        OnUpdateCommand(2, [](CCommandState& state) { state.SetCheck(true); });
    }
};

class TestFrame : public CDockingFrame {
public:
    TestFrame() {
        OnCommand(1, [] { g_ran.push_back("frame"); });
    }

    CDockingBar left;
    CDockingBar bottom;

protected:
    int OnCreate() override {
        if (CDockingFrame::OnCreate() == -1 || !left.Create(L"Left", m_hWnd, 10) ||
            !bottom.Create(L"Bottom", m_hWnd, 11)) {
            return -1;
        }
        EnableDocking(kDockAny);
        left.EnableDocking(DockSidesOf(DockSide::left));
        return 0;
    }
};

class DockingFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_ran.clear();
        frame_ = static_cast<TestFrame*>(docTemplate_.NewDocument());
        ASSERT_NE(frame_, nullptr);
        MoveWindow(frame_->GetSafeHwnd(), 0, 0, 800, 600, FALSE);
        ShowWindow(frame_->GetSafeHwnd(), SW_SHOWNA);
        frame_->RecalcLayout();
    }

    RECT ViewRect() const {
        RECT rect{};
        GetWindowRect(frame_->GetActiveView()->GetSafeHwnd(), &rect);
        MapWindowPoints(nullptr, frame_->GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    TestApplication application_;
    CSingleDocTemplate docTemplate_{0, [] { return std::make_unique<TestDocument>(); },
                                    [] { return std::make_unique<TestFrame>(); },
                                    [] { return std::make_unique<TestView>(); }};
    TestFrame* frame_ = nullptr;
};

TEST_F(DockingFrameTest, CommandGoesToTheFirstTargetOnTheRouteThatHasIt) {
    struct Case {
        UINT id;
        const char* target;
    };
    for (auto [id, target] : {Case{1, "frame"}, Case{2, "view"}, Case{3, "document"}, Case{4, "app"}}) {
        g_ran.clear();
        EXPECT_TRUE(frame_->RouteCommand(id));
        EXPECT_EQ(g_ran, std::vector<std::string>{target}) << id;
    }
    g_ran.clear();
    EXPECT_FALSE(frame_->RouteCommand(5));
    EXPECT_TRUE(g_ran.empty());
}

TEST_F(DockingFrameTest, CommandStateComesFromTheRouteAndNobodyMeansDisabled) {
    CCommandState handledByDocument(3);
    frame_->RouteUpdate(handledByDocument);
    EXPECT_TRUE(handledByDocument.IsEnabled());
    EXPECT_FALSE(handledByDocument.IsChecked());

    CCommandState updatedByView(2);
    frame_->RouteUpdate(updatedByView);
    EXPECT_TRUE(updatedByView.IsEnabled());
    EXPECT_TRUE(updatedByView.IsChecked());

    CCommandState nobody(5);
    frame_->RouteUpdate(nobody);
    EXPECT_FALSE(nobody.IsEnabled());
}

TEST_F(DockingFrameTest, BarsTakeTheirSidesRoomOnlyWhileShown) {
    const RECT alone = ViewRect();
    ASSERT_TRUE(frame_->DockControlBar(frame_->left, DockSide::left));
    ASSERT_TRUE(frame_->DockControlBar(frame_->bottom, DockSide::bottom));
    // The bars were created hidden: docking keeps them so.
    EXPECT_EQ(ViewRect().left, alone.left);

    frame_->ShowControlBar(frame_->left, true);
    frame_->ShowControlBar(frame_->bottom, true);
    const RECT shared = ViewRect();
    EXPECT_EQ(shared.left, alone.left + frame_->left.GetExtent());
    EXPECT_EQ(shared.bottom, alone.bottom - frame_->bottom.GetExtent());

    frame_->ShowControlBar(frame_->left, false);
    EXPECT_EQ(ViewRect().left, alone.left);
    EXPECT_EQ(ViewRect().bottom, shared.bottom);
}

TEST_F(DockingFrameTest, BarsDockOnlyOnSidesBothAllow) {
    EXPECT_FALSE(frame_->DockControlBar(frame_->left, DockSide::right));  // the bar allows only the left
    EXPECT_TRUE(frame_->DockControlBar(frame_->bottom, DockSide::right));
    EXPECT_EQ(frame_->GetDockSide(frame_->bottom), DockSide::right);
    EXPECT_FALSE(frame_->GetDockSide(frame_->left).has_value());
}

// Runs what was posted to this thread's windows.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A drag posted to the bar, then run.
void Drag(HWND bar, POINT from, POINT to) {
    posted_drag::Drag(bar, from, to);
    Pump();
}

const auto InBar = posted_drag::Between;

TEST_F(DockingFrameTest, ABarDraggedByTheMouseResizesMovesFloatsAndDocksAgain) {
    CDockingBar& bar = frame_->bottom;
    HWND frame = frame_->GetSafeHwnd();
    ASSERT_TRUE(frame_->DockControlBar(bar, DockSide::bottom));
    frame_->ShowControlBar(bar, true);
    const RECT before = ViewRect();
    const int extent = bar.GetExtent();

    // The inner (top) edge dragged 80 pixels up: the bar is 80 higher.
    Drag(bar.GetSafeHwnd(), {100, 1}, {100, -79});
    EXPECT_EQ(bar.GetExtent(), extent + 80);
    EXPECT_EQ(ViewRect().bottom, before.bottom - 80);

    // The title dragged near the right edge: docked there, its size kept.
    const int title = GetSystemMetrics(SM_CYSMCAPTION) / 2 + CDockingBar::kEdgeGrip;
    Drag(bar.GetSafeHwnd(), {100, title}, InBar(frame, bar.GetSafeHwnd(), {before.right - 5, 300}));
    EXPECT_EQ(frame_->GetDockSide(bar), DockSide::right);
    EXPECT_EQ(ViewRect().right, before.right - (extent + 80));
    EXPECT_EQ(ViewRect().bottom, before.bottom + extent);

    // Dragged out of the frame it floats where it was let go, and the view
    // has the whole frame again.
    RECT docked{};
    GetWindowRect(bar.GetSafeHwnd(), &docked);
    const POINT outside = InBar(frame, bar.GetSafeHwnd(), {-200, 300});
    Drag(bar.GetSafeHwnd(), {20, title}, outside);
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_FALSE(frame_->GetDockSide(bar).has_value());
    EXPECT_EQ(GetWindowLongW(bar.GetSafeHwnd(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetAncestor(bar.GetSafeHwnd(), GA_ROOTOWNER), frame);
    EXPECT_TRUE(IsWindowVisible(bar.GetSafeHwnd()));
    RECT floating{};
    GetWindowRect(bar.GetSafeHwnd(), &floating);
    EXPECT_EQ(floating.left, docked.left + outside.x - 20);
    EXPECT_EQ(floating.right - floating.left, docked.right - docked.left);
    EXPECT_EQ(ViewRect().right, before.right);

    // Dragged back over the frame's left edge it docks there.
    Drag(bar.GetSafeHwnd(), {20, title}, InBar(frame, bar.GetSafeHwnd(), {5, 300}));
    EXPECT_EQ(frame_->GetDockSide(bar), DockSide::left);
    EXPECT_NE(GetWindowLongW(bar.GetSafeHwnd(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetParent(bar.GetSafeHwnd()), frame);
    EXPECT_EQ(ViewRect().left, before.left + extent + 80);
}

TEST_F(DockingFrameTest, ABarOnlyAllowedLeftComesBackLeft) {
    CDockingBar& bar = frame_->left;
    ASSERT_TRUE(frame_->DockControlBar(bar, DockSide::left));
    frame_->ShowControlBar(bar, true);
    const RECT view = ViewRect();
    const int title = GetSystemMetrics(SM_CYSMCAPTION) / 2;
    Drag(bar.GetSafeHwnd(), {20, title}, InBar(frame_->GetSafeHwnd(), bar.GetSafeHwnd(), {view.right - 5, 300}));
    EXPECT_EQ(frame_->GetDockSide(bar), DockSide::left);
}

}  // namespace
