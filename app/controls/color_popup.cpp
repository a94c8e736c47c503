#include "color_popup.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <vector>

#include "color_button.h"

namespace {

constexpr const wchar_t* kClassName = L"VizcamColourPopup";

RECT ToRect(const color_palette::Box& b) { return {b.left, b.top, b.right, b.bottom}; }

SIZE TextExtent(HDC dc, const std::wstring& text) {
    SIZE size{};
    if (!text.empty()) {
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    return size;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    const CBrush brush(color);
    FillRect(dc, &rect, brush.GetSafeHandle());
}

}  // namespace

bool CColorPopup::Create(POINT at, int buttonHeight, COLORREF initial, HWND owner, const std::wstring& automaticText,
                         const std::wstring& moreColorsText) {
    m_initial = initial;
    m_chosenColor = initial;
    m_owner = owner;
    m_automaticText = automaticText;
    m_moreColorsText = moreColorsText;

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_font = std::make_unique<CFont>(metrics.lfMessageFont);

    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * color_palette::kColourCount);
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = color_palette::kColourCount;
    for (int i = 0; i < color_palette::kColourCount; ++i) {
        const COLORREF c = color_palette::TableEntry(i).colour;
        logical->palPalEntry[i] = {GetRValue(c), GetGValue(c), GetBValue(c), 0};
    }
    m_palette.reset(CreatePalette(logical));

    if (!RegisterWindowClass(kClassName, CS_SAVEBITS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW,
                             reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)))) {
        return false;
    }
    const RECT first{at.x, at.y, at.x + 100, at.y + 100};
    if (!CreateEx(0, kClassName, L"", WS_POPUP | WS_VISIBLE, first, owner, 0)) {
        return false;
    }
    Size(at, buttonHeight);
    CreateTooltips();
    m_chosen = color_palette::ChosenCellFor(m_layout, initial);
    SetCapture(m_hWnd);
    return true;
}

void CColorPopup::Size(POINT at, int buttonHeight) {
    HDC dc = GetDC(m_hWnd);
    const HGDIOBJ old = SelectObject(dc, m_font->GetSafeHandle());
    const SIZE automatic = TextExtent(dc, m_automaticText);
    const SIZE more = TextExtent(dc, m_moreColorsText);
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);
    m_layout = color_palette::LayoutPopup(GetSystemMetrics(SM_CXEDGE), !m_automaticText.empty(),
                                          {automatic.cx, automatic.cy}, !m_moreColorsText.empty(), {more.cx, more.cy});
    const color_palette::Point place =
        color_palette::PlacePopup({at.x, at.y}, m_layout.width, m_layout.height, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), buttonHeight);
    SetWindowPos(m_hWnd, nullptr, place.x, place.y, m_layout.width, m_layout.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CColorPopup::CreateTooltips() {
    m_tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_tooltip) {
        return;
    }
    for (int i = 0; i < color_palette::kColourCount; ++i) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = 0;
        tool.hwnd = m_hWnd;
        tool.uId = static_cast<UINT_PTR>(i + 1);
        tool.rect = CellRect(i);
        tool.lpszText = const_cast<wchar_t*>(color_palette::TableEntry(i).name);
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

RECT CColorPopup::CellRect(int index) const {
    if (index == color_palette::kAutomaticCell) return ToRect(m_layout.automatic);
    if (index == color_palette::kMoreCell) return ToRect(m_layout.more);
    return ToRect(color_palette::CellBox(m_layout, index));
}

void CColorPopup::InvalidateCell(int index) {
    if (index == color_palette::kNoCell) {
        return;
    }
    const RECT rect = CellRect(index);
    InvalidateRect(m_hWnd, &rect, FALSE);
}

void CColorPopup::ChangeSelection(int index) {
    index = color_palette::NormaliseSelection(index);
    InvalidateCell(m_current);
    m_current = index;
    InvalidateCell(m_current);
    UpdateWindow(m_hWnd);
    COLORREF reported = 0;
    if (index == color_palette::kMoreCell) {
        reported = m_initial;
    } else if (index == color_palette::kAutomaticCell) {
        reported = m_chosenColor = kAutomaticColor;
    } else if (index >= 0) {
        reported = m_chosenColor = color_palette::TableEntry(index).colour;
    } else {
        return;
    }
    SendMessageW(m_owner, WM_COLOR_CHANGED, reported, 0);
}

void CColorPopup::EndSelection(UINT message) {
    if (m_ending) {
        return;
    }
    m_ending = true;
    ReleaseCapture();
    COLORREF result = m_chosenColor;
    if (message == WM_COLOR_CANCELLED) {
        result = m_chosenColor = m_initial;
    } else if (m_current == color_palette::kMoreCell) {
        m_childDialogOpen = true;
        static COLORREF custom[16] = {};
        CHOOSECOLORW choose{};
        choose.lStructSize = sizeof(choose);
        choose.hwndOwner = m_hWnd;
        choose.rgbResult = m_initial;
        choose.lpCustColors = custom;
        choose.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
        if (ChooseColorW(&choose)) {
            result = m_chosenColor = choose.rgbResult;
        } else {
            message = WM_COLOR_CANCELLED;
            result = m_chosenColor = m_initial;
        }
        m_childDialogOpen = false;
    }
    SendMessageW(m_owner, message, result, 0);
    DestroyWindow();
}

void CColorPopup::OnKey(UINT key) {
    using color_palette::Key;
    switch (key) {
    case VK_DOWN: ChangeSelection(color_palette::Navigate(m_layout, m_current, Key::kDown)); break;
    case VK_UP: ChangeSelection(color_palette::Navigate(m_layout, m_current, Key::kUp)); break;
    case VK_RIGHT: ChangeSelection(color_palette::Navigate(m_layout, m_current, Key::kRight)); break;
    case VK_LEFT: ChangeSelection(color_palette::Navigate(m_layout, m_current, Key::kLeft)); break;
    case VK_RETURN:
    case VK_SPACE: EndSelection(WM_COLOR_SELECTED); break;
    case VK_ESCAPE: EndSelection(WM_COLOR_CANCELLED); break;
    default: break;
    }
}

LRESULT CColorPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_tooltip && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        MSG relayed{m_hWnd, message, wParam, lParam, 0, {}};
        SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    // The pop-up keeps the pointer while it is open, except under the system dialog.
    if (!m_ending && !m_childDialogOpen && message != WM_KILLFOCUS && message != WM_CAPTURECHANGED &&
        message != WM_NCDESTROY && message != WM_DESTROY && GetCapture() != m_hWnd && IsWindowVisible(m_hWnd)) {
        SetCapture(m_hWnd);
    }
    switch (message) {
    case WM_MOUSEMOVE: {
        const int cell = color_palette::HitTest(m_layout, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (cell != color_palette::kNoCell && cell != m_current) {
            ChangeSelection(cell);
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        // Where the button went up, in the pop-up's client (negative outside).
        RECT client{};
        GetClientRect(m_hWnd, &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        EndSelection(PtInRect(&client, at) ? WM_COLOR_SELECTED : WM_COLOR_CANCELLED);
        return 0;
    }
    case WM_KEYDOWN: OnKey(static_cast<UINT>(wParam)); return 0;
    case WM_KILLFOCUS:
        if (!m_childDialogOpen) {
            ReleaseCapture();
        }
        return Default(message, wParam, lParam);
    case WM_ACTIVATEAPP:
        if (!wParam && !m_childDialogOpen) {
            EndSelection(WM_COLOR_CANCELLED);
        }
        return 0;
    case WM_QUERYNEWPALETTE: InvalidateRect(m_hWnd, nullptr, FALSE); return Default(message, wParam, lParam);
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) {
            InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return Default(message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        Paint(dc);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void CColorPopup::Paint(HDC dc) {
    HPALETTE oldPalette = nullptr;
    if (m_palette && (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE)) {
        oldPalette = SelectPalette(dc, m_palette.get(), FALSE);
        RealizePalette(dc);
    }
    if (m_layout.hasAutomatic) DrawCaptionCell(dc, color_palette::kAutomaticCell);
    for (int i = 0; i < color_palette::kColourCount; ++i) DrawColourCell(dc, i);
    if (m_layout.hasMore) DrawCaptionCell(dc, color_palette::kMoreCell);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
    if (oldPalette) {
        SelectPalette(dc, oldPalette, FALSE);
    }
}

void CColorPopup::DrawColourCell(HDC dc, int index) {
    RECT rect = CellRect(index);
    const bool hover = index == m_current;
    const bool chosen = index == m_chosen;
    FillSolid(dc, rect, GetSysColor(chosen && !hover ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    if (hover) {
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    } else if (chosen) {
        DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    }
    const int inset = m_layout.margin + 1;
    InflateRect(&rect, -inset, -inset);
    const CBrush fill(PALETTERGB(GetRValue(color_palette::TableEntry(index).colour),
                                 GetGValue(color_palette::TableEntry(index).colour),
                                 GetBValue(color_palette::TableEntry(index).colour)));
    const CPen outline(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    const HGDIOBJ oldBrush = SelectObject(dc, fill.GetSafeHandle());
    const HGDIOBJ oldPen = SelectObject(dc, outline.GetSafeHandle());
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

void CColorPopup::DrawCaptionCell(HDC dc, int index) {
    const bool more = index == color_palette::kMoreCell;
    RECT rect = CellRect(index);
    const bool hover = index == m_current;
    const bool chosen = index == m_chosen;
    const int margin = m_layout.margin;
    if (more) {
        // A separator line pair above the cell.
        RECT line{rect.left + 2 * margin, rect.top, rect.right - 2 * margin, rect.top + 1};
        FillSolid(dc, line, GetSysColor(COLOR_BTNSHADOW));
        OffsetRect(&line, 0, 1);
        FillSolid(dc, line, GetSysColor(COLOR_BTNHIGHLIGHT));
        rect.top += 2 * margin;
    }
    FillSolid(dc, rect, GetSysColor(COLOR_BTNFACE));
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    FillSolid(dc, inner, GetSysColor(chosen && !hover ? COLOR_3DLIGHT : COLOR_BTNFACE));
    RECT frame = rect;
    InflateRect(&frame, -2 * margin, -2 * margin);
    const CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
    FrameRect(dc, &frame, shadow.GetSafeHandle());
    if (hover) {
        DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    } else if (chosen) {
        DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
    }
    const std::wstring& text = more ? m_moreColorsText : m_automaticText;
    const HGDIOBJ oldFont = SelectObject(dc, m_font->GetSafeHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
}
