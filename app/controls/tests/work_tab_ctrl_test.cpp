// The work tab control erases its tab strip and leaves the page area alone.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "control_testing.h"
#include "work_tab_ctrl.h"

namespace {

constexpr COLORREF kMarker = RGB(12, 34, 56);

// Fills a DIB with the marker colour and lets the control erase it.
int ErasedPixels(HWND tab, int fromY, int toY, int width) {
    const BITMAPINFO info = controls_testing::TopDown32(width, toY);
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH marker = CreateSolidBrush(kMarker);
    RECT all{0, 0, width, toY};
    FillRect(dc, &all, marker);
    DeleteObject(marker);
    SendMessageW(tab, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    int changed = 0;
    for (int y = fromY; y < toY; ++y) {
        for (int x = 0; x < width; ++x) changed += GetPixel(dc, x, y) != kMarker;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return changed;
}

TEST(WorkTabCtrl, EraseLeavesThePageAreaAlone) {
    controls_testing::HostWindow host(50, 50, 300, 200);
    HWND hwnd = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, host.hwnd, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hwnd, nullptr);
    CWorkTabCtrl tabs;
    ASSERT_TRUE(tabs.Subclass(hwnd));

    // Without tabs the whole background is erased.
    EXPECT_GT(ErasedPixels(hwnd, 100, 200, 300), 0);

    for (const wchar_t* title : {L"One", L"Two"}) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(title);
        SendMessageW(hwnd, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    RECT first{};
    SendMessageW(hwnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    ASSERT_GT(first.bottom, 0);
    EXPECT_EQ(ErasedPixels(hwnd, first.bottom + 2, 200, 300), 0);
    // The strip itself is erased.
    EXPECT_GT(ErasedPixels(hwnd, 0, first.bottom + 2, 300), 0);
}

}  // namespace
