// The preview under Wine: a real control in a real window, mouse messages
// posted to it, its client painted into a DIB and read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "control_cursors.h"
#include "control_testing.h"
#include "image_preview_wnd.h"

namespace {

using namespace controls_testing;

constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr int kWidth = 200;
constexpr int kHeight = 150;

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseEnglishResources();
        host = std::make_unique<HostWindow>(40, 40, 260, 220);
        ASSERT_TRUE(preview.Create(WS_VISIBLE, RECT{10, 10, 10 + kWidth, 10 + kHeight}, host->hwnd, 1200));
        postedMouse.clear();
    }
    void TearDown() override {
        preview.DestroyWindow();
        for (HBITMAP b : bitmaps) {
            // The control never deletes a caller's bitmap: each is still ours.
            EXPECT_TRUE(DeleteObject(b));
        }
    }
    HBITMAP Bitmap(int width, int height) {
        bitmaps.push_back(MakeGradientBitmap(width, height));
        return bitmaps.back();
    }
    HWND Hwnd() const { return preview.GetSafeHwnd(); }
    bool BarShown(UINT id) const { return IsWindowVisible(GetDlgItem(Hwnd(), static_cast<int>(id))) != FALSE; }
    RECT ChildRect(UINT id) const {
        RECT r{};
        GetWindowRect(GetDlgItem(Hwnd(), static_cast<int>(id)), &r);
        MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void Drag(int x0, int y0, int x1, int y1) {
        Move(Hwnd(), x0, y0, false);
        Down(Hwnd(), x0, y0);
        Move(Hwnd(), x1, y1);
        Up(Hwnd(), x1, y1);
    }

    std::unique_ptr<HostWindow> host;
    PostedOnly<CImagePreviewWnd> preview;
    std::vector<HBITMAP> bitmaps;
};

TEST_F(PreviewTest, ASmallBitmapAtActualSizeIsCentredWithoutBars) {
    ASSERT_TRUE(preview.SetBitmap(Bitmap(100, 50)));
    EXPECT_FALSE(BarShown(CImagePreviewWnd::kHorizontalBarId));
    EXPECT_FALSE(BarShown(CImagePreviewWnd::kVerticalBarId));
    Snapshot shot(Hwnd());
    EXPECT_EQ(shot.At(50, 50), Gradient(0, 0));
    EXPECT_EQ(shot.At(149, 99), Gradient(99, 49));
    EXPECT_EQ(shot.At(49, 50), kGrey);
    EXPECT_EQ(shot.At(150, 99), kGrey);
    EXPECT_EQ(shot.At(100, 100), kGrey);
}

TEST_F(PreviewTest, FitModeFillsTheWidthAndCentresVertically) {
    preview.UpdateLayout(0);
    ASSERT_TRUE(preview.SetBitmap(Bitmap(400, 100)));
    Snapshot shot(Hwnd());
    EXPECT_EQ(shot.At(100, 49), kGrey);
    EXPECT_EQ(shot.At(100, 100), kGrey);
    EXPECT_TRUE(NearGradient(shot.At(0, 50), 0, 0));
    EXPECT_TRUE(NearGradient(shot.At(100, 60), 200, 20));
    EXPECT_TRUE(NearGradient(shot.At(199, 99), 398, 98));
    EXPECT_FALSE(BarShown(CImagePreviewWnd::kHorizontalBarId));
}

TEST_F(PreviewTest, ActualSizeOfALargeBitmapShowsBothBarsAndScrolls) {
    ASSERT_TRUE(preview.SetBitmap(Bitmap(400, 300)));
    ASSERT_TRUE(BarShown(CImagePreviewWnd::kHorizontalBarId));
    ASSERT_TRUE(BarShown(CImagePreviewWnd::kVerticalBarId));
    const RECT vertical = ChildRect(CImagePreviewWnd::kVerticalBarId);
    EXPECT_EQ(vertical.left, kWidth - 17);
    EXPECT_EQ(vertical.right, kWidth);
    EXPECT_EQ(vertical.bottom, kHeight - 17);
    const RECT horizontal = ChildRect(CImagePreviewWnd::kHorizontalBarId);
    EXPECT_EQ(horizontal.top, kHeight - 17);
    EXPECT_EQ(horizontal.right, kWidth - 17);

    const HWND hbar = GetDlgItem(Hwnd(), CImagePreviewWnd::kHorizontalBarId);
    const HWND vbar = GetDlgItem(Hwnd(), CImagePreviewWnd::kVerticalBarId);
    SendMessageW(Hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(hbar));
    SendMessageW(Hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(hbar));
    SendMessageW(Hwnd(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(vbar));
    SendMessageW(Hwnd(), WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(hbar));  // pages do not move
    {
        Snapshot shot(Hwnd());
        EXPECT_EQ(shot.At(0, 0), Gradient(10, 5));
        EXPECT_EQ(shot.At(182, 132), Gradient(192, 137));
    }
    SendMessageW(Hwnd(), WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(hbar));
    SendMessageW(Hwnd(), WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(vbar));
    EXPECT_EQ(preview.GetLayout().horizontalPosition, 400 - 183);
    EXPECT_EQ(preview.GetLayout().verticalPosition, 300 - 133);
    Snapshot shot(Hwnd());
    EXPECT_EQ(shot.At(182, 132), Gradient(399, 299));
    SendMessageW(Hwnd(), WM_HSCROLL, SB_LINELEFT, reinterpret_cast<LPARAM>(hbar));
    EXPECT_EQ(preview.GetLayout().horizontalPosition, 400 - 183 - 5);
}

TEST_F(PreviewTest, DraggingTheThumbScrollsBeyondSixteenBits) {
    constexpr int kWide = 70000;
    ASSERT_TRUE(preview.SetBitmap(Bitmap(kWide, 20)));
    const HWND hbar = GetDlgItem(Hwnd(), CImagePreviewWnd::kHorizontalBarId);
    ASSERT_TRUE(IsWindowVisible(hbar));
    RECT bar{};
    GetClientRect(hbar, &bar);
    // The scroll bar tracks its thumb from these messages in its own loop.
    const int y = bar.bottom / 2;
    const int start = GetSystemMetrics(SM_CXHSCROLL) + 2;
    PostMessageW(hbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start, y));
    PostMessageW(hbar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar.right / 2, y));
    PostMessageW(hbar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar.right - GetSystemMetrics(SM_CXHSCROLL) - 2, y));
    PostMessageW(hbar, WM_LBUTTONUP, 0, MAKELPARAM(bar.right - GetSystemMetrics(SM_CXHSCROLL) - 2, y));
    Pump();
    const int position = preview.GetLayout().horizontalPosition;
    EXPECT_GT(position, 0xFFFF);
    EXPECT_LE(position, preview.GetLayout().MaxHorizontal());
    Snapshot shot(Hwnd());
    EXPECT_EQ(shot.At(0, 65 + 5), Gradient(position, 5));  // centred: 65 above
}

TEST_F(PreviewTest, RefusesAMissingBitmapAndPaintsNothing) {
    EXPECT_FALSE(preview.SetBitmap(nullptr));
    HBITMAP gone = MakeGradientBitmap(10, 10);
    DeleteObject(gone);
    EXPECT_FALSE(preview.SetBitmap(gone));
    EXPECT_FALSE(preview.AttachBitmap(nullptr));
    Snapshot shot(Hwnd());
    EXPECT_EQ(shot.At(100, 75), kGrey);
}

TEST_F(PreviewTest, ReplacingAndDestroyingLeaveTheCallersBitmaps) {
    HBITMAP first = Bitmap(100, 50);
    HBITMAP second = Bitmap(120, 60);
    ASSERT_TRUE(preview.SetBitmap(first));
    ASSERT_TRUE(preview.SetBitmap(second));
    ASSERT_TRUE(preview.AttachBitmap(first));
    BITMAP info{};
    EXPECT_EQ(GetObjectW(first, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(GetObjectW(second, sizeof(info), &info), static_cast<int>(sizeof(info)));
    // TearDown destroys the control, then deletes both: each deletion must succeed.
}

TEST_F(PreviewTest, SelectionLinesSitOnThePictureAndAreGreen) {
    preview.UpdateLayout(0);
    ASSERT_TRUE(preview.SetBitmap(Bitmap(400, 300)));  // scale 0.5, picture fills the client
    preview.SetSelection(40, 60, 240, 200);
    const RECT top = ChildRect(CImagePreviewWnd::kFirstLineId);
    EXPECT_EQ(top.left, 20);
    EXPECT_EQ(top.top, 30);
    EXPECT_EQ(top.right, 120);
    EXPECT_EQ(top.bottom, 32);
    const RECT right = ChildRect(CImagePreviewWnd::kFirstLineId + 3);
    EXPECT_EQ(right.left, 118);
    EXPECT_EQ(right.bottom, 100);
    HWND line = GetDlgItem(Hwnd(), CImagePreviewWnd::kFirstLineId + 1);
    EXPECT_TRUE(IsWindowVisible(line));
    HDC dc = GetDC(line);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(line)));
    ReleaseDC(line, dc);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(brush, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, RGB(0, 200, 0));

    // The pointer shows which edge it would drag.
    const struct {
        int x, y, cursor;
    } cursors[] = {{60, 31, 175}, {60, 99, 175}, {21, 60, 174}, {119, 60, 174}, {70, 60, 170}};
    for (const auto& c : cursors) {
        Move(Hwnd(), c.x, c.y, false);
        ASSERT_NE(ControlCursor(c.cursor), LoadCursorW(nullptr, IDC_ARROW)) << c.cursor;
        EXPECT_EQ(GetCursor(), ControlCursor(c.cursor)) << c.x << "," << c.y;
    }
}

struct EdgeDrag {
    const char* name;
    int x0, y0, x1, y1;
    RECT expected;
};

TEST_F(PreviewTest, DraggingEachEdgeMovesTheSelectionAtActualSize) {
    ASSERT_TRUE(preview.SetBitmap(Bitmap(kWidth, kHeight)));
    const EdgeDrag drags[] = {
        {"top down", 60, 20, 60, 40, {20, 40, 120, 100}},
        {"bottom up", 60, 99, 60, 79, {20, 20, 120, 80}},
        {"left right", 21, 50, 31, 50, {30, 20, 120, 100}},
        {"right left", 119, 50, 109, 70, {20, 20, 110, 100}},
        {"top onto bottom stops", 60, 20, 60, 120, {20, 20, 120, 100}},
        {"left onto right stops", 20, 50, 150, 50, {20, 20, 120, 100}},
        {"inside moves nothing", 60, 60, 80, 80, {20, 20, 120, 100}},
    };
    for (const EdgeDrag& d : drags) {
        preview.SetSelection(20, 20, 120, 100);
        Drag(d.x0, d.y0, d.x1, d.y1);
        const RECT got = preview.GetSelection();
        EXPECT_EQ(got.left, d.expected.left) << d.name;
        EXPECT_EQ(got.top, d.expected.top) << d.name;
        EXPECT_EQ(got.right, d.expected.right) << d.name;
        EXPECT_EQ(got.bottom, d.expected.bottom) << d.name;
        EXPECT_NE(GetCapture(), Hwnd()) << d.name;
    }
}

TEST_F(PreviewTest, DraggingInFitModeCountsPicturePixels) {
    preview.UpdateLayout(0);
    ASSERT_TRUE(preview.SetBitmap(Bitmap(400, 300)));
    preview.SetSelection(40, 40, 240, 200);  // lines at 20..120 x 20..100
    Drag(20, 50, 30, 50);
    RECT got = preview.GetSelection();
    EXPECT_EQ(got.left, 60);
    EXPECT_EQ(got.right, 240);
    Drag(60, 99, 60, 109);
    got = preview.GetSelection();
    EXPECT_EQ(got.bottom, 220);
    EXPECT_EQ(got.top, 40);
}

TEST_F(PreviewTest, GetSelectionIsClampedToThePicture) {
    ASSERT_TRUE(preview.SetBitmap(Bitmap(100, 50)));
    preview.SetSelection(-5, 3, 500, 400);
    const RECT got = preview.GetSelection();
    EXPECT_EQ(got.left, 0);
    EXPECT_EQ(got.top, 3);
    EXPECT_EQ(got.right, 100);
    EXPECT_EQ(got.bottom, 50);
}

TEST_F(PreviewTest, ClickPointsArePicturePixelsAndAreTakenOnce) {
    preview.UpdateLayout(0);
    ASSERT_TRUE(preview.SetBitmap(Bitmap(400, 300)));
    Down(Hwnd(), 100, 75);
    Up(Hwnd(), 100, 75);
    POINT p = preview.TakeClickPoint();
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 150);
    p = preview.TakeClickPoint();
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);

    preview.UpdateLayout(1);
    const HWND hbar = GetDlgItem(Hwnd(), CImagePreviewWnd::kHorizontalBarId);
    SendMessageW(Hwnd(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(hbar));
    Down(Hwnd(), 30, 40);
    Up(Hwnd(), 30, 40);
    p = preview.TakeClickPoint();
    EXPECT_EQ(p.x, 35);
    EXPECT_EQ(p.y, 40);
}

}  // namespace
