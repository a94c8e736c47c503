#include "param_page_controls.h"

#include <cwchar>
#include <string>

std::optional<double> EditNumber(HWND page, int id) {
    wchar_t text[32] = {};
    GetDlgItemTextW(page, id, text, 32);
    wchar_t* end = nullptr;
    const double value = std::wcstod(text, &end);
    if (end == text || *end != L'\0') {
        return std::nullopt;
    }
    return value;
}

void EnableControls(HWND page, std::initializer_list<int> ids, bool on) {
    for (int id : ids) {
        EnableWindow(GetDlgItem(page, id), on ? TRUE : FALSE);
    }
}

void ShowControls(HWND page, std::initializer_list<int> ids, bool on) {
    for (int id : ids) {
        ShowWindow(GetDlgItem(page, id), on ? SW_SHOW : SW_HIDE);
    }
}

void FillCombo(HWND page, int id, std::span<const std::wstring_view> items, int selected) {
    HWND combo = GetDlgItem(page, id);
    for (std::wstring_view item : items) {
        const std::wstring text(item);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, WPARAM(selected), 0);
}

int ComboSelection(HWND page, int id) { return int(SendMessageW(GetDlgItem(page, id), CB_GETCURSEL, 0, 0)); }

void SelectCombo(HWND page, int id, int index) { SendMessageW(GetDlgItem(page, id), CB_SETCURSEL, WPARAM(index), 0); }

bool IsBoxChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void CheckBox(HWND page, int id, int on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }
