#pragma once
// A visible 200 x 150 window that records the private messages it gets, a
// scratch folder, and one-colour pictures for controller tests under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "image_controller.h"
#include "recording_host.h"

namespace controller_testing {

namespace fs = std::filesystem;

constexpr int kClientWidth = 200;
constexpr int kClientHeight = 150;
constexpr std::uint32_t kMargin = 0xC0C0C0;

class RecordingWindow {
public:
    RecordingWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &RecordingWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamControllerExtrasTest";
        ::RegisterClassW(&wc);
        RECT rc{0, 0, kClientWidth, kClientHeight};
        ::AdjustWindowRect(&rc, WS_POPUP, FALSE);
        hwnd_ = ::CreateWindowW(wc.lpszClassName, L"test", WS_POPUP | WS_VISIBLE, 0, 0, rc.right - rc.left,
                                rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingWindow() { ::DestroyWindow(hwnd_); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Private messages (WM_USER and above) in the order they came.
    std::vector<UINT> received;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self != nullptr && message >= WM_USER && message < 0x8000) {
            self->received.push_back(message);
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

class ControllerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(window.hwnd(), nullptr);
        dir = fs::temp_directory_path() / (L"vz_controller_extras_" + std::to_wstring(::GetCurrentProcessId()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A picture of one colour (0x00RRGGBB).
    fs::path WritePicture(const wchar_t* name, int width, int height, std::uint32_t colour) {
        CPicture p(width, height, 24, kPictureBmp);
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = p.GetBits(y);
            for (int x = 0; x < width; ++x) {
                row[x * 3] = static_cast<std::uint8_t>(colour);
                row[x * 3 + 1] = static_cast<std::uint8_t>(colour >> 8);
                row[x * 3 + 2] = static_cast<std::uint8_t>(colour >> 16);
            }
        }
        const fs::path path = dir / name;
        EXPECT_TRUE(p.Save(path, kPictureBmp));
        return path;
    }

    std::unique_ptr<CImageController> Open(const fs::path& path) {
        auto controller = std::make_unique<CImageController>(path, window.hwnd());
        controller->SetScaleIniPath((dir / L"scale.ini").wstring());
        controller->OpenPicture();
        return controller;
    }

    static std::uint32_t At(const CImageController& c, int x, int y) { return c.GetBackBuffer()->GetPixelRGB(x, y); }

    RecordingWindow window;
    fs::path dir;
};

}  // namespace controller_testing
