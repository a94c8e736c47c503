#include "flat_combo_box.h"

#include <commctrl.h>

bool CFlatComboBox::Create(HWND parent, UINT id, const RECT& rect, DWORD style) {
    if (!CreateEx(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | style, rect, parent, id)) {
        return false;
    }
    SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
}

int CFlatComboBox::AddString(const std::wstring& text) {
    return static_cast<int>(SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int CFlatComboBox::GetCount() const { return static_cast<int>(SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0)); }

int CFlatComboBox::GetCurSel() const { return static_cast<int>(SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)); }

void CFlatComboBox::SetCurSel(int index) { SendMessageW(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::wstring CFlatComboBox::GetItemText(int index) const {
    const LRESULT length = SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void CFlatComboBox::ResetContent() { SendMessageW(m_hWnd, CB_RESETCONTENT, 0, 0); }

bool CFlatComboBox::OnReflectedCommand(WORD code) {
    switch (code) {
    case CBN_DROPDOWN: OnDropDown(); return true;
    case CBN_SELCHANGE: OnSelectionChanged(); return true;
    default: return false;
    }
}
