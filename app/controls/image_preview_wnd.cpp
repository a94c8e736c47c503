#include "image_preview_wnd.h"

#include <algorithm>

#include "control_cursors.h"
#include "resource_module.h"

namespace {

constexpr COLORREF kSelectionGreen = RGB(0, 200, 0);
constexpr COLORREF kBackground = RGB(192, 192, 192);
constexpr int kArrowCursor = 170;
constexpr int kVerticalCursor = 175;
constexpr int kHorizontalCursor = 174;

SCROLLINFO ScrollInfo(UINT mask) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    return info;
}

RECT ToRect(const preview::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

CImagePreviewWnd::CImagePreviewWnd()
    : m_greenBrush(CreateSolidBrush(kSelectionGreen)), m_cursor(ControlCursor(kArrowCursor)) {}

CImagePreviewWnd::~CImagePreviewWnd() {
    // The memory context goes before the window; the caller's bitmap is
    // released from it, never deleted.
    m_memoryDc.Reset();
    DestroyWindow();
}

bool CImagePreviewWnd::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    if (!CreateEx(0, L"STATIC", L"", style | WS_CHILD | WS_CLIPCHILDREN, rect, parent, id)) {
        return false;
    }
    OnCreate();
    return true;
}

void CImagePreviewWnd::OnCreate() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    m_horizontalBar =
        CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_HORZ, 0, 0, 0, 0, m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kHorizontalBarId)), instance, nullptr);
    m_verticalBar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kVerticalBarId)), instance, nullptr);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        m_lines[i] =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 0, 0, m_hWnd,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstLineId + i)), instance, nullptr);
    }
}

bool CImagePreviewWnd::Attach(HBITMAP bitmap) {
    Detach();
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) != sizeof(info) || info.bmWidth <= 0 || info.bmHeight == 0) {
        return false;
    }
    HDC screen = GetDC(m_hWnd);
    m_memoryDc.Reset(CreateCompatibleDC(screen));
    ReleaseDC(m_hWnd, screen);
    if (!m_memoryDc || !SelectObject(m_memoryDc.Get(), bitmap)) {
        m_memoryDc.Reset();
        return false;
    }
    m_bitmap = bitmap;
    m_valid = true;
    return true;
}

void CImagePreviewWnd::Detach() {
    m_memoryDc.Reset();
    m_bitmap = nullptr;
    m_valid = false;
}

bool CImagePreviewWnd::SetBitmap(HBITMAP bitmap) {
    if (!Attach(bitmap)) {
        return false;
    }
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    m_bitmapWidth = info.bmWidth;
    m_bitmapHeight = std::abs(info.bmHeight);
    ApplyLayout(m_mode);
    return true;
}

bool CImagePreviewWnd::AttachBitmap(HBITMAP bitmap) {
    if (!Attach(bitmap)) {
        return false;
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return true;
}

void CImagePreviewWnd::UpdateLayout(int mode) { ApplyLayout(mode); }

void CImagePreviewWnd::ApplyLayout(int mode) {
    m_mode = mode;
    if (!m_hWnd) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    ShowWindow(m_horizontalBar, SW_HIDE);
    ShowWindow(m_verticalBar, SW_HIDE);
    m_layout = preview::ComputeLayout(client.right, client.bottom, m_bitmapWidth, m_bitmapHeight,
                                      mode == 0 ? preview::Mode::kFit : preview::Mode::kActualSize, m_layout);
    const int areaRight = client.right - (m_layout.verticalBar ? preview::kBarThickness : 0);
    const int areaBottom = client.bottom - (m_layout.horizontalBar ? preview::kBarThickness : 0);
    if (m_layout.mode == preview::Mode::kActualSize) {
        SCROLLINFO info = ScrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL);
        info.nMax = std::max(0, m_bitmapWidth - 1);
        info.nPage = static_cast<UINT>(std::max(0, areaRight));
        info.nPos = m_layout.horizontalPosition;
        SetScrollInfo(m_horizontalBar, SB_CTL, &info, FALSE);
        info.nMax = std::max(0, m_bitmapHeight - 1);
        info.nPage = static_cast<UINT>(std::max(0, areaBottom));
        info.nPos = m_layout.verticalPosition;
        SetScrollInfo(m_verticalBar, SB_CTL, &info, FALSE);
        MoveWindow(m_verticalBar, areaRight, 0, preview::kBarThickness, areaBottom, FALSE);
        MoveWindow(m_horizontalBar, 0, areaBottom, areaRight, preview::kBarThickness, FALSE);
    }
    ShowWindow(m_horizontalBar, m_layout.horizontalBar ? SW_SHOW : SW_HIDE);
    ShowWindow(m_verticalBar, m_layout.verticalBar ? SW_SHOW : SW_HIDE);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    PlaceLines(false);
}

void CImagePreviewWnd::SetSelection(int left, int top, int right, int bottom) {
    m_selectionEnabled = true;
    m_selectionInt = RECT{left, top, right, bottom};
    m_selection = preview::Selection{static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
                                     static_cast<float>(bottom)};
    for (HWND line : m_lines) {
        ShowWindow(line, SW_SHOW);
    }
    PlaceLines(true);
}

RECT CImagePreviewWnd::GetSelection() {
    const preview::Rect r = preview::RoundSelection(m_selection, m_bitmapWidth, m_bitmapHeight);
    m_selectionInt = ToRect(r);
    return m_selectionInt;
}

POINT CImagePreviewWnd::TakeClickPoint() {
    const POINT point = m_click;
    m_click = POINT{0, 0};
    return point;
}

void CImagePreviewWnd::PlaceLines(bool nearest) {
    if (!m_selectionEnabled) {
        return;
    }
    m_lineRects = preview::PlaceLines(m_selection, m_layout, nearest);
    MoveLines();
}

void CImagePreviewWnd::MoveLines() {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const preview::Rect& r = m_lineRects[i];
        MoveWindow(m_lines[i], r.left, r.top, r.Width(), r.Height(), TRUE);
        RedrawWindow(m_lines[i], nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    }
    if (m_layout.horizontalBar) {
        RedrawWindow(m_horizontalBar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    if (m_layout.verticalBar) {
        RedrawWindow(m_verticalBar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

void CImagePreviewWnd::OnPaint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    Paint(dc);
    EndPaint(m_hWnd, &ps);
}

void CImagePreviewWnd::Paint(HDC dc) {
    if (m_valid && m_memoryDc) {
        const preview::Rect& v = m_layout.visible;
        if (m_layout.mode == preview::Mode::kActualSize) {
            BitBlt(dc, v.left, v.top, v.Width(), v.Height(), m_memoryDc.Get(), m_layout.ShownHorizontal(),
                   m_layout.ShownVertical(), SRCCOPY);
        } else {
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchBlt(dc, v.left, v.top, v.Width(), v.Height(), m_memoryDc.Get(), 0, 0, m_bitmapWidth, m_bitmapHeight,
                       SRCCOPY);
        }
    }
}

void CImagePreviewWnd::EraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int saved = SaveDC(dc);
    if (m_valid) {
        const preview::Rect& v = m_layout.visible;
        ExcludeClipRect(dc, v.left, v.top, v.right, v.bottom);
    }
    if (m_layout.horizontalBar && m_layout.verticalBar) {
        const RECT corner{client.right - preview::kBarThickness, client.bottom - preview::kBarThickness, client.right,
                          client.bottom};
        FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
        ExcludeClipRect(dc, corner.left, corner.top, corner.right, corner.bottom);
    }
    UniqueGdiHandle grey(CreateSolidBrush(kBackground));
    FillRect(dc, &client, static_cast<HBRUSH>(grey.Get()));
    RestoreDC(dc, saved);
}

void CImagePreviewWnd::OnScroll(int bar, int code) {
    if (m_layout.mode != preview::Mode::kActualSize) {
        return;
    }
    const bool horizontal = bar == SB_HORZ;
    HWND control = horizontal ? m_horizontalBar : m_verticalBar;
    int& position = horizontal ? m_layout.horizontalPosition : m_layout.verticalPosition;
    const int maximum = horizontal ? m_layout.MaxHorizontal() : m_layout.MaxVertical();
    int next = position;
    switch (code) {
    case SB_LINELEFT: next -= preview::kLineStep; break;
    case SB_LINERIGHT: next += preview::kLineStep; break;
    case SB_THUMBTRACK: {
        // The 32-bit track position: the message's word holds only 16 bits.
        SCROLLINFO info = ScrollInfo(SIF_TRACKPOS);
        GetScrollInfo(control, SB_CTL, &info);
        next = info.nTrackPos;
        break;
    }
    case SB_LEFT: next = 0; break;
    case SB_RIGHT: next = maximum; break;
    default: return;
    }
    position = preview::ClampPosition(next, maximum);
    SCROLLINFO info = ScrollInfo(SIF_POS);
    info.nPos = position;
    SetScrollInfo(control, SB_CTL, &info, TRUE);
    const RECT area = ToRect(m_layout.visible);
    InvalidateRect(m_hWnd, &area, FALSE);
    PlaceLines(false);
}

void CImagePreviewWnd::SetCursorFor(preview::Edge edge) {
    int id = kArrowCursor;
    if (edge == preview::kTopEdge || edge == preview::kBottomEdge) {
        id = kVerticalCursor;
    } else if (edge == preview::kLeftEdge || edge == preview::kRightEdge) {
        id = kHorizontalCursor;
    }
    m_cursor = ControlCursor(id);
    SetCursor(m_cursor);
}

void CImagePreviewWnd::OnButtonDown(int x, int y) {
    const preview::PicturePoint point = preview::ClientToPicture(m_layout, x, y);
    m_click = POINT{point.x, point.y};
    if (!m_selectionEnabled) {
        return;
    }
    const preview::Edge edge = preview::HitTestLines(m_lineRects, x, y);
    SetCursorFor(edge);
    if (edge != preview::kNoEdge) {
        m_grabbed = edge;
        m_previousDrag = m_currentDrag = POINT{x, y};
        m_dragging = true;
    }
    SetCapture(m_hWnd);
}

void CImagePreviewWnd::OnMouseMove(int x, int y) {
    if (!m_selectionEnabled) {
        return;
    }
    if (!m_dragging) {
        SetCursorFor(preview::HitTestLines(m_lineRects, x, y));
        return;
    }
    SetCursorFor(m_grabbed);
    if (!preview::AcceptsDragPoint(m_layout, x, y)) {
        return;
    }
    m_previousDrag = m_currentDrag;
    m_currentDrag = POINT{x, y};
    if (!preview::DragLine(m_lineRects, m_grabbed, m_currentDrag.x - m_previousDrag.x,
                           m_currentDrag.y - m_previousDrag.y)) {
        m_dragging = false;
        return;
    }
    m_selection = preview::SelectionFromLines(m_lineRects, m_layout);
    MoveLines();
}

void CImagePreviewWnd::OnButtonUp() {
    m_dragging = false;
    m_grabbed = preview::kNoEdge;
    if (GetCapture() == m_hWnd) {
        ReleaseCapture();
    }
}

LRESULT CImagePreviewWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_PRINTCLIENT:
        if (lParam & PRF_ERASEBKGND) {
            EraseBackground(reinterpret_cast<HDC>(wParam));
        }
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND: EraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_SIZE:
        if (m_valid) {
            ApplyLayout(m_mode);
        }
        return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
        if (std::find(m_lines.begin(), m_lines.end(), reinterpret_cast<HWND>(lParam)) != m_lines.end()) {
            return reinterpret_cast<LRESULT>(m_greenBrush.Get());
        }
        break;
    case WM_SETCURSOR:
        if (m_selectionEnabled && reinterpret_cast<HWND>(wParam) == m_hWnd) {
            SetCursor(m_cursor);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN: OnButtonDown(x, y); return 0;
    case WM_MOUSEMOVE: OnMouseMove(x, y); return 0;
    case WM_LBUTTONUP: OnButtonUp(); return 0;
    case WM_CAPTURECHANGED: m_dragging = false; return 0;
    default: break;
    }
    return Default(message, wParam, lParam);
}
