// The ruler bars in their splitter, read back through WM_PRINTCLIENT as the
// window shows them: the tick sets at each zoom, label 0 on the picture's
// edge, scrolling, the marker on the picture only (and never left behind by
// a repaint), and the focus going back to the view.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "dc.h"
#include "view_splitter.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

class RulerViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CWindow::RegisterWindowClass(kParentClass, 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
        ASSERT_TRUE(parent_.CreateEx(0, kParentClass, L"", WS_POPUP, RECT{0, 0, 320, 220}, nullptr, 0));
        ASSERT_TRUE(splitter_.Build(parent_.GetSafeHwnd(), std::make_unique<CViewWindow>(), nullptr));
        MoveWindow(splitter_.GetSafeHwnd(), 0, 0, 320, 220, FALSE);
        splitter_.ShowRulers(true, true);
        horizontal_ = splitter_.GetRuler(true);
        vertical_ = splitter_.GetRuler(false);
        ASSERT_NE(horizontal_, nullptr);
        ASSERT_NE(vertical_, nullptr);
    }
    void TearDown() override {
        splitter_.DestroyWindow();
        parent_.DestroyWindow();
    }
    // What the bar's window shows.
    static std::unique_ptr<CMemoryDC> Shown(const CRulerView& bar) {
        RECT client{};
        GetClientRect(bar.GetSafeHwnd(), &client);
        auto dib = std::make_unique<CMemoryDC>(nullptr, client.right, client.bottom, CMemoryDC::Kind::dibSection);
        dib->FillSolidRect(client, RGB(255, 0, 0));
        SendMessageW(bar.GetSafeHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib->GetSafeHdc()), PRF_CLIENT);
        return dib;
    }
    // Black pixels across the bar at `depth` from its outer edge, at positions from..to along it.
    static std::vector<int> BlackAlong(const CMemoryDC& dib, bool horizontal, int depth, int from, int to) {
        std::vector<int> positions;
        for (int p = from; p < to; ++p) {
            if ((horizontal ? dib.GetPixelRGB(p, depth) : dib.GetPixelRGB(depth, p)) == kBlack) {
                positions.push_back(p);
            }
        }
        return positions;
    }
    static std::vector<int> Every(int step, int from, int to) {
        std::vector<int> v;
        for (int p = from; p < to; p += step) {
            v.push_back(p);
        }
        return v;
    }
    static RulerBarGeometry Picture(int origin, int scroll, float zoom) {
        return {{origin, origin}, {scroll, scroll}, 400, 400, zoom, zoom};
    }

    static constexpr const wchar_t* kParentClass = L"VizcamRulerTestParent";
    CWindow parent_;
    CViewSplitterWnd splitter_;
    CRulerView* horizontal_ = nullptr;
    CRulerView* vertical_ = nullptr;
};

TEST_F(RulerViewTest, TickSetsFollowTheZoomOnBothBars) {
    // Rows 12 to 15 lie below the labels: every tick crosses row 14, the
    // sets of depth 10 and less (all but the 5s) row 11, those of depth 8
    // and less (the 50s and 100s) row 9.
    const struct {
        float zoom;
        std::vector<int> row14;
        std::vector<int> row11;
        int row9From, row9To;
        std::vector<int> row9;
    } cases[] = {
        {1.0f, Every(5, 0, 120), Every(10, 0, 120), 101, 181, {150}},
        {0.5f, Every(5, 0, 120), Every(5, 0, 120), 50, 80, {50, 75}},
        // 400 picture pixels are 100 bar pixels: the 50s end at 100.
        {0.25f, {0, 13, 25, 38, 50, 63, 75, 88, 100}, {0, 13, 25, 38, 50, 63, 75, 88, 100}, 0, 0, {}},
    };
    for (const auto& c : cases) {
        for (CRulerView* bar : {horizontal_, vertical_}) {
            const bool h = bar->IsHorizontal();
            bar->Redraw(h ? 2 : 1, Picture(0, 0, c.zoom), POINT{0, 0});
            const auto dib = Shown(*bar);
            EXPECT_EQ(BlackAlong(*dib, h, 14, 0, 120), c.row14) << c.zoom << (h ? " horizontal" : " vertical");
            EXPECT_EQ(BlackAlong(*dib, h, 11, 0, 120), c.row11) << c.zoom << (h ? " horizontal" : " vertical");
            if (h) {  // the vertical bar's labels lie along it
                EXPECT_EQ(BlackAlong(*dib, h, 9, c.row9From, c.row9To), c.row9) << c.zoom;
            }
        }
    }
}

TEST_F(RulerViewTest, LabelZeroSitsOnThePictureEdgeAndScrollingMovesEverything) {
    horizontal_->Redraw(2, Picture(30, 0, 1.0f), POINT{0, 0});
    const auto still = Shown(*horizontal_);
    int labelPixels = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 30; ++x) {
            if (still->GetPixelRGB(x, y) != kWhite) {
                EXPECT_GE(x, 18) << "only the label 0, right of 18: " << x << "," << y;
                ++labelPixels;
            }
        }
    }
    EXPECT_GT(labelPixels, 3);
    EXPECT_EQ(BlackAlong(*still, true, 14, 0, 30), std::vector<int>{}) << "no tick before the picture";

    horizontal_->Redraw(2, Picture(30, 7, 1.0f), POINT{0, 0});
    const auto scrolled = Shown(*horizontal_);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 250; ++x) {
            ASSERT_EQ(scrolled->GetPixelRGB(x, y), still->GetPixelRGB(x + 7, y)) << x << "," << y;
        }
    }
}

TEST_F(RulerViewTest, TheMarkerGoesOnThePictureOnlyAndARepaintLeavesNoStrayLine) {
    // Picture from x 20 to 120; 52 and 61 are no tick.
    const RulerBarGeometry picture{{20, 20}, {0, 0}, 100, 100, 1.0f, 1.0f};
    const auto column = [this](int x) { return BlackAlong(*Shown(*horizontal_), false, x, 0, 16).size(); };
    horizontal_->Redraw(2, picture, POINT{0, 0});
    EXPECT_EQ(column(52), 0u);
    horizontal_->Redraw(3, picture, POINT{52, 5});
    EXPECT_EQ(horizontal_->GetMarker(), 52);
    EXPECT_EQ(column(52), 16u) << "inverted across the bar";
    for (const int outside : {19, 10, 121, 300}) {
        horizontal_->Redraw(3, picture, POINT{outside, 5});
        EXPECT_EQ(horizontal_->GetMarker(), 52) << outside;
    }
    EXPECT_EQ(column(52), 16u);

    SendMessageW(horizontal_->GetSafeHwnd(), WM_PAINT, 0, 0);
    EXPECT_EQ(column(52), 16u) << "the repaint shows the marker it remembers";
    horizontal_->Redraw(3, picture, POINT{61, 5});
    EXPECT_EQ(column(52), 0u) << "no stray line";
    EXPECT_EQ(column(61), 16u);

    // The vertical bar takes the mouse's y.
    vertical_->Redraw(3, picture, POINT{500, 44});
    EXPECT_EQ(vertical_->GetMarker(), 44);
    EXPECT_EQ(BlackAlong(*Shown(*vertical_), true, 44, 0, 16).size(), 16u);
}

TEST_F(RulerViewTest, TheFocusGoesBackToTheView) {
    ShowWindow(parent_.GetSafeHwnd(), SW_SHOWNOACTIVATE);
    HWND view = splitter_.GetView()->GetSafeHwnd();
    for (const CWindow* pane : {splitter_.GetPane(0, 0), splitter_.GetPane(0, 1), splitter_.GetPane(1, 0)}) {
        SetFocus(nullptr);
        SetFocus(pane->GetSafeHwnd());
        EXPECT_EQ(GetFocus(), view);
    }
}

}  // namespace
