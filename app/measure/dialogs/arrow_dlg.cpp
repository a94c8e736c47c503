#include "arrow_dlg.h"

#include <array>

#include "arrow_pictures.h"
#include "cl_arrow.h"
#include "counting_resource.h"
#include "object_dialogs_resource.h"
#include "resource_module.h"
#include "gdi_objects.h"

namespace {

// White is the arrow pictures' transparent colour: a white arrow is kept
// one step off white.
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kStoredWhite = RGB(254, 254, 254);

constexpr std::array<int, 4> kSizes{25, 50, 75, 100};

int DirectionOf(int id) { return id >= IDC_ARROW_UP && id <= IDC_ARROW_DOWN_RIGHT ? id - IDC_ARROW_UP : -1; }

COLORREF Halved(COLORREF c) { return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2); }

void Line(HDC dc, COLORREF colour, int x0, int y0, int x1, int y1) {
    UniqueGdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, colour));
    HGDIOBJ old = ::SelectObject(dc, pen.get());
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
    ::SelectObject(dc, old);
}

}  // namespace

CArrowDlg::CArrowDlg(HWND parent) : CDialog(IDD_ARROW, parent) {
    BindExchange([this](HWND dialog, BOOL save) {
        DDX_ColorButton(dialog, save, IDC_ARROW_COLOUR, m_color);
        return true;
    });
}

BOOL CArrowDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND sizes = GetDlgItem(IDC_ARROW_SIZE);
    ::SendMessageW(sizes, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* entry : {L"25x25", L"50x50", L"75x75", L"100x100"}) {
        ::SendMessageW(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    if (!CWindow::FromHandle(GetDlgItem(IDC_ARROW_COLOUR))) {
        m_colorButton.SubclassDlgItem(m_hWnd, IDC_ARROW_COLOUR);
    }
    m_colorButton.SetAutomaticText(LoadResourceString(IDS_COLOR_AUTOMATIC));
    m_colorButton.SetMoreColorsText(LoadResourceString(IDS_COLOR_MORE));
    m_colorButton.SetTrackSelection(true);
    ShowArrowValues();
    return TRUE;
}

void CArrowDlg::ShowArrowValues() {
    int sizeIndex = 0;
    if (m_arrow) {
        const ArrowSize size = m_arrow->GetArrowSize();
        m_nWidth = size.width;
        m_nHeight = size.height;
        for (std::size_t i = 1; i < kSizes.size(); ++i) {
            if (size.width == kSizes[i]) {
                sizeIndex = static_cast<int>(i);
            }
        }
        m_nDirection = m_arrow->GetDirection();
        m_color = static_cast<COLORREF>(m_arrow->GetArrowColor());
        if (m_color == kStoredWhite) {
            m_color = kWhite;
        }
    }
    ::SendMessageW(GetDlgItem(IDC_ARROW_SIZE), CB_SETCURSEL, static_cast<WPARAM>(sizeIndex), 0);
    UpdateData(FALSE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CArrowDlg::ApplyStyle() {
    if (m_arrow) {
        m_arrow->SetArrowStyle(m_nDirection, m_nWidth, m_nHeight);
    }
}

BOOL CArrowDlg::OnCommand(WORD id, WORD code) {
    if (const int direction = DirectionOf(id); direction >= 0 && code == BN_CLICKED) {
        m_nDirection = direction;
        ApplyStyle();
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    }
    if (id == IDC_ARROW_SIZE && code == CBN_SELCHANGE) {
        const LRESULT index = ::SendMessageW(GetDlgItem(IDC_ARROW_SIZE), CB_GETCURSEL, 0, 0);
        if (index >= 0 && index < static_cast<LRESULT>(kSizes.size())) {
            m_nWidth = m_nHeight = kSizes[static_cast<std::size_t>(index)];
            ApplyStyle();
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CArrowDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COLOR_SELECTED) {
        COLORREF chosen = m_colorButton.GetColor();
        if (chosen == kWhite) {
            chosen = kStoredWhite;
        }
        m_color = chosen;
        if (m_arrow) {
            m_arrow->SetArrowColor(static_cast<ColourRef>(chosen));
        }
        m_colorButton.SetColor(chosen);
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && DirectionOf(static_cast<int>(item->CtlID)) >= 0) {
            DrawDirectionButton(item->hDC, static_cast<int>(item->CtlID), item->rcItem,
                                (item->itemState & ODS_SELECTED) != 0);
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
    }
    return CDialog::OnMessage(message, wParam, lParam);
}

void CArrowDlg::DrawDirectionButton(HDC dc, int id, const RECT& rect, bool pressed) const {
    const int direction = DirectionOf(id);
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    Line(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT), rect.left + 1, rect.top + 1, rect.left + 1, bottom);
    Line(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT), rect.left + 1, rect.top + 1, right, rect.top + 1);
    Line(dc, shadow, right - 1, rect.top + 1, right - 1, bottom);
    Line(dc, shadow, rect.left + 1, bottom - 1, right, bottom - 1);
    Line(dc, Halved(shadow), right, rect.top, right, bottom + 1);
    Line(dc, Halved(shadow), rect.left, bottom, right + 1, bottom);
    if (pressed || direction == m_nDirection) {
        UniqueGdiObject<HPEN> red(::CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
        HGDIOBJ oldPen = ::SelectObject(dc, red.get());
        HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, rect.left + 2, rect.top + 2, right - 1, bottom - 1);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
    }
    const std::optional<ArrowPicture> picture = ArrowPictureFor(direction);
    if (!picture) {
        return;
    }
    UniqueGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(picture->bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) {
        return;
    }
    HDC source = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(source, bitmap.get());
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::GdiTransparentBlt(dc, rect.left + 2, rect.top + 2, (rect.right - rect.left) - 4, (rect.bottom - rect.top) - 4,
                        source, 0, 0, kArrowPictureSize, kArrowPictureSize, kWhite);
    ::SelectObject(source, old);
    ::DeleteDC(source);
}
