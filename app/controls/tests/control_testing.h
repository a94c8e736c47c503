#pragma once
// Test support for the controls: a top-level host window, mouse messages
// posted to a control (only those reach it: the display and pointer are
// shared with the programs running beside the test), and a control's client
// painted into a DIB whose pixels are read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <vector>

#include "resource_module.h"
#include "window.h"

namespace controls_testing {

struct PostedMouse {
    HWND hwnd;
    UINT message;
    WPARAM wp;
    LPARAM lp;
};
inline std::deque<PostedMouse> postedMouse;

inline bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

inline bool TakePosted(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    for (auto it = postedMouse.begin(); it != postedMouse.end(); ++it) {
        if (it->hwnd == hwnd && it->message == message && it->wp == wp && it->lp == lp) {
            postedMouse.erase(it);
            return true;
        }
    }
    return false;
}

// A control that sees only the mouse messages the test posted.
template <typename Control>
class PostedOnly : public Control {
public:
    using Control::Control;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (IsMouseMessage(message) && !TakePosted(this->GetSafeHwnd(), message, wParam, lParam)) {
            return 0;
        }
        return Control::WindowProc(message, wParam, lParam);
    }
};

inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

inline void Post(HWND hwnd, UINT message, int x, int y, WPARAM keys = 0) {
    const LPARAM lp = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    postedMouse.push_back({hwnd, message, keys, lp});
    PostMessageW(hwnd, message, keys, lp);
    Pump();
}
inline void Move(HWND hwnd, int x, int y, bool pressed = true) {
    Post(hwnd, WM_MOUSEMOVE, x, y, pressed ? MK_LBUTTON : 0);
}
inline void Down(HWND hwnd, int x, int y) { Post(hwnd, WM_LBUTTONDOWN, x, y, MK_LBUTTON); }
inline void Up(HWND hwnd, int x, int y) { Post(hwnd, WM_LBUTTONUP, x, y); }

// A top-level window for the controls, at (x, y) on the screen; it records
// the commands it receives.
class HostWindow {
public:
    HostWindow(int x, int y, int width, int height) {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &HostWindow::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"VizcamControlsTestHost";
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            return RegisterClassW(&wc) != 0;
        }();
        (void)registered;
        hwnd = CreateWindowExW(0, L"VizcamControlsTestHost", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width,
                               height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~HostWindow() { DestroyWindow(hwnd); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd = nullptr;
    std::vector<WORD> commands;
    std::vector<std::pair<UINT, LPARAM>> messages;
    struct Sent {
        UINT message;
        WPARAM wp;
        LPARAM lp;
        friend bool operator==(const Sent&, const Sent&) = default;
    };
    // The private messages with both parameters.
    std::vector<Sent> sent;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        // Controls run by our objects handle their own notifications and drawing.
        if (message == WM_DRAWITEM && ReflectDrawItem(lp)) {
            return TRUE;
        }
        if (self && message == WM_COMMAND) {
            if (lp && ReflectCommand(wp, lp)) {
                return 0;
            }
            self->commands.push_back(LOWORD(wp));
            return 0;
        }
        if (self && message >= WM_USER) {
            self->messages.emplace_back(message, lp);
            self->sent.push_back({message, wp, lp});
        }
        return DefWindowProcW(hwnd, message, wp, lp);
    }
};

inline BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The client of `hwnd` as WM_PRINTCLIENT paints it, read back pixel by pixel.
class Snapshot {
public:
    explicit Snapshot(HWND hwnd, bool erase = true) {
        RECT client{};
        GetClientRect(hwnd, &client);
        width_ = client.right;
        height_ = client.bottom;
        const BITMAPINFO info = TopDown32(width_, height_);
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | (erase ? PRF_ERASEBKGND : 0));
    }
    ~Snapshot() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    HDC Dc() const { return dc_; }

private:
    int width_ = 0;
    int height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// A device bitmap whose pixel (x, y) is RGB(x % 256, y % 256, 77): a read
// pixel says which picture pixel it shows.
inline HBITMAP MakeGradientBitmap(int width, int height) {
    const BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] =
                (static_cast<std::uint32_t>(x % 256) << 16) | (static_cast<std::uint32_t>(y % 256) << 8) | 77u;
        }
    }
    return bitmap;
}

inline COLORREF Gradient(int x, int y) { return RGB(x % 256, y % 256, 77); }

// A stretched picture samples one of the source pixels a display pixel covers.
inline bool NearGradient(COLORREF colour, int x, int y, int slack = 1) {
    const int dx = static_cast<int>(GetRValue(colour)) - x % 256;
    const int dy = static_cast<int>(GetGValue(colour)) - y % 256;
    return dx >= 0 && dx <= slack && dy >= 0 && dy <= slack && GetBValue(colour) == 77;
}

// Loads the English language library as the resource module (cursors,
// strings) for the whole test program, as a data file as the program does.
inline void UseEnglishResources() {
    static const HMODULE module = LoadLibraryExW(L"Lan_0.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module) {
        SetResourceModule(module);
    }
}

}  // namespace controls_testing
