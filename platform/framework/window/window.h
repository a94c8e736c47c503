#pragma once
// A window owned by a C++ object: the object gets the window's messages
// through WindowProc and destroys a window still alive when it goes away.
// Common controls can be subclassed the same way so that their owner sees
// their messages and reflected notifications.
#include <windows.h>

class CWindow {
public:
    CWindow() = default;
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    virtual ~CWindow();

    // Registers a window class whose windows are run by CWindow objects.
    static bool RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background, HICON icon = nullptr);
    // The object that runs hwnd, or null.
    static CWindow* FromHandle(HWND hwnd);

    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                  HWND parent, UINT id);
    // Takes over an existing window (a common control) created elsewhere.
    bool Subclass(HWND hwnd);
    void DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    // Whether the window itself is shown (its parent may still be hidden).
    bool IsVisible() const { return m_hWnd && (GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE); }

    // A control's notification (WM_COMMAND or WM_NOTIFY) given back to the
    // control's own object by the window that received it; true when handled.
    virtual bool OnReflectedCommand(WORD code);
    virtual bool OnReflectedNotify(NMHDR& header, LRESULT& result);
    // An owner-drawn control's WM_DRAWITEM given back to it; true when drawn.
    virtual bool OnReflectedDrawItem(const DRAWITEMSTRUCT& item);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The behaviour the window had before we took it over.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Bind(HWND hwnd);

    WNDPROC m_previousProc = nullptr;
};

// Hands a control's WM_COMMAND or WM_NOTIFY back to the control's object;
// true when that object handled it.
bool ReflectCommand(WPARAM wParam, LPARAM lParam);
bool ReflectNotify(LPARAM lParam, LRESULT& result);
bool ReflectDrawItem(LPARAM lParam);
