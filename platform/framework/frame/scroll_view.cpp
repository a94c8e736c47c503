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

CScrollView::BarSteps CScrollView::StepsOf(int bar, const SCROLLINFO& info) const {
    const bool horizontal = bar == SB_HORZ;
    const LONG pageSize = horizontal ? m_page.cx : m_page.cy;
    const LONG lineSize = horizontal ? m_line.cx : m_line.cy;
    const LONG page = pageSize > 0 ? pageSize : std::max<LONG>(1, info.nPage);
    const LONG line = lineSize > 0 ? lineSize : std::max<LONG>(1, page / 10);
    return {page, line};
}

void CScrollView::ScrollTo(int bar, const SCROLLINFO& info, int position) {
    const int last = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
    position = std::clamp(position, 0, last);
    if (position == info.nPos) {
        return;
    }
    SetScrollPos(m_hWnd, bar, position, TRUE);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CScrollView::Scroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(m_hWnd, bar, &info);
    const BarSteps steps = StepsOf(bar, info);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP: position -= steps.line; break;
    case SB_LINEDOWN: position += steps.line; break;
    case SB_PAGEUP: position -= steps.page; break;
    case SB_PAGEDOWN: position += steps.page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
    }
    ScrollTo(bar, info, position);
}

void CScrollView::ScrollWheel(int delta) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(m_hWnd, SB_VERT, &info) || info.nPage == 0) {
        return;
    }
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const BarSteps steps = StepsOf(SB_VERT, info);
    // WHEEL_PAGESCROLL asks for a page a notch.
    const long notch = lines == WHEEL_PAGESCROLL ? steps.page : steps.line * static_cast<long>(lines);
    ScrollTo(SB_VERT, info, info.nPos - static_cast<int>(delta * notch / WHEEL_DELTA));
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
    case WM_MOUSEWHEEL: ScrollWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    default: break;
    }
    return CViewWindow::WindowProc(message, wParam, lParam);
}
