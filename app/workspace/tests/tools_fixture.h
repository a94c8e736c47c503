#pragma once
// A window hosting a controller that records its history steps, and real
// mouse and key messages posted to it, for the drawing-tool tests.
#include <gtest/gtest.h>

#include "unique_temp_dir.h"
#include <windows.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

#include "angle_figures.h"
#include "area_figures.h"
#include "circle_figures.h"
#include "image_controller.h"
#include "line_figures.h"
#include "measure_resource.h"
#include "modal_script.h"
#include "recording_controller.h"
#include "recording_host.h"
#include "resource_module.h"

namespace tools_testing {

namespace fs = std::filesystem;

constexpr int kClientWidth = 200;
constexpr int kClientHeight = 150;

using controller_testing::RecordingController;

// The mouse messages the fixture has posted and the window has not handled.
// Every test program shares one display and pointer with the programs
// running beside it, so the pointer those move (or a window they map under
// it) sends this window real mouse messages too; only these reach the
// controller.
struct PostedMouse {
    UINT message;
    WPARAM wp;
    LPARAM lp;
};
inline std::deque<PostedMouse> postedMouse;

inline bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

// True when `message` is the next mouse message the fixture posted.
inline bool TakePostedMouse(UINT message, WPARAM wp, LPARAM lp) {
    if (postedMouse.empty()) {
        return false;
    }
    const PostedMouse& next = postedMouse.front();
    if (next.message != message || next.wp != wp || next.lp != lp) {
        return false;
    }
    postedMouse.pop_front();
    return true;
}

// The view's part: a window that forwards its mouse and key messages.
inline LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (IsMouseMessage(message) && !TakePostedMouse(message, wp, lp)) {
        return 0;
    }
    auto* c = reinterpret_cast<CImageController*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const int x = static_cast<short>(LOWORD(lp));
    const int y = static_cast<short>(HIWORD(lp));
    if (c != nullptr) {
        switch (message) {
        case WM_LBUTTONDOWN: c->OnLButtonDown(static_cast<UINT>(wp), x, y); return 0;
        case WM_LBUTTONUP: c->OnLButtonUp(static_cast<UINT>(wp), x, y); return 0;
        case WM_MOUSEMOVE: c->OnMouseMove(static_cast<UINT>(wp), x, y); return 0;
        case WM_LBUTTONDBLCLK: c->OnLButtonDblClk(static_cast<UINT>(wp), x, y); return 0;
        case WM_KEYDOWN: c->OnKeyDown(static_cast<UINT>(wp)); return 0;
        case WM_KEYUP: c->OnKeyUp(static_cast<UINT>(wp)); return 0;
        case WM_RBUTTONDOWN: c->ShowContextMenu(x, y, 0); return 0;
        default: break;
        }
    }
    return ::DefWindowProcW(hwnd, message, wp, lp);
}

class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = HostProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamToolsTest";
        ::RegisterClassW(&wc);
        RECT rc{0, 0, kClientWidth, kClientHeight};
        ::AdjustWindowRect(&rc, WS_POPUP, FALSE);
        postedMouse.clear();
        hwnd_ = ::CreateWindowW(L"VizcamToolsTest", L"tools", WS_POPUP | WS_VISIBLE, 300, 300, rc.right - rc.left,
                                rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(hwnd_, nullptr);
        dir_ = testing_support::UniqueTempPath("vz_tools_test");
        fs::create_directories(dir_);
    }
    void TearDown() override {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
        controller_.reset();
        fs::remove_all(dir_);
    }

    // A white picture of the given size, opened at `zoom` so that it fills
    // the client area from (0, 0).
    RecordingController& Open(int width, int height, float zoom) {
        CPicture p(width, height, 24, kPictureBmp);
        for (int y = 0; y < height; ++y) {
            std::fill_n(p.GetBits(y), width * 3, std::uint8_t{255});
        }
        return OpenPicture(p, zoom);
    }
    // The picture opened at `zoom` from the client area's corner.
    RecordingController& OpenPicture(const CPicture& p, float zoom) {
        const fs::path path = dir_ / "picture.bmp";
        EXPECT_TRUE(p.Save(path, kPictureBmp));
        controller_ = std::make_unique<RecordingController>(path, hwnd_);
        controller_->SetHost(&host_);
        controller_->OpenPicture();
        controller_->SetZoom(zoom);
        controller_->Render(1);
        Attach(*controller_);
        return *controller_;
    }

    // The controller the window hands its mouse and keys to.
    void Attach(CImageController& controller) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&controller));
    }
    void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, hwnd_, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    void Post(UINT message, WPARAM wp, int x, int y) {
        const LPARAM lp = MAKELPARAM(x, y);
        if (IsMouseMessage(message)) {
            postedMouse.push_back({message, wp, lp});
        }
        ::PostMessageW(hwnd_, message, wp, lp);
        Pump();
    }
    void Down(int x, int y) { Post(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
    void Up(int x, int y) { Post(WM_LBUTTONUP, 0, x, y); }
    void MoveTo(int x, int y, bool pressed = false) { Post(WM_MOUSEMOVE, pressed ? MK_LBUTTON : 0, x, y); }
    void Click(int x, int y) {
        MoveTo(x, y);
        Down(x, y);
        Up(x, y);
    }
    void DoubleClick(int x, int y) {
        Click(x, y);
        Post(WM_LBUTTONDBLCLK, MK_LBUTTON, x, y);
        Up(x, y);
    }
    void Drag(int x0, int y0, int x1, int y1) {
        MoveTo(x0, y0);
        Down(x0, y0);
        MoveTo((x0 + x1) / 2, (y0 + y1) / 2, true);
        MoveTo(x1, y1, true);
        Up(x1, y1);
    }
    void Key(UINT key) {
        Post(WM_KEYDOWN, key, 0, 0);
        Post(WM_KEYUP, key, 0, 0);
    }
    // Draws a line with the line tool from (x0, y0) to (x1, y1).
    CCLLine& DrawLine(int x0, int y0, int x1, int y1) {
        controller_->SetTool(2);
        Click(x0, y0);
        MoveTo(x1, y1);
        Click(x1, y1);
        return static_cast<CCLLine&>(*controller_->GetObjectList()->back());
    }

    HWND hwnd_ = nullptr;
    controller_testing::RecordingHost host_;
    fs::path dir_;
    std::unique_ptr<RecordingController> controller_;
};

}  // namespace tools_testing
