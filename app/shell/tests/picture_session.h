#pragma once
// What the tests that work Mikra.exe as a user share: pictures written for
// it to open, the File menu's open dialog filled in, the picture browser's
// count, and the right-click menu found and chosen from by keyboard.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "live_video_checks.h"
#include "mikra_process.h"

namespace picture_session {

namespace fs = std::filesystem;

// A 24-bit bottom-up BMP; `colour(x, y)` (y from the top) gives each pixel.
inline void WriteBmp(const fs::path& path, int width, int height, const std::function<COLORREF(int, int)>& colour) {
    const int stride = (width * 3 + 3) & ~3;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(stride * height);
    std::vector<std::uint8_t> file(54 + imageBytes, 0);
    auto put32 = [&file](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    put32(34, imageBytes);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, height - 1 - y);
            std::uint8_t* pixel = &file[54 + static_cast<std::size_t>(y * stride + x * 3)];
            pixel[0] = GetBValue(c);
            pixel[1] = GetGValue(c);
            pixel[2] = GetRValue(c);
        }
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

// Opens `path` through the File menu's picture command (37010) and its
// dialog; true once the browser lists it.
inline bool OpenFromFileMenu(const MikraProcess& mikra, HWND frame, const fs::path& path) {
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(37010, 0), 0);
    HWND dialog = mikra.WaitForDialog();
    if (!dialog) return false;
    const int listed = live_video::BrowserPictures(frame);
    ChooseFile(dialog, path);
    return WaitFor([&] { return live_video::BrowserPictures(frame) == listed + 1; }, 20000);
}

// A visible top-level window of class `className` of process `id`, waited
// for; null when none shows.
inline HWND WaitForTopWindow(DWORD id, const std::wstring& className, DWORD timeoutMs = 10000) {
    struct Search {
        DWORD id;
        const std::wstring& className;
        HWND found = nullptr;
    } search{id, className};
    auto find = [&search] {
        search.found = nullptr;
        EnumWindows(
            [](HWND hwnd, LPARAM lParam) {
                auto* s = reinterpret_cast<Search*>(lParam);
                wchar_t name[64] = {};
                GetClassNameW(hwnd, name, 64);
                DWORD owner = 0;
                GetWindowThreadProcessId(hwnd, &owner);
                if (owner == s->id && name == s->className && IsWindowVisible(hwnd)) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    };
    return WaitFor(find, timeoutMs) ? search.found : nullptr;
}

// The open pop-up menu of process `id`; null when none opens.
inline HWND WaitForPopupMenu(DWORD id) { return WaitForTopWindow(id, L"#32768"); }

// Chooses the `downs`-th line of an open menu by keyboard, as a user does:
// Down `downs` times (separators are skipped), then Enter. True once the
// menu is gone.
inline bool ChooseByKeyboard(HWND menu, int downs) {
    for (int i = 0; i < downs; ++i) {
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);
        PostMessageW(menu, WM_KEYUP, VK_DOWN, 0xC0000001);
    }
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
    return WaitUntilGone(menu, 10000);
}

inline int WindowHeight(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

}  // namespace picture_session
