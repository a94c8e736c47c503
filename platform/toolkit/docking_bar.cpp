#include "docking_bar.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit_look.h"

bool CDockingBar::Create(const std::wstring& title, HWND parent, UINT id) {
    m_title = title;
    if (!RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW, nullptr)) {
        return false;
    }
    return CreateEx(0, kClassName, title.c_str(), WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, RECT{0, 0, 0, 0},
                    parent, id);
}

void CDockingBar::SetContent(HWND content) {
    m_content = content;
    PlaceContent();
}

int CDockingBar::TitleHeight() const { return TitleStripHeight(); }

void CDockingBar::PlaceContent() {
    if (!m_hWnd || !m_content) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    RECT area{2, TitleHeight(), client.right - 2, client.bottom - 2};
    // The inner edge stays the bar's, for the mouse that resizes it.
    if (m_side) {
        switch (*m_side) {
        case DockSide::left: area.right = client.right - kEdgeGrip; break;
        case DockSide::right: area.left = kEdgeGrip; break;
        case DockSide::top: area.bottom = client.bottom - kEdgeGrip; break;
        case DockSide::bottom: area.top = std::max<LONG>(area.top, kEdgeGrip); break;
        }
    }
    MoveWindow(m_content, area.left, area.top, std::max(0L, area.right - area.left), std::max(0L, area.bottom - area.top),
               TRUE);
}

void CDockingBar::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    DrawBarFace(dc, client, m_title);
    RECT frame = client;
    DrawFlatFrame(dc, frame);
    EndPaint(m_hWnd, &ps);
}

bool CDockingBar::OnInnerEdge(POINT point) const {
    if (!m_side) {
        return false;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    switch (*m_side) {
    case DockSide::left: return point.x >= client.right - kEdgeGrip;
    case DockSide::right: return point.x < client.left + kEdgeGrip;
    case DockSide::top: return point.y >= client.bottom - kEdgeGrip;
    case DockSide::bottom: return point.y < client.top + kEdgeGrip;
    }
    return false;
}

void CDockingBar::OnButtonDown(POINT point) {
    if (m_host == nullptr) {
        return;
    }
    if (OnInnerEdge(point)) {
        m_drag = Drag::size;
        m_press = point;
    } else if (point.y < TitleHeight()) {
        m_drag = Drag::move;
        m_press = point;
    } else {
        return;
    }
    SetCapture(m_hWnd);
}

// The edge moves as far as the mouse since the press, wherever on the
// grip the press was.
void CDockingBar::OnMouseMove(POINT point) {
    if (m_drag != Drag::size || m_host == nullptr || !m_side) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    switch (*m_side) {
    case DockSide::left: point.x += client.right - m_press.x; break;
    case DockSide::right: point.x -= m_press.x; break;
    case DockSide::top: point.y += client.bottom - m_press.y; break;
    case DockSide::bottom: point.y -= m_press.y; break;
    }
    ClientToScreen(m_hWnd, &point);
    m_host->BarEdgeDragged(*this, point);
}

// The size follows the mouse while it moves; the release only ends it.
void CDockingBar::OnButtonUp(POINT point) {
    const Drag drag = m_drag;
    m_drag = Drag::none;
    if (GetCapture() == m_hWnd) {
        ReleaseCapture();
    }
    if (drag != Drag::move || m_host == nullptr) {
        return;
    }
    RECT moved{};
    GetWindowRect(m_hWnd, &moved);
    OffsetRect(&moved, point.x - m_press.x, point.y - m_press.y);
    ClientToScreen(m_hWnd, &point);
    m_host->BarDropped(*this, point, moved);
}

void CDockingBar::Float(HWND frame, const RECT& screen) {
    SetDockedSide(std::nullopt);
    const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if ((style & WS_CHILD) != 0) {
        SetParent(m_hWnd, nullptr);
        SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP | WS_THICKFRAME);
        // Owned by the frame: above it, minimised and closed with it.
        SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(frame));
    }
    SetWindowPos(m_hWnd, nullptr, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CDockingBar::AttachTo(HWND frame) {
    const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if ((style & WS_CHILD) != 0) {
        return;
    }
    SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, 0);
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~(WS_POPUP | WS_THICKFRAME)) | WS_CHILD);
    SetParent(m_hWnd, frame);
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT CDockingBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_MOUSEMOVE: OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_CAPTURECHANGED: m_drag = Drag::none; return 0;
    case WM_SETCURSOR: {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(m_hWnd, &cursor);
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == m_hWnd && OnInnerEdge(cursor)) {
            const bool across = *m_side == DockSide::left || *m_side == DockSide::right;
            SetCursor(LoadCursorW(nullptr, across ? IDC_SIZEWE : IDC_SIZENS));
            return TRUE;
        }
        return Default(message, wParam, lParam);
    }
    case WM_CREATE: return OnCreate();
    case WM_SIZE:
        PlaceContent();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_COMMAND:
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (message == WM_COMMAND && lParam && ReflectCommand(wParam, lParam)) {
            return 0;
        }
        if (message == WM_NOTIFY && ReflectNotify(lParam, result)) {
            return result;
        }
        // What the content does not handle itself goes on to the frame.
        return SendMessageW(GetParent(m_hWnd), message, wParam, lParam);
    }
    default: return Default(message, wParam, lParam);
    }
}
