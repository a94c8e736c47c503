#pragma once
// What a test puts on the real clipboard and reads back from it.
#include <windows.h>

namespace clipboard_testing {

// The clipboard holding only a bitmap of this size in one colour; false when
// the clipboard could not be opened or did not take the bitmap.
inline bool PutBitmap(HWND owner, int width, int height, COLORREF colour) {
    if (!::OpenClipboard(owner)) {
        return false;
    }
    ::EmptyClipboard();
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const RECT all{0, 0, width, height};
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(memory, &all, brush);
    ::DeleteObject(brush);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    const bool taken = ::SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    ::CloseClipboard();
    return taken;
}

// The clipboard holding only a short text.
inline void PutText() {
    if (!::OpenClipboard(nullptr)) {
        return;
    }
    ::EmptyClipboard();
    HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 4);
    if (auto* chars = static_cast<char*>(::GlobalLock(text))) {
        chars[0] = 'x';
        chars[1] = '\0';
        ::GlobalUnlock(text);
    }
    ::SetClipboardData(CF_TEXT, text);
    ::CloseClipboard();
}

// The clipboard bitmap's size; 0 by 0 when it holds none.
inline SIZE BitmapSize() {
    SIZE size{0, 0};
    if (!::OpenClipboard(nullptr)) {
        return size;
    }
    if (auto* bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP))) {
        BITMAP header{};
        ::GetObjectW(bitmap, sizeof header, &header);
        size = SIZE{header.bmWidth, header.bmHeight};
    }
    ::CloseClipboard();
    return size;
}

}  // namespace clipboard_testing
