#pragma once
// What the browser bar tests share: a parent window, a view that counts the
// selections it is told of, a host that records the view commands, pictures
// written to disk, reading image-list pixels, waiting for thumbnails, the
// items in view and double-clicking a tree item.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "browser_host.h"
#include "picture.h"
#include "private_messages.h"
#include "pump_until.h"
#include "window.h"

class RecordingView : public CWindow {
public:
    bool Create(HWND parent) {
        RegisterWindowClass(L"BrowserTestView", 0, nullptr);
        return CreateEx(0, L"BrowserTestView", L"", WS_CHILD, RECT{0, 0, 10, 10}, parent, 77);
    }
    int selections = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PICTURE_SELECTED && wParam == 0 && lParam == 0) ++selections;
        return CWindow::WindowProc(message, wParam, lParam);
    }
};

class RecordingHost : public IPictureBrowserHost {
public:
    HWND GetActiveViewWindow() const override { return view; }
    void SaveImageAs() override { calls.push_back(L"SaveImageAs"); }
    void RenameCurrentPicture() override { calls.push_back(L"RenameCurrentPicture"); }
    void RemovePicture(const std::wstring& path, bool deleteFile) override {
        calls.push_back(L"RemovePicture " + path + (deleteFile ? L" delete" : L" keep"));
    }
    HWND view = nullptr;
    std::vector<std::wstring> calls;
};

// A w x h 24-bit picture of one colour (0xRRGGBB) saved as the given type.
inline bool WritePicture(const std::filesystem::path& path, int w, int h, std::uint32_t rgb, int type) {
    CPicture picture(w, h, 24, type);
    for (int row = 0; row < h; ++row) {
        std::uint8_t* bits = picture.GetBits(row);
        for (int x = 0; x < w; ++x) {
            bits[3 * x] = rgb & 0xFF;
            bits[3 * x + 1] = (rgb >> 8) & 0xFF;
            bits[3 * x + 2] = (rgb >> 16) & 0xFF;
        }
    }
    return picture.Save(path, type);
}

// Pixel (x, y) of image `index` as 0xRRGGBB, drawn from the image list.
inline std::uint32_t ImagePixel(HIMAGELIST list, int index, int x, int y) {
    int w = 0, h = 0;
    ImageList_GetIconSize(list, &w, &h);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    const std::uint32_t pixel = static_cast<const std::uint32_t*>(bits)[y * w + x] & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
    return pixel;
}

inline std::uint32_t Rgb(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

using testing_support::PumpUntil;

// The items of a list whose cell centre the list shows, with that centre.
inline std::vector<std::pair<int, POINT>> ItemsInView(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    std::vector<std::pair<int, POINT>> shown;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT icon{};
        icon.left = LVIR_ICON;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&icon));
        const POINT centre{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
        if (PtInRect(&client, centre)) shown.emplace_back(i, centre);
    }
    return shown;
}

// A user's double-click on a tree item's text, with real mouse messages;
// false when the item shows no text to click.
inline bool DoubleClickTreeItem(HWND tree, HTREEITEM item) {
    RECT rect{};
    *reinterpret_cast<HTREEITEM*>(&rect) = item;
    if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) {
        return false;
    }
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(tree, WM_LBUTTONUP, 0, at);
    SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tree, WM_LBUTTONUP, 0, at);
    SendMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    MSG msg;
    while (PeekMessageW(&msg, tree, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
    return true;
}
