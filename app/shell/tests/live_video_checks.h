#pragma once
// What the live-video tests read back from a running Mikra.exe: the screen's
// pixels of its view, the columns of a crosshair line there, the pictures its
// browser lists and the files it wrote.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mikra_process.h"
#include "video_layout.h"

namespace live_video {

namespace fs = std::filesystem;

inline void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The screen's pixels of a window's client area, rows top-down.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

inline Screenshot Capture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    Screenshot shot;
    shot.width = client.right;
    shot.height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* quads = static_cast<const std::uint8_t*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) {
        shot.pixels.push_back(RGB(quads[i * 4 + 2], quads[i * 4 + 1], quads[i * 4]));
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// Columns of the row in which at least `share` of the pixels from top to
// bottom of the video have the colour.
inline std::vector<int> LineColumns(const Screenshot& shot, const VideoPlacement& video, COLORREF colour) {
    std::vector<int> columns;
    for (int x = video.x; x < video.x + video.width; ++x) {
        int hits = 0;
        for (int y = video.y; y < video.y + video.height; ++y) hits += shot.At(x, y) == colour;
        if (hits * 10 >= video.height * 9) columns.push_back(x);
    }
    return columns;
}

// Items of every list view of the frame (the picture browser's among them).
inline int ListedPictures(HWND frame) {
    int items = 0;
    ForEachDescendantOfClass(frame, L"SysListView32",
                             [&](HWND hwnd) { items += int(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0)); });
    return items;
}

// Items of the frame's list views of one kind: the picture browser's (and
// the empty export file list's) icons, or the data bar's report rows.
inline int ListViewItems(HWND frame, bool report) {
    int items = 0;
    ForEachDescendantOfClass(frame, L"SysListView32", [&](HWND hwnd) {
        if (((GetWindowLongW(hwnd, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT) == report) {
            items += int(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
        }
    });
    return items;
}
inline int BrowserPictures(HWND frame) { return ListViewItems(frame, false); }
// The data bar's rows: one per measurement object of the current picture.
inline int DataRows(HWND frame) { return ListViewItems(frame, true); }

// The text of one pane of the frame's status bar. The bar lives in the
// program's process: the text is read through a buffer made there.
inline std::wstring StatusPaneText(HWND frame, int pane) {
    HWND bar = nullptr;
    ForEachDescendantOfClass(frame, STATUSCLASSNAMEW, [&](HWND hwnd) { bar = hwnd; });
    DWORD id = 0;
    if (bar == nullptr || GetWindowThreadProcessId(bar, &id) == 0) return {};
    const UniqueKernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    if (!process) return {};
    constexpr std::size_t kChars = 512;
    void* remote = VirtualAllocEx(process.Get(), nullptr, kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE);
    if (remote == nullptr) return {};
    std::wstring text;
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, WPARAM(pane), 0, SMTO_ABORTIFHUNG, 5000, &length) != 0 &&
        LOWORD(length) < kChars &&
        SendMessageTimeoutW(bar, SB_GETTEXTW, WPARAM(pane), LPARAM(remote), SMTO_ABORTIFHUNG, 5000, &length) != 0) {
        std::wstring buffer(kChars, L'\0');
        SIZE_T read = 0;
        if (ReadProcessMemory(process.Get(), remote, buffer.data(), kChars * sizeof(wchar_t), &read)) {
            text = buffer.c_str();
        }
    }
    VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return text;
}

inline std::vector<fs::path> FilesIn(const fs::path& folder, const std::wstring& extension) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == extension) files.push_back(entry.path());
    }
    return files;
}

}  // namespace live_video
