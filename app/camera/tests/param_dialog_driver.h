#pragma once
// Drives a camera family's video-parameter dialog by control id: each
// control is found on whichever page of the tab control holds it.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "camera_resource.h"
#include "modal_script.h"

namespace param_dialog_driver {

// The page of the dialog that holds the control.
inline HWND PageWith(HWND dialog, int id) {
    HWND tabs = GetDlgItem(dialog, IDC_VP_TABS);
    for (HWND page = FindWindowExW(tabs, nullptr, L"#32770", nullptr); page;
         page = FindWindowExW(tabs, page, L"#32770", nullptr)) {
        if (GetDlgItem(page, id)) {
            return page;
        }
    }
    return nullptr;
}
inline HWND Control(HWND dialog, int id) { return GetDlgItem(PageWith(dialog, id), id); }
inline void Type(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(PageWith(dialog, id), id, text); }
inline void Press(HWND dialog, int id) { testing_support::ModalScript::Press(PageWith(dialog, id), id); }
inline std::wstring Shown(HWND dialog, int id) {
    return testing_support::ModalScript::ItemText(PageWith(dialog, id), id);
}
inline bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(PageWith(dialog, id), id) == BST_CHECKED; }
inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Control(dialog, id)) != FALSE; }
// Visible as far as the page is: the hidden page does not count.
inline bool Shows(HWND dialog, int id) { return (GetWindowLongW(Control(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }
inline int Selected(HWND dialog, int id) { return int(SendMessageW(Control(dialog, id), CB_GETCURSEL, 0, 0)); }
// Selects an item as the user does: the page hears of the change.
inline void Choose(HWND dialog, int id, int index) {
    HWND page = PageWith(dialog, id);
    SendMessageW(GetDlgItem(page, id), CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}
// Moves a slider as the user does: the page hears of the new position.
inline void Slide(HWND dialog, int id, int position) {
    HWND slider = Control(dialog, id);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(PageWith(dialog, id), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(slider));
}
inline std::vector<std::wstring> Items(HWND dialog, int id) {
    HWND combo = Control(dialog, id);
    std::vector<std::wstring> items;
    for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

}  // namespace param_dialog_driver
