#include "floating_piece_wnd.h"

#include <windowsx.h>

#include "picture_gdi.h"

namespace {

constexpr const wchar_t* kClassName = L"VizcamFloatingPiece";

void RegisterOnce() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_SIZEALL);
    wc.lpszClassName = kClassName;
    if (!::GetClassInfoW(wc.hInstance, kClassName, &wc)) {
        ::RegisterClassW(&wc);
    }
}

}  // namespace

CFloatingPieceWnd::CFloatingPieceWnd(HWND parent, const RECT& rect, const CPicture& piece) : piece_(piece) {
    RegisterOnce();
    hwnd_ = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ != nullptr) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CFloatingPieceWnd::Proc));
        ::InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

CFloatingPieceWnd::~CFloatingPieceWnd() {
    if (hwnd_ != nullptr) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

RECT CFloatingPieceWnd::RectInParent() const {
    RECT rect{0, 0, 0, 0};
    if (hwnd_ != nullptr) {
        ::GetWindowRect(hwnd_, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

LRESULT CALLBACK CFloatingPieceWnd::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CFloatingPieceWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self != nullptr ? self->OnMessage(message, wParam, lParam) : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CFloatingPieceWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(hwnd_, &paint);
        RECT client;
        ::GetClientRect(hwnd_, &client);
        picture_gdi::Draw(piece_, dc, 0, 0, client.right, client.bottom);
        ::EndPaint(hwnd_, &paint);
        return 0;
    }
    case WM_LBUTTONDOWN:
        dragging_ = true;
        grab_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::SetCapture(hwnd_);
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_) {
            const int dx = GET_X_LPARAM(lParam) - grab_.x;
            const int dy = GET_Y_LPARAM(lParam) - grab_.y;
            if (dx != 0 || dy != 0) {
                const RECT where = RectInParent();
                ::SetWindowPos(hwnd_, nullptr, where.left + dx, where.top + dy, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                moved_ = true;
            }
        }
        return 0;
    case WM_LBUTTONUP:
        dragging_ = false;
        ::ReleaseCapture();
        return 0;
    default: return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}
