// Command routing through frame, view, document and application, and the
// docking layout: bars take their side's room only while shown.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "doc_template.h"
#include "docking_frame.h"

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

}  // namespace
