#include "scroll_view.h"

#include <algorithm>

void CScrollView::SetScrollSizes(int mapMode, SIZE total, SIZE page, SIZE line) {
    m_mapMode = mapMode;
    m_total = SIZE{std::max(0L, total.cx), std::max(0L, total.cy)};
    m_page = page;
    m_line = line;
    UpdateBars();
}

POINT CScrollView::GetScrollPosition() const {
    if (!m_hWnd) {
        return POINT{0, 0};
    }
    return POINT{GetScrollPos(m_hWnd, SB_HORZ), GetScrollPos(m_hWnd, SB_VERT)};
}

void CScrollView::UpdateBars() {
    if (!m_hWnd) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const auto apply = [this](int bar, LONG total, LONG window) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMin = 0;
        // No range at all hides the bar.
        info.nMax = total > window ? total - 1 : 0;
        info.nPage = total > window ? static_cast<UINT>(window) : 0;
        SetScrollInfo(m_hWnd, bar, &info, TRUE);
    };
    apply(SB_HORZ, m_total.cx, client.right);
    apply(SB_VERT, m_total.cy, client.bottom);
}

void CScrollView::Scroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(m_hWnd, bar, &info);
    const bool horizontal = bar == SB_HORZ;
    const LONG page =
        (horizontal ? m_page.cx : m_page.cy) > 0 ? (horizontal ? m_page.cx : m_page.cy) : std::max<LONG>(1, info.nPage);
    const LONG line =
        (horizontal ? m_line.cx : m_line.cy) > 0 ? (horizontal ? m_line.cx : m_line.cy) : std::max<LONG>(1, page / 10);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
    }
    const int last = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
    position = std::clamp(position, 0, last);
    if (position == info.nPos) {
        return;
    }
    SetScrollPos(m_hWnd, bar, position, TRUE);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CScrollView::OnEraseBkgnd(HDC) { return false; }

LRESULT CScrollView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(m_hWnd, &paint);
        OnDraw(dc);
        EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        if (OnEraseBkgnd(reinterpret_cast<HDC>(wParam))) {
            return TRUE;
        }
        break;
    case WM_SIZE: UpdateBars(); break;
    case WM_HSCROLL: Scroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: Scroll(SB_VERT, LOWORD(wParam)); return 0;
    default: break;
    }
    return CViewWindow::WindowProc(message, wParam, lParam);
}
