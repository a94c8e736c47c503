// The picture grid pane under Wine: the grid centred or scrolled inside a
// real pane, its own bars shown as the grid needs them.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "control_testing.h"
#include "picture_file_dialogs.h"
#include "stitch_preview_wnd.h"

namespace {

using namespace controls_testing;

class NoDialogs final : public IPictureFileDialogs {
public:
    std::vector<std::wstring> ChoosePictures(HWND) override { return {}; }
    std::wstring ChoosePicture(HWND) override { return {}; }
};

class StitchPreviewWndTest : public ::testing::Test {
protected:
    void Make(int width, int height, int rows, int columns) {
        UseEnglishResources();
        host = std::make_unique<HostWindow>(20, 20, 900, 700);
        pane = std::make_unique<CStitchPreviewWnd>(dialogs);
        ASSERT_TRUE(pane->Create(host->hwnd, RECT{0, 0, width, height}, WS_VISIBLE | SS_NOTIFY));
        pane->GetGrid().SetGrid(rows, columns);
        pane->Relayout();
        Pump();
    }
    // The grid's top-left corner in the pane's client coordinates.
    POINT GridCorner() const {
        RECT r{};
        GetWindowRect(pane->GetGrid().GetSafeHwnd(), &r);
        POINT corner{r.left, r.top};
        ScreenToClient(pane->GetSafeHwnd(), &corner);
        return corner;
    }
    static bool Shown(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

    NoDialogs dialogs;
    std::unique_ptr<HostWindow> host;
    std::unique_ptr<CStitchPreviewWnd> pane;
};

TEST_F(StitchPreviewWndTest, PlacesTheGridAndShowsTheBarsItNeeds) {
    // Cells are 100 x 120 at the first zoom step.
    const struct {
        const char* what;
        int width, height, rows, columns;
        bool horizontal, vertical;
        POINT corner;
    } cases[] = {
        {"one row of two, centred", 400, 300, 1, 2, false, false, {100, 90}},
        {"one row of five, wider", 400, 300, 1, 5, true, false, {0, 90}},
        {"one row of five, the bar makes it too tall", 400, 130, 1, 5, true, true, {0, 5}},
        {"one column of four, taller", 400, 300, 4, 1, false, true, {150, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Make(c.width, c.height, c.rows, c.columns);
        EXPECT_EQ(Shown(pane->GetHorizontalBar()), c.horizontal);
        EXPECT_EQ(Shown(pane->GetVerticalBar()), c.vertical);
        const POINT corner = GridCorner();
        EXPECT_EQ(corner.x, c.corner.x);
        EXPECT_EQ(corner.y, c.corner.y);
        if (c.horizontal) {
            RECT bar{};
            GetWindowRect(pane->GetHorizontalBar(), &bar);
            EXPECT_EQ(bar.bottom - bar.top, 16);
        }
    }
}

TEST_F(StitchPreviewWndTest, ScrollsByItsBarsAndKeepsTheRightEdgeWhenWidened) {
    Make(400, 300, 1, 6);  // 600 wide
    SendMessageW(pane->GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0),
                 reinterpret_cast<LPARAM>(pane->GetHorizontalBar()));
    EXPECT_EQ(GridCorner().x, -5);
    SendMessageW(pane->GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0),
                 reinterpret_cast<LPARAM>(pane->GetHorizontalBar()));
    EXPECT_EQ(GridCorner().x, -5);
    SendMessageW(pane->GetSafeHwnd(), WM_HSCROLL, MAKEWPARAM(SB_BOTTOM, 0),
                 reinterpret_cast<LPARAM>(pane->GetHorizontalBar()));
    EXPECT_EQ(GridCorner().x, -200);
    EXPECT_EQ(GetScrollPos(pane->GetHorizontalBar(), SB_CTL), 200);
    // Widened by 50: the grid's right edge stays at the pane's edge.
    SetWindowPos(pane->GetSafeHwnd(), nullptr, 0, 0, 450, 300, SWP_NOZORDER | SWP_NOMOVE);
    Pump();
    EXPECT_EQ(GridCorner().x, -150);
    // Wide enough for the whole grid: centred, the bar gone.
    SetWindowPos(pane->GetSafeHwnd(), nullptr, 0, 0, 800, 300, SWP_NOZORDER | SWP_NOMOVE);
    Pump();
    EXPECT_EQ(GridCorner().x, 100);
    EXPECT_FALSE(Shown(pane->GetHorizontalBar()));
}

}  // namespace
