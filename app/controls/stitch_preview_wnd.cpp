#include "stitch_preview_wnd.h"

namespace {

stitch_pane::ScrollCode CodeOf(int code) {
    switch (code) {
    case SB_LINEUP: return stitch_pane::ScrollCode::kLineBack;
    case SB_LINEDOWN: return stitch_pane::ScrollCode::kLineForward;
    case SB_PAGEUP: return stitch_pane::ScrollCode::kPageBack;
    case SB_PAGEDOWN: return stitch_pane::ScrollCode::kPageForward;
    case SB_THUMBTRACK: return stitch_pane::ScrollCode::kThumb;
    case SB_TOP: return stitch_pane::ScrollCode::kStart;
    case SB_BOTTOM: return stitch_pane::ScrollCode::kEnd;
    default: return stitch_pane::ScrollCode::kOther;
    }
}

void Place(HWND window, const stitch_pane::Box& box, bool shown) {
    SetWindowPos(window, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
}

void SetRange(HWND bar, int maximum, int page, int position) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = maximum;
    info.nPage = static_cast<UINT>(std::max(page, 0));
    info.nPos = position;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

}  // namespace

bool CStitchPreviewWnd::Create(HWND parent, const RECT& rect, DWORD style) {
    if (!CreateEx(0, L"STATIC", L"", style | WS_CHILD | WS_CLIPCHILDREN, rect, parent, 0)) {
        return false;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    m_horizontalBar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_HORZ, 0, 0, 0, 0, m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kHorizontalBarId)), instance,
                                      nullptr);
    m_verticalBar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kVerticalBarId)), instance, nullptr);
    m_inner = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SS_NOTIFY, 0, 0, 0, 0,
                              m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kInnerFrameId)), instance, nullptr);
    if (!m_horizontalBar || !m_verticalBar || !m_inner || !m_grid.Create(m_inner, 0, 0, style)) {
        return false;
    }
    GetClientRect(m_hWnd, &m_lastClient);
    Relayout();
    return true;
}

void CStitchPreviewWnd::ZoomGrid(bool in) {
    if (in) {
        m_grid.ZoomIn();
    } else {
        m_grid.ZoomOut();
    }
    Relayout();
}

void CStitchPreviewWnd::Relayout() {
    if (!m_hWnd) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const SIZE grid = m_grid.GetStripSize();
    m_layout = stitch_pane::LayOut(client.right, client.bottom, grid.cx, grid.cy, m_layout.scrollX, m_layout.scrollY,
                                   m_lastClient.right, m_lastClient.bottom);
    m_lastClient = client;
    SetRange(m_horizontalBar, grid.cx, m_layout.visibleWidth, m_layout.scrollX);
    SetRange(m_verticalBar, grid.cy, m_layout.visibleHeight, m_layout.scrollY);
    Place(m_verticalBar, m_layout.verticalBar, m_layout.vertical);
    Place(m_horizontalBar, m_layout.horizontalBar, m_layout.horizontal);
    SetWindowPos(m_inner, nullptr, m_layout.inner.x, m_layout.inner.y, m_layout.inner.width, m_layout.inner.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    MoveGrid();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CStitchPreviewWnd::MoveGrid() {
    const SIZE grid = m_grid.GetStripSize();
    SetWindowPos(m_grid.GetSafeHwnd(), nullptr, -m_layout.scrollX, -m_layout.scrollY, grid.cx, grid.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CStitchPreviewWnd::OnScroll(int bar, int code) {
    const bool horizontal = bar == SB_HORZ;
    HWND control = horizontal ? m_horizontalBar : m_verticalBar;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(control, SB_CTL, &info);
    const SIZE grid = m_grid.GetStripSize();
    int& position = horizontal ? m_layout.scrollX : m_layout.scrollY;
    position = stitch_pane::Scroll(CodeOf(code), position, info.nTrackPos, horizontal ? grid.cx : grid.cy,
                                   horizontal ? m_layout.visibleWidth : m_layout.visibleHeight);
    SetScrollPos(control, SB_CTL, position, TRUE);
    MoveGrid();
}

void CStitchPreviewWnd::EraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const HRGN area = CreateRectRgnIndirect(&client);
    RECT grid{};
    GetWindowRect(m_grid.GetSafeHwnd(), &grid);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&grid), 2);
    RECT inner{};
    GetWindowRect(m_inner, &inner);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&inner), 2);
    RECT shown{};
    IntersectRect(&shown, &grid, &inner);
    const HRGN gridArea = CreateRectRgnIndirect(&shown);
    CombineRgn(area, area, gridArea, RGN_DIFF);
    const HBRUSH brush = CreateSolidBrush(kBackground);
    FillRgn(dc, area, brush);
    if (m_layout.horizontal && m_layout.vertical) {
        const RECT corner{client.right - stitch_pane::kBarThickness, client.bottom - stitch_pane::kBarThickness,
                          client.right, client.bottom};
        FillRect(dc, &corner, brush);
    }
    DeleteObject(brush);
    DeleteObject(gridArea);
    DeleteObject(area);
}

LRESULT CStitchPreviewWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        const LRESULT result = CWindow::WindowProc(message, wParam, lParam);
        Relayout();
        return result;
    }
    case WM_ERASEBKGND: EraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    default: return CWindow::WindowProc(message, wParam, lParam);
    }
}
