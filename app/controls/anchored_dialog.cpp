#include "anchored_dialog.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>

namespace {

anchor_layout::Box ToBox(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::wstring UpperClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    std::wstring upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return std::towupper(c); });
    return upper;
}

}  // namespace

CAnchoredDialog::CAnchoredDialog(UINT templateId, HWND parent) : CDialog(templateId, parent) {
    m_gripSize = {GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

RECT CAnchoredDialog::ClientRectOf(HWND control) const {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CAnchoredDialog::AnchorChildren(HWND control, anchor_layout::Anchor topLeft, anchor_layout::Anchor bottomRight) {
    if (!control) {
        return;
    }
    Entry entry{control, false, false, {}};
    const std::wstring name = UpperClassName(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (name == L"BUTTON" && (style & 0x7)) {
        // Group boxes must not paint over what they hold.
        SetWindowLongW(control, GWL_STYLE, style | WS_CLIPSIBLINGS);
    } else if (name == L"LISTBOX") {
        entry.adjustScroll = true;
    } else if (name == L"STATIC" && ((style & SS_TYPEMASK) < 3 || (style & SS_CENTERIMAGE))) {
        entry.needsRefresh = true;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    entry.anchoring =
        anchor_layout::Anchored(ToBox(ClientRectOf(control)), topLeft, bottomRight, client.right, client.bottom);
    m_entries.push_back(entry);
}

void CAnchoredDialog::ReanchorChild(HWND control) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.window == control; });
    if (it == m_entries.end()) {
        return;
    }
    const anchor_layout::Anchoring old = it->anchoring;
    m_entries.erase(it);
    AnchorChildren(control, old.topLeft, old.bottomRight);
}

void CAnchoredDialog::UpdateGrip() {
    InvalidateRect(m_hWnd, &m_grip, TRUE);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const anchor_layout::Box grip = anchor_layout::GripBox(client.right, client.bottom, m_gripSize.cx, m_gripSize.cy);
    m_grip = {grip.left, grip.top, grip.right, grip.bottom};
    InvalidateRect(m_hWnd, &m_grip, TRUE);
}

void CAnchoredDialog::RepositionControls() {
    UpdateGrip();
    RECT client{};
    GetClientRect(m_hWnd, &client);
    HDWP batch = BeginDeferWindowPos(static_cast<int>(m_entries.size()));
    for (Entry& entry : m_entries) {
        const anchor_layout::Box box = anchor_layout::Place(entry.anchoring, client.right, client.bottom);
        const RECT old = ClientRectOf(entry.window);
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (box.left == old.left && box.top == old.top) flags |= SWP_NOMOVE;
        const bool sameSize =
            box.right - box.left == old.right - old.left && box.bottom - box.top == old.bottom - old.top;
        if (sameSize) flags |= SWP_NOSIZE;
        if ((flags & SWP_NOMOVE) && (flags & SWP_NOSIZE)) {
            continue;
        }
        if (entry.adjustScroll && !sameSize) {
            // A list box scrolled past what its new width shows is repainted.
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
            if (GetScrollInfo(entry.window, SB_HORZ, &info) && info.nMax > info.nMin) {
                entry.needsRefresh = entry.needsRefresh || info.nPos + (box.right - box.left) > info.nMax;
            }
        }
        if (batch) {
            batch = DeferWindowPos(batch, entry.window, nullptr, box.left, box.top, box.right - box.left,
                                   box.bottom - box.top, flags);
        }
    }
    if (batch) {
        EndDeferWindowPos(batch);
    }
    for (const Entry& entry : m_entries) {
        if (entry.needsRefresh) {
            InvalidateRect(entry.window, nullptr, TRUE);
            UpdateWindow(entry.window);
        }
    }
}

BOOL CAnchoredDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    UpdateGrip();
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    m_minTrackSize = {window.right - window.left, window.bottom - window.top};
    m_initDone = true;
    return result;
}

void CAnchoredDialog::DrawGrip(HDC dc) const {
    if (m_showGrip && !IsZoomed(m_hWnd)) {
        RECT grip = m_grip;
        DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}

BOOL CAnchoredDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (m_initDone && wParam != SIZE_MAXSHOW && wParam != SIZE_MAXHIDE) {
            RepositionControls();
        }
        return FALSE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        DrawGrip(dc);
        EndPaint(m_hWnd, &ps);
        return TRUE;
    }
    case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (lParam & PRF_ERASEBKGND) {
            RECT client{};
            GetClientRect(m_hWnd, &client);
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        }
        DrawGrip(dc);
        return TRUE;
    }
    case WM_NCHITTEST: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(m_hWnd, &at);
        if (m_showGrip && PtInRect(&m_grip, at)) {
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, HTBOTTOMRIGHT);
            return TRUE;
        }
        return FALSE;
    }
    case WM_GETMINMAXINFO:
        if (m_initDone && m_useMinTrackSize) {
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {m_minTrackSize.cx, m_minTrackSize.cy};
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY: m_entries.clear(); return FALSE;
    default: return FALSE;
    }
}
