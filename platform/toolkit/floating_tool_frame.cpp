#include "floating_tool_frame.h"

#include <windowsx.h>

#include <string>

#include "toolkit_look.h"

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
}  // namespace

bool CFloatingToolFrame::Create(HWND owner, CDockingToolBar& toolBar) {
    m_toolBar = &toolBar;
    if (!RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, nullptr)) {
        return false;
    }
    return CreateEx(kExStyle, kClassName, L"", kStyle, RECT{0, 0, 0, 0}, owner, 0);
}

void CFloatingToolFrame::Hold(POINT topLeft) {
    HWND toolBar = m_toolBar->GetSafeHwnd();
    if (GetParent(toolBar) != m_hWnd) {
        SetParent(toolBar, m_hWnd);
    }
    const SIZE size = m_toolBar->GetDockedSize();
    MoveWindow(toolBar, 0, TitleStripHeight(), size.cx, size.cy, TRUE);
    RECT window{0, 0, size.cx, TitleStripHeight() + size.cy};
    AdjustWindowRectEx(&window, kStyle, FALSE, kExStyle);
    const UINT show = m_toolBar->IsVisible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    SetWindowPos(m_hWnd, nullptr, topLeft.x, topLeft.y, window.right - window.left, window.bottom - window.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | show);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFloatingToolFrame::Release(HWND frame) {
    ShowWindow(m_hWnd, SW_HIDE);
    if (GetParent(m_toolBar->GetSafeHwnd()) == m_hWnd) {
        SetParent(m_toolBar->GetSafeHwnd(), frame);
    }
}

void CFloatingToolFrame::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    wchar_t title[128] = {};
    GetWindowTextW(m_toolBar->GetSafeHwnd(), title, 128);
    DrawBarFace(dc, client, title);
    EndPaint(m_hWnd, &ps);
}

LRESULT CFloatingToolFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_LBUTTONDOWN: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (point.y < TitleStripHeight() && m_toolBar->GetDockHost() != nullptr) {
            ClientToScreen(m_hWnd, &point);
            m_drag.Begin(m_hWnd, point);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        if (const auto drop = m_drag.End(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
            if (IToolBarDockHost* host = m_toolBar->GetDockHost()) {
                host->ToolBarDropped(*m_toolBar, drop->screen, drop->moved);
            }
        }
        return 0;
    case WM_CAPTURECHANGED: m_drag.Cancel(); return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
        // The frame hands a control's notice back to it or routes the command.
        return SendMessageW(GetWindow(m_hWnd, GW_OWNER), message, wParam, lParam);
    default: return Default(message, wParam, lParam);
    }
}
