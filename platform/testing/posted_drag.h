#pragma once
// A mouse drag as the tests post it to a window: a press, one move and a
// release, in the window's client coordinates (which may lie outside it).
// Tests only.
#include <windows.h>

namespace posted_drag {

inline LPARAM At(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

inline void Drag(HWND window, POINT from, POINT to) {
    PostMessageW(window, WM_MOUSEMOVE, 0, At(from));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(from));
    PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At(to));
    PostMessageW(window, WM_LBUTTONUP, 0, At(to));
}

// A point of `from`'s client area in `to`'s client coordinates.
inline POINT Between(HWND from, HWND to, POINT point) {
    MapWindowPoints(from, to, &point, 1);
    return point;
}

}  // namespace posted_drag
