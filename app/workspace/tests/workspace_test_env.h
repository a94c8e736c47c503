#pragma once
// What the controller's Windows tests share: a private temporary directory
// (the history lives under it) and a parent window that passes its commands
// on.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

#include "image_controller.h"
#include "picture.h"

// Points TMP and TEMP at a fresh folder while in scope.
class ScopedTempDirectory {
public:
    explicit ScopedTempDirectory(const std::wstring& name) {
        wchar_t buffer[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH, buffer);
        path_ = std::filesystem::path(buffer) / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        SaveAndSet(L"TMP", oldTmp_);
        SaveAndSet(L"TEMP", oldTemp_);
    }
    ~ScopedTempDirectory() {
        ::SetEnvironmentVariableW(L"TMP", oldTmp_.c_str());
        ::SetEnvironmentVariableW(L"TEMP", oldTemp_.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    void SaveAndSet(const wchar_t* name, std::wstring& old) {
        wchar_t buffer[MAX_PATH + 1] = {};
        ::GetEnvironmentVariableW(name, buffer, MAX_PATH);
        old = buffer;
        ::SetEnvironmentVariableW(name, path_.wstring().c_str());
    }
    std::filesystem::path path_;
    std::wstring oldTmp_;
    std::wstring oldTemp_;
};

class ParentWindow {
public:
    ParentWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ParentWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamHistoryTest";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowW(L"VizcamHistoryTest", L"test", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
                                wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ParentWindow() { ::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    std::function<bool(WPARAM, LPARAM)> onCommand;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ParentWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self != nullptr && msg == WM_COMMAND && self->onCommand && self->onCommand(wParam, lParam)) {
            return 0;
        }
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
};

// A 24-bit picture whose bytes follow `seed`, saved as `path` in `type`.
inline CPicture SeededPicture(int width, int height, std::uint8_t seed) {
    CPicture p(width, height, 24, kPictureBmp);
    for (std::size_t i = 0; i < p.GetSize(); ++i) p.Pixels()[i] = static_cast<std::uint8_t>(seed + i * 3);
    return p;
}

inline bool SamePixels(const CPicture& a, const CPicture& b) {
    return a.GetWidth() == b.GetWidth() && a.GetHeight() == b.GetHeight() && a.GetBpp() == b.GetBpp() &&
           std::equal(a.Pixels().begin(), a.Pixels().end(), b.Pixels().begin(), b.Pixels().end());
}
