#include "tab_window.h"

#include <commctrl.h>

#include "resource_module.h"

bool CTabWindow::Create(HWND parent, UINT id) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_TAB_CLASSES;
    InitCommonControlsEx(&icc);
    if (!CreateEx(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_BOTTOM, RECT{0, 0, 0, 0},
                  parent, id)) {
        return false;
    }
    SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
}

bool CTabWindow::SetImageList(UINT bitmapId, int imageWidth, int grow, COLORREF mask) {
    UniqueGdiHandle bitmap(
        LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof(info), &info) || imageWidth <= 0) {
        return false;
    }
    UniqueImageList list(
        ImageList_Create(imageWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, info.bmWidth / imageWidth, grow));
    if (!list || ImageList_AddMasked(list.Get(), static_cast<HBITMAP>(bitmap.Get()), mask) < 0) {
        return false;
    }
    m_images = std::move(list);
    SendMessageW(m_hWnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.Get()));
    return true;
}

int CTabWindow::AddTab(HWND child, const std::wstring& title, int image) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(title.c_str());
    item.iImage = image;
    const int index =
        static_cast<int>(SendMessageW(m_hWnd, TCM_INSERTITEMW, m_children.size(), reinterpret_cast<LPARAM>(&item)));
    if (index < 0) {
        return -1;
    }
    m_children.insert(m_children.begin() + index, child);
    SelectTab(GetCurSel() < 0 ? 0 : GetCurSel());
    return index;
}

int CTabWindow::GetCurSel() const { return static_cast<int>(SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0)); }

void CTabWindow::SelectTab(int index) {
    if (index < 0 || index >= GetTabCount()) {
        return;
    }
    SendMessageW(m_hWnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    PlaceChildren();
}

bool CTabWindow::OnReflectedNotify(NMHDR& header, LRESULT& result) {
    if (header.code == static_cast<UINT>(TCN_SELCHANGE)) {
        PlaceChildren();
        result = 0;
        return true;
    }
    return false;
}

void CTabWindow::PlaceChildren() {
    RECT area{};
    GetClientRect(m_hWnd, &area);
    SendMessageW(m_hWnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int current = GetCurSel();
    for (int i = 0; i < GetTabCount(); ++i) {
        HWND child = m_children[static_cast<std::size_t>(i)];
        if (i == current) {
            MoveWindow(child, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
        }
        ShowWindow(child, i == current ? SW_SHOWNA : SW_HIDE);
    }
}

LRESULT CTabWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        const LRESULT result = Default(message, wParam, lParam);
        PlaceChildren();
        return result;
    }
    if (message == WM_NOTIFY || message == WM_COMMAND) {
        // Children's notifications go on to the bar that holds the tabs.
        return SendMessageW(GetParent(m_hWnd), message, wParam, lParam);
    }
    return Default(message, wParam, lParam);
}
