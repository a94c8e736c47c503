#include "image_popup_wnd.h"

#include <algorithm>

#include "picture_gdi.h"
#include "controls_resource.h"
#include "control_cursors.h"
#include "resource_module.h"
#include "unique_handle.h"

namespace {

constexpr const wchar_t* kClassName = L"VizcamImagePopup";
constexpr COLORREF kFrameBlue = RGB(0, 100, 255);
constexpr int kHandleSize = 3;

}  // namespace

CImagePopupWnd::CImagePopupWnd(const CPicture* picture, const RECT& rect, HWND parent)
    : m_picture(picture), m_parent(parent) {
    RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr);
    const RECT normal{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
                      std::max(rect.top, rect.bottom)};
    CreateEx(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, normal, parent, kControlId);
}

RECT CImagePopupWnd::RectInParent() const {
    RECT rect{0, 0, 0, 0};
    if (m_hWnd != nullptr) {
        GetWindowRect(m_hWnd, &rect);
        MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

void CImagePopupWnd::OnPaint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    Paint(dc);
    EndPaint(m_hWnd, &ps);
}

void CImagePopupWnd::Paint(HDC dc) {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (m_picture && m_picture->IsValid()) {
        picture_gdi::Draw(*m_picture, dc, client);
    }
    if (!m_moving) {
        const int saved = SaveDC(dc);
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        UniqueGdiHandle white(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        SelectObject(dc, white.Get());
        Rectangle(dc, 0, 0, client.right, client.bottom);
        UniqueGdiHandle dotted(CreatePen(PS_DOT, 1, kFrameBlue));
        SelectObject(dc, dotted.Get());
        SetBkMode(dc, TRANSPARENT);
        Rectangle(dc, 0, 0, client.right, client.bottom);
        RestoreDC(dc, saved);
        popup::HandleSquare squares[8];
        popup::HandleSquares(client.right, client.bottom, squares);
        for (const popup::HandleSquare& square : squares) {
            const RECT r{square.left, square.top, square.left + kHandleSize, square.top + kHandleSize};
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
    }
}

bool CImagePopupWnd::OnSetCursor() {
    int id = 171;
    if (m_arrowCursor) {
        id = 170;
    } else if (m_onHandle) {
        id = popup::CursorFor(m_handle);
    }
    SetCursor(ControlCursor(id));
    return true;
}

void CImagePopupWnd::DrawTracker() {
    HDC dc = GetDCEx(m_parent, nullptr, DCX_CACHE);
    const RECT r{m_tracking.left, m_tracking.top, m_tracking.right, m_tracking.bottom};
    DrawFocusRect(dc, &r);
    ReleaseDC(m_parent, dc);
}

void CImagePopupWnd::OnButtonDown(int x, int y) {
    m_last = POINT{x, y};
    m_arrowCursor = false;
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&window), 2);
    m_tracking = popup::Box{window.left, window.top, window.right, window.bottom};
    if (m_onHandle && m_handle != popup::kNone) {
        m_resizing = true;
    } else {
        m_moving = true;
        // The frame and handles stay where the window is; only the focus
        // rectangle follows the mouse, so they go now.
        InvalidateRect(m_hWnd, nullptr, FALSE);
        UpdateWindow(m_hWnd);
    }
    DrawTracker();
    SetCapture(m_hWnd);
}

void CImagePopupWnd::OnMouseMove(int x, int y) {
    if (m_moving) {
        DrawTracker();
        const int dx = x - m_last.x;
        const int dy = y - m_last.y;
        m_tracking.left += dx;
        m_tracking.right += dx;
        m_tracking.top += dy;
        m_tracking.bottom += dy;
        DrawTracker();
        m_last = POINT{x, y};
        m_changed = true;
        return;
    }
    if (m_resizing) {
        m_changed = true;
        DrawTracker();
        if (!popup::ResizeStep(m_tracking, m_handle, x - m_last.x, y - m_last.y)) {
            m_last = POINT{x, y};
        }
        DrawTracker();
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    m_handle = popup::HitTest(client.right, client.bottom, x, y);
    m_onHandle = m_handle != popup::kNone;
    OnSetCursor();
}

void CImagePopupWnd::OnButtonUp() {
    if ((m_resizing && m_handle != popup::kNone) || m_moving) {
        DrawTracker();
        m_moving = false;
        SetWindowPos(m_hWnd, nullptr, m_tracking.left, m_tracking.top, m_tracking.right - m_tracking.left,
                     m_tracking.bottom - m_tracking.top, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        UpdateWindow(m_hWnd);
        m_onHandle = false;
        m_resizing = false;
    }
    if (GetCapture() == m_hWnd) {
        ReleaseCapture();
    }
}

void CImagePopupWnd::OnRightButtonDown(int x, int y) {
    UniqueMenu menu(CreatePopupMenu());
    AppendMenuW(menu.Get(), MF_STRING, kCopyCommand, LoadResourceString(IDS_POPUP_COPY).c_str());
    AppendMenuW(menu.Get(), MF_STRING, kCutCommand, LoadResourceString(IDS_POPUP_CUT).c_str());
    POINT screen{x, y};
    ClientToScreen(m_hWnd, &screen);
    HWND main = GetAncestor(m_hWnd, GA_ROOT);
    TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, main, nullptr);
}

LRESULT CImagePopupWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Signed: a drag may leave the window to the left or above.
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == m_hWnd) {
            return OnSetCursor();
        }
        break;
    case WM_LBUTTONDOWN: OnButtonDown(x, y); return 0;
    case WM_MOUSEMOVE: OnMouseMove(x, y); return 0;
    case WM_LBUTTONUP: OnButtonUp(); return 0;
    case WM_RBUTTONDOWN: OnRightButtonDown(x, y); return 0;
    default: break;
    }
    return Default(message, wParam, lParam);
}
