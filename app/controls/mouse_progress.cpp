#include "mouse_progress.h"

#include <cstdio>

#include "gdi_objects.h"

namespace {

constexpr const wchar_t* kClassName = L"STATIC_MOUSE_CLASS_WINDOW";

CMouseProgress* g_instance = nullptr;

// The hook's state: the hook runs on the thread that installed it, which
// is also the thread that owns the bar.
struct HookState {
    HHOOK hook = nullptr;
    HWND bar = nullptr;
    HWND watched = nullptr;
};
HookState g_hook;

bool IsWatchedBy(HWND window, HWND watched, HWND bar) {
    return window && (window == watched || window == bar || IsChild(watched, window));
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        switch (msg->message) {
        case WM_MOUSEACTIVATE:
        case WM_NCMOUSEMOVE:
        case WM_MOUSEMOVE:
        case WM_MOUSEWHEEL:
            if (IsWatchedBy(msg->hwnd, g_hook.watched, g_hook.bar)) {
                PostMessageW(g_hook.bar, CMouseProgress::ShowMessage(), msg->message, 0);
            } else {
                PostMessageW(g_hook.bar, CMouseProgress::HideMessage(), wParam, 0);
            }
            break;
        default: break;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A colour's shades: 0 the colour, +n lighter, -n darker.
COLORREF Shade(COLORREF color, int steps) {
    for (; steps > 0; --steps) color = busy_progress::Lighter(color);
    for (; steps < 0; ++steps) color = busy_progress::Darker(color);
    return color;
}

void Line(HDC dc, COLORREF color, int x1, int y1, int x2, int y2) {
    const CPen pen(PS_SOLID, 1, color);
    const HGDIOBJ old = SelectObject(dc, pen.GetSafeHandle());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
}

}  // namespace

int setMouseProgressHook(HWND bar, HWND watched) {
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
    if (!hook) {
        return 0;
    }
    if (g_hook.hook) {
        UnhookWindowsHookEx(g_hook.hook);
    }
    g_hook = {hook, bar, watched};
    return 1;
}

int clearMouseProgressHook(HWND bar) {
    if (!bar || bar != g_hook.bar || !g_hook.hook) {
        return 0;
    }
    if (!UnhookWindowsHookEx(g_hook.hook)) {
        return 0;
    }
    g_hook = {};
    return 1;
}

UINT CMouseProgress::ShowMessage() {
    static const UINT message = RegisterWindowMessageW(L"MOUSEPROGRESS-MOUSE-MESSAGE-SHOW");
    return message;
}

UINT CMouseProgress::HideMessage() {
    static const UINT message = RegisterWindowMessageW(L"MOUSEPROGRESS-MOUSE-MESSAGE-HIDE");
    return message;
}

CMouseProgress::CMouseProgress(HINSTANCE instance, HWND watched) : m_watched(watched), m_module(instance) {
    g_instance = this;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = &CMouseProgress::BarProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(instance, kClassName, &existing) && !RegisterClassExW(&wc)) {
        MessageBoxW(nullptr, L"Unable to register mouseprogress class!", L"Fatal error!", MB_OK | MB_ICONERROR);
        return;
    }
    m_bar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"No title", WS_POPUP, 0, 0, 60, 60, nullptr,
                            nullptr, instance, nullptr);
    if (!m_bar) {
        MessageBoxW(nullptr, L"Unable to create main mouseprogress window!", L"Fatal error!", MB_OK | MB_ICONERROR);
        return;
    }
    SetCursor(nullptr);
    if (!setMouseProgressHook(m_bar, m_watched)) {
        MessageBoxW(nullptr, L"Could not set hook, should not happen...", L"Fatal error!", MB_OK | MB_ICONERROR);
    }
}

CMouseProgress::~CMouseProgress() {
    if (m_bar) {
        clearMouseProgressHook(m_bar);
        DestroyWindow(m_bar);
        // Fails harmlessly while another window of the class remains.
        UnregisterClassW(kClassName, m_module);
    }
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

void CMouseProgress::SetOrientation(busy_progress::Orientation orientation) {
    m_orientation = orientation;
    if (!m_bar) {
        return;
    }
    ShowWindow(m_bar, SW_HIDE);
    const busy_progress::Box size = busy_progress::BarSize(orientation);
    SetWindowPos(m_bar, nullptr, 0, 0, size.right, size.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(m_bar, CreateRectRgn(0, 0, size.right, size.bottom), TRUE);  // the window owns the region
    ShowWindow(m_bar, SW_SHOWNOACTIVATE);
}

void CMouseProgress::SetPercent(int percent) {
    m_percent = percent;
    if (m_bar) {
        InvalidateRect(m_bar, nullptr, percent == 0);
    }
}

bool CMouseProgress::IsWatched(HWND window) const { return IsWatchedBy(window, m_watched, m_bar); }

void CMouseProgress::FollowPointer() const {
    if (!m_bar) {
        return;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    if (IsWatched(WindowFromPoint(pointer))) {
        PostMessageW(m_bar, ShowMessage(), WM_MOUSEMOVE, 0);
    } else {
        PostMessageW(m_bar, HideMessage(), 0, 0);
    }
}

void CMouseProgress::ShowBesidePointer() {
    POINT pointer{};
    GetCursorPos(&pointer);
    const busy_progress::Box place = busy_progress::PlaceBeside(
        m_orientation, pointer.x, pointer.y, GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR));
    SetWindowPos(m_bar, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_bar, SW_SHOWNOACTIVATE);
}

LRESULT CALLBACK CMouseProgress::BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CMouseProgress* self = g_instance;
    if (self && hwnd == self->m_bar) {
        if (message == ShowMessage()) {
            self->ShowBesidePointer();
            return 0;
        }
        if (message == HideMessage()) {
            ShowWindow(hwnd, SW_HIDE);
            return 0;
        }
        switch (message) {
        case WM_ERASEBKGND: return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            self->Paint(dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: self->Paint(reinterpret_cast<HDC>(wParam)); return 0;
        default: break;
        }
    }
    DefWindowProcW(hwnd, message, wParam, lParam);
    return 1;
}

void CMouseProgress::Paint(HDC target) {
    RECT client{};
    GetClientRect(m_bar, &client);
    const int width = client.right;
    const int height = client.bottom;
    HDC dc = CreateCompatibleDC(target);
    const UniqueGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(target, width, height));
    const HGDIOBJ oldBitmap = SelectObject(dc, bitmap.get());

    {
        const CBrush background(m_background);
        FillRect(dc, &client, background.GetSafeHandle());
    }
    RECT inner = client;
    DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT);
    InflateRect(&inner, -2, -2);

    const busy_progress::Box filled =
        busy_progress::FilledPart(m_orientation, {inner.left, inner.top, inner.right, inner.bottom}, m_percent);
    if (filled.right > filled.left && filled.bottom > filled.top) {
        const RECT bar{filled.left, filled.top, filled.right, filled.bottom};
        {
            const CBrush face(m_fill);
            FillRect(dc, &bar, face.GetSafeHandle());
        }
        // The edge colour outside, then inward three rings: lit top and
        // left in ever darker shades of the lighter side, bottom and right
        // in the system shadows and then the darker shades.
        const CBrush edge(m_edge);
        FrameRect(dc, &bar, edge.GetSafeHandle());
        const struct {
            COLORREF lit;
            COLORREF bottom;
            COLORREF right;
        } rings[] = {
            {Shade(m_fill, 3), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNSHADOW)},
            {Shade(m_fill, 2), Shade(m_fill, -2), Shade(m_fill, -2)},
            {Shade(m_fill, 1), Shade(m_fill, -1), Shade(m_fill, -1)},
        };
        RECT ring = bar;
        for (const auto& colours : rings) {
            InflateRect(&ring, -1, -1);
            if (ring.right - ring.left < 2 || ring.bottom - ring.top < 2) {
                break;
            }
            const int r = ring.right - 1;
            const int b = ring.bottom - 1;
            Line(dc, colours.lit, ring.left, ring.top, ring.right, ring.top);
            Line(dc, colours.lit, ring.left, ring.top, ring.left, ring.bottom);
            Line(dc, colours.bottom, ring.left + 1, b, ring.right, b);
            Line(dc, colours.right, r, ring.top + 1, r, b);
        }
    }

    wchar_t text[16];
    const int length = swprintf(text, 16, L"%i%%", m_percent);
    const bool vertical =
        m_orientation == busy_progress::kVerticalLeft || m_orientation == busy_progress::kVerticalRight;
    LOGFONTW face{};
    face.lfHeight = 12;
    face.lfWidth = 7;
    face.lfWeight = FW_NORMAL;
    face.lfEscapement = face.lfOrientation = vertical ? 900 : 0;
    wcscpy(face.lfFaceName, L"Verdana");
    const CFont font(face);
    const HGDIOBJ oldFont = SelectObject(dc, font.GetSafeHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_text);
    if (vertical) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, text, length, &extent);
        SetTextAlign(dc, TA_BASELINE | TA_CENTER);
        TextOutW(dc, width / 2 + extent.cy / 3, height / 2, text, length);
    } else {
        DrawTextW(dc, text, length, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);

    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
}
