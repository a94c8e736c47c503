#pragma once
// The busy indicator that follows the pointer: a small top-most tool
// window with a bevelled bar and the percent. It shows beside the pointer
// while the pointer is over the watched window (or the bar itself) and hides
// elsewhere. A message hook on the program's own UI thread sees the mouse
// messages of this thread's windows; FollowPointer, called on every tick of
// the owner's timer, covers the pointer leaving for another program's
// window. One instance exists at a time.
#include <windows.h>

#include "busy_progress.h"

class CMouseProgress {
public:
    // Creates the bar window and installs the hook on the calling thread.
    // Failures are reported in message boxes; the bar then stays where it is.
    CMouseProgress(HINSTANCE instance, HWND watched);
    virtual ~CMouseProgress();
    CMouseProgress(const CMouseProgress&) = delete;
    CMouseProgress& operator=(const CMouseProgress&) = delete;

    // Hides the bar, gives it the orientation's size at the screen origin and shows it.
    void SetOrientation(busy_progress::Orientation orientation);
    void SetFillColor(COLORREF color) { m_fill = color; }
    // 0..100, 101 in the closing ramp; redraws the bar.
    void SetPercent(int percent);
    int Percent() const { return m_percent; }
    HWND BarWindow() const { return m_bar; }
    HWND WatchedWindow() const { return m_watched; }

    // Posts the show or hide message for where the pointer is now.
    void FollowPointer() const;

    // The registered messages that show the bar beside the pointer and hide it.
    static UINT ShowMessage();
    static UINT HideMessage();

private:
    static LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void ShowBesidePointer();
    void Paint(HDC dc);
    bool IsWatched(HWND window) const;

    HWND m_watched;
    HINSTANCE m_module;
    HWND m_bar = nullptr;
    int m_percent = 0;
    busy_progress::Orientation m_orientation = busy_progress::kHorizontalBelow;
    COLORREF m_fill = RGB(255, 0, 0);
    COLORREF m_edge = RGB(0, 0, 0);
    COLORREF m_text = RGB(255, 255, 255);
    COLORREF m_background = RGB(200, 200, 200);
};

// The pointer hook for a bar over a watched window, on the calling thread:
// 1 when installed (replacing an earlier one), 0 when it cannot be.
int setMouseProgressHook(HWND bar, HWND watched);
// Removes the hook: non-zero when removed; 0 for a null handle, a handle
// that is not the hooked bar, or a failed unhook.
int clearMouseProgressHook(HWND bar);
