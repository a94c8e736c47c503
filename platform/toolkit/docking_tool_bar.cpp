#include "docking_tool_bar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "toolkit_look.h"

void CDockingToolBar::SetDockedLayout(bool vertical, bool gripper) {
    m_vertical = vertical;
    m_gripper = gripper;
    // A column wraps after every button; its separators would only stand
    // between them as gaps, so they are hidden there.
    const int count = static_cast<int>(SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button))) {
            continue;
        }
        BYTE state = static_cast<BYTE>(button.fsState & ~(TBSTATE_WRAP | TBSTATE_HIDDEN));
        if (vertical) {
            state = static_cast<BYTE>(state | ((button.fsStyle & BTNS_SEP) != 0 ? TBSTATE_HIDDEN : TBSTATE_WRAP));
        }
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        info.fsState = state;
        SendMessageW(m_hWnd, TB_SETBUTTONINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
    SendMessageW(m_hWnd, TB_AUTOSIZE, 0, 0);
    // The gripper is part of the window's frame: have it measured again.
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    OnLayoutChanged(vertical);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

SIZE CDockingToolBar::GetDockedSize() const {
    SIZE size = GetRowSize();
    if (m_gripper) {
        (m_vertical ? size.cy : size.cx) += kGripper;
    }
    return size;
}

RECT CDockingToolBar::GripperRect() const {
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    return m_vertical ? RECT{0, 0, width, std::min(height, kGripper)} : RECT{0, 0, std::min(width, kGripper), height};
}

void CDockingToolBar::PaintGripper() {
    HDC dc = GetWindowDC(m_hWnd);
    if (!dc) {
        return;
    }
    DrawGripper(dc, GripperRect(), m_vertical);
    ReleaseDC(m_hWnd, dc);
}

LRESULT CDockingToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE: {
        const LRESULT result = Default(message, wParam, lParam);
        if (m_gripper) {
            RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
            if (m_vertical) {
                client.top = std::min(client.top + kGripper, client.bottom);
            } else {
                client.left = std::min(client.left + kGripper, client.right);
            }
        }
        return result;
    }
    case WM_NCPAINT:
        Default(message, wParam, lParam);
        if (m_gripper) {
            PaintGripper();
        }
        return 0;
    case WM_NCHITTEST: {
        if (m_gripper) {
            RECT window{};
            GetWindowRect(m_hWnd, &window);
            RECT gripper = GripperRect();
            OffsetRect(&gripper, window.left, window.top);
            if (PtInRect(&gripper, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
                return HTCAPTION;
            }
        }
        return Default(message, wParam, lParam);
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && m_gripper && m_host != nullptr) {
            m_drag.Begin(m_hWnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCAPTION && m_gripper) {
            SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
            return TRUE;
        }
        return Default(message, wParam, lParam);
    case WM_MOUSEMOVE:
        // The buttons do not light up under a toolbar being dragged.
        return m_drag.IsActive() ? 0 : Default(message, wParam, lParam);
    case WM_LBUTTONUP:
        if (const auto drop = m_drag.End(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
            if (m_host != nullptr) {
                m_host->ToolBarDropped(*this, drop->screen, drop->moved);
            }
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_CAPTURECHANGED:
        m_drag.Cancel();
        return Default(message, wParam, lParam);
    default: return Default(message, wParam, lParam);
    }
}
