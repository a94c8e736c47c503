#pragma once
// The floating piece over the picture's window: a child window that shows a
// picture stretched to its size and follows the left-button drag. It
// remembers whether it was moved. Windows only.
#include <windows.h>

#include "picture.h"

class CFloatingPieceWnd {
public:
    // `piece` must outlive the window.
    CFloatingPieceWnd(HWND parent, const RECT& rect, const CPicture& piece);
    ~CFloatingPieceWnd();
    CFloatingPieceWnd(const CFloatingPieceWnd&) = delete;
    CFloatingPieceWnd& operator=(const CFloatingPieceWnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }
    bool WasMoved() const { return moved_; }
    // Where it lies in the parent's client area.
    RECT RectInParent() const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    const CPicture& piece_;
    bool moved_ = false;
    bool dragging_ = false;
    POINT grab_{0, 0};  // the pressed point, in the window
};
