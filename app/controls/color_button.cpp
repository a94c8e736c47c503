#include "color_button.h"

#include "color_popup.h"
#include "gdi_objects.h"

CColorButton::CColorButton() : m_defaultColor(GetSysColor(COLOR_APPWORKSPACE)) {}

CColorButton::~CColorButton() {
    // The pop-up goes first: it reports to this button's window.
    m_popup.reset();
    DestroyWindow();
}

bool CColorButton::SubclassDlgItem(HWND dialog, int id) {
    HWND control = ::GetDlgItem(dialog, id);
    if (!control) {
        return false;
    }
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    SetWindowLongW(control, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
    return Subclass(control);
}

bool CColorButton::Create(HWND parent, const RECT& rect, int id) {
    return CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect, parent,
                    static_cast<UINT>(id));
}

void CColorButton::SetColor(COLORREF color) {
    m_color = color;
    if (m_hWnd) {
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
    }
}

HWND CColorButton::PopupWindow() const { return m_popup ? m_popup->GetSafeHwnd() : nullptr; }

void CColorButton::Notify(UINT message, COLORREF color) const {
    SendMessageW(GetParent(m_hWnd), message, color, GetDlgCtrlID(m_hWnd));
}

bool CColorButton::OnReflectedCommand(WORD code) {
    if (code != BN_CLICKED) {
        return false;
    }
    Open();
    return true;
}

void CColorButton::Open() {
    m_active = true;
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    m_popup = std::make_unique<CColorPopup>();
    if (!m_popup->Create({window.left, window.bottom}, window.bottom - window.top, m_color, m_hWnd, m_automaticText,
                         m_moreColorsText)) {
        m_popup.reset();
        m_active = false;
        return;
    }
    Notify(WM_COLOR_DROPDOWN, m_color);
}

LRESULT CColorButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto color = static_cast<COLORREF>(wParam);
    switch (message) {
    case WM_COLOR_SELECTED: {
        const COLORREF old = m_color;
        m_active = false;
        SetColor(color);
        Notify(WM_COLOR_CLOSEUP, color);
        Notify(WM_COLOR_SELECTED, color);
        if (color != old) {
            Notify(WM_COLOR_CHANGED, color);
        }
        return 0;
    }
    case WM_COLOR_CANCELLED:
        m_active = false;
        SetColor(color);
        Notify(WM_COLOR_CLOSEUP, color);
        Notify(WM_COLOR_CANCELLED, color);
        return 0;
    case WM_COLOR_CHANGED:
        if (m_trackSelection) {
            SetColor(color);
        }
        Notify(WM_COLOR_CHANGED, color);
        return 0;
    default: return Default(message, wParam, lParam);
    }
}

bool CColorButton::OnReflectedDrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    UINT state = item.itemState;
    if (m_active) {
        state |= ODS_SELECTED | ODS_FOCUS;
    }
    const bool selected = state & ODS_SELECTED;
    const bool disabled = state & ODS_DISABLED;
    RECT rect = item.rcItem;
    DrawFrameControl(dc, &rect, DFC_BUTTON,
                     DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (selected ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0));
    if (selected) {
        OffsetRect(&rect, 1, 1);
    }
    if (state & ODS_FOCUS) {
        RECT focus = rect;
        focus.right -= 1;
        DrawFocusRect(dc, &focus);
    }
    const int edgeX = GetSystemMetrics(SM_CXEDGE);
    InflateRect(&rect, -edgeX, -GetSystemMetrics(SM_CYEDGE));

    // The drop-down arrow: a small filled triangle at the right.
    const int arrowRight = rect.right - edgeX / 2;
    const int arrowLeft = arrowRight - 4;
    const int middle = (rect.top + rect.bottom) / 2;
    const POINT arrow[3] = {
        {arrowLeft, middle - 1}, {arrowRight, middle - 1}, {(arrowLeft + arrowRight) / 2, middle + 1}};
    const COLORREF arrowColor = disabled ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0);
    {
        const CBrush brush(arrowColor);
        const CPen pen(PS_SOLID, 1, arrowColor);
        const HGDIOBJ oldBrush = SelectObject(dc, brush.GetSafeHandle());
        const HGDIOBJ oldPen = SelectObject(dc, pen.GetSafeHandle());
        Polygon(dc, arrow, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }

    rect.right = arrowLeft - edgeX / 2;
    DrawEdge(dc, &rect, EDGE_ETCHED, BF_RIGHT);
    rect.right -= 2 * edgeX + 1;
    if (disabled) {
        return true;
    }
    const CBrush swatch(m_color == kAutomaticColor ? m_defaultColor : m_color);
    FillRect(dc, &rect, swatch.GetSafeHandle());
    FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return true;
}

void DDX_ColorButton(HWND dialog, BOOL saveAndValidate, int id, COLORREF& color) {
    auto* button = dynamic_cast<CColorButton*>(CWindow::FromHandle(::GetDlgItem(dialog, id)));
    if (!button) {
        return;
    }
    if (saveAndValidate) {
        color = button->GetColor();
    } else {
        button->SetColor(color);
    }
}
