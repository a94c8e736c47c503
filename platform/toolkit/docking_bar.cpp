#include "docking_bar.h"

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

int CDockingBar::TitleHeight() const { return GetSystemMetrics(SM_CYSMCAPTION) + 2; }

void CDockingBar::PlaceContent() {
    if (!m_hWnd || !m_content) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int top = TitleHeight();
    MoveWindow(m_content, 2, top, std::max(0L, client.right - 4), std::max(0L, client.bottom - top - 2), TRUE);
}

void CDockingBar::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    FillFace(dc, client);
    RECT title{client.left, client.top, client.right, client.top + TitleHeight()};
    DrawTitleStrip(dc, title, m_title);
    RECT frame = client;
    DrawFlatFrame(dc, frame);
    EndPaint(m_hWnd, &ps);
}

LRESULT CDockingBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
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
