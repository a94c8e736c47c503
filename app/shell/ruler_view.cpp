#include "ruler_view.h"

#include <cwchar>

#include "static_splitter.h"

namespace {

constexpr const wchar_t* kFaceName = L"Times New Roman";

LOGFONTW LabelFont(bool horizontal) {
    LOGFONTW font{};
    font.lfHeight = horizontal ? 12 : 10;
    // Tenths of a degree: the vertical bar's labels run a quarter turn up.
    font.lfEscapement = font.lfOrientation = horizontal ? 0 : 900;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, kFaceName, LF_FACESIZE - 1);
    return font;
}

}  // namespace

bool CRulerPane::Create(HWND splitter, UINT id, const wchar_t* className) {
    if (!RegisterWindowClass(className, CS_DBLCLKS | CS_BYTEALIGNWINDOW, reinterpret_cast<HBRUSH>(COLOR_MENU + 1))) {
        return false;
    }
    return CreateEx(0, className, L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, splitter, id);
}

LRESULT CRulerPane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE: return 0;
    case WM_SETFOCUS: {
        const auto* splitter = dynamic_cast<const CStaticSplitter*>(CWindow::FromHandle(GetParent(m_hWnd)));
        const CWindow* view = splitter ? splitter->GetPane(1, 1) : nullptr;
        if (view && view->GetSafeHwnd()) {
            SetFocus(view->GetSafeHwnd());
        }
        return 0;
    }
    default: return CWindow::WindowProc(message, wParam, lParam);
    }
}

RulerBarAxis CRulerView::Axis() const {
    const RulerBarGeometry& g = m_geometry;
    return m_bHorizontal ? RulerBarAxis{g.origin.x, g.scroll.x, g.width, g.zoomX, g.zoomY}
                         : RulerBarAxis{g.origin.y, g.scroll.y, g.height, g.zoomY, g.zoomX};
}

void CRulerView::Redraw(int kind, const RulerBarGeometry& geometry, POINT mouse) {
    if (!(geometry == m_geometry)) {
        m_geometry = geometry;
        m_bStale = true;
    }
    if (!m_hWnd) {
        return;
    }
    if (kind == 3) {
        const RulerBarAxis axis = Axis();
        const int position = m_bHorizontal ? mouse.x : mouse.y;
        if (!IsOnRulerPicture(axis, position)) {
            return;
        }
        if (m_bStale) {
            RebuildBuffer();
        }
        if (m_marker) {
            InvertMarker(*m_marker);  // erases it
        }
        m_marker = position;
        InvertMarker(position);
    } else if ((kind == 2 && m_bHorizontal) || (kind == 1 && !m_bHorizontal)) {
        RebuildBuffer();
    } else {
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return;
    }
    const CClientDC window(m_hWnd);
    CopyBufferTo(window.GetSafeHdc());
}

void CRulerView::OnDraw(CDC& dc, int width, int height) const {
    dc.FillSolidRect(RECT{0, 0, width, height}, RGB(255, 255, 255));
    const CFont font(LabelFont(m_bHorizontal));
    const CSelectObject selectFont(dc, font.GetSafeHandle());
    const CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    const CSelectObject selectPen(dc, pen.GetSafeHandle());
    SetTextAlign(dc.GetSafeHdc(), (m_bHorizontal ? TA_RIGHT : TA_LEFT) | TA_TOP);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    const int length = m_bHorizontal ? width : height;
    const int depth = m_bHorizontal ? height : width;
    for (const RulerBarTick& tick : RulerBarTicks(Axis())) {
        // Ticks off the bar are not drawn; their labels may still reach in.
        if (tick.position >= -64 && tick.position < length + 64) {
            if (m_bHorizontal) {
                dc.MoveTo(tick.position, tick.depth);
                dc.LineTo(tick.position, depth);
            } else {
                dc.MoveTo(tick.depth, tick.position);
                dc.LineTo(depth, tick.position);
            }
            if (tick.label) {
                wchar_t text[16] = {};
                const int n = std::swprintf(text, 16, L"%d", *tick.label);
                if (m_bHorizontal) {
                    TextOutW(dc.GetSafeHdc(), tick.position, 0, text, n);
                } else {
                    TextOutW(dc.GetSafeHdc(), 0, tick.position, text, n);
                }
            }
        }
    }
}

void CRulerView::RebuildBuffer() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (!m_buffer || m_buffer->GetWidth() != client.right || m_buffer->GetHeight() != client.bottom) {
        m_buffer = std::make_unique<CMemoryDC>(nullptr, client.right, client.bottom, CMemoryDC::Kind::dibSection);
    }
    if (!m_buffer->IsValid()) {
        return;
    }
    OnDraw(*m_buffer, client.right, client.bottom);
    if (m_marker) {
        InvertMarker(*m_marker);
    }
    m_bStale = false;
}

void CRulerView::InvertMarker(int position) {
    if (!m_buffer || !m_buffer->IsValid()) {
        return;
    }
    HDC dc = m_buffer->GetSafeHdc();
    if (m_bHorizontal) {
        PatBlt(dc, position, 0, 1, m_buffer->GetHeight(), DSTINVERT);
    } else {
        PatBlt(dc, 0, position, m_buffer->GetWidth(), 1, DSTINVERT);
    }
}

void CRulerView::CopyBufferTo(HDC dc) {
    if (m_bStale) {
        RebuildBuffer();
    }
    if (m_buffer && m_buffer->IsValid()) {
        BitBlt(dc, 0, 0, m_buffer->GetWidth(), m_buffer->GetHeight(), m_buffer->GetSafeHdc(), 0, 0, SRCCOPY);
    }
}

LRESULT CRulerView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers the whole bar
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(m_hWnd, &paint);
        RebuildBuffer();
        CopyBufferTo(dc);
        EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: CopyBufferTo(reinterpret_cast<HDC>(wParam)); return 0;
    default: return CRulerPane::WindowProc(message, wParam, lParam);
    }
}
