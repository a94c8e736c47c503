#include "combo_tool_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr int kDroppedListHeight = 200;
constexpr UINT_PTR kDropDownSubclass = 1;
// Marks a window that drops down under a button while it lives, so a handle
// the system has given to another window since is never shown.
constexpr const wchar_t* kDropDownProperty = L"Vizcam.DropDown";

// Hides a dropped-down window when the user is done with it. It keeps no
// state, so it cannot outlive what it refers to.
LRESULT CALLBACK DropDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_KILLFOCUS: ShowWindow(hwnd, SW_HIDE); break;
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
        if (message == WM_LBUTTONUP || wParam == VK_ESCAPE || wParam == VK_RETURN) {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            // Hiding the focus window leaves the focus nowhere: give it back
            // to the parent first.
            SetFocus(GetParent(hwnd));
            ShowWindow(hwnd, SW_HIDE);
            return result;
        }
        break;
    case WM_NCDESTROY:
        RemovePropW(hwnd, kDropDownProperty);
        RemoveWindowSubclass(hwnd, &DropDownProc, kDropDownSubclass);
        break;
    default: break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
}  // namespace

bool CComboToolBar::CreateCombo(CFlatComboBox& combo, UINT id, int width, DWORD style) {
    if (!ReplaceButtonWithGap(id, width)) {
        return false;
    }
    RECT place{};
    if (!GetItemRect(CommandToIndex(id), place)) {
        return false;
    }
    const RECT rect{place.left, place.top + 1, place.left + width, place.top + 1 + kDroppedListHeight};
    if (!combo.Create(m_hWnd, id, rect, style)) {
        return false;
    }
    m_combos.emplace_back(id, combo.GetSafeHwnd());
    return true;
}

void CComboToolBar::OnLayoutChanged(bool vertical) {
    for (const auto& [id, combo] : m_combos) {
        RECT place{};
        if (!vertical && GetItemRect(CommandToIndex(id), place)) {
            SetWindowPos(combo, nullptr, place.left, place.top + 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ShowWindow(combo, vertical ? SW_HIDE : SW_SHOWNA);
    }
}

bool CComboToolBar::SetButtonDropDown(UINT id, int image, HWND window) {
    if (!window || CommandToIndex(id) < 0) {
        return false;
    }
    // Subclassing again with the same procedure and id replaces, never stacks.
    if (!SetWindowSubclass(window, &DropDownProc, kDropDownSubclass, 0)) {
        return false;
    }
    SetPropW(window, kDropDownProperty, window);
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE;
    if (SendMessageW(m_hWnd, TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info)) < 0) {
        return false;
    }
    info.dwMask = TBIF_STYLE | TBIF_IMAGE;
    info.fsStyle = static_cast<BYTE>(info.fsStyle | BTNS_DROPDOWN);
    info.iImage = image;
    if (!SendMessageW(m_hWnd, TB_SETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info))) {
        return false;
    }
    const auto extended = static_cast<DWORD>(SendMessageW(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0));
    SendMessageW(m_hWnd, TB_SETEXTENDEDSTYLE, 0, static_cast<LPARAM>(extended | TBSTYLE_EX_DRAWDDARROWS));
    std::erase_if(m_dropDowns, [id](const auto& entry) { return entry.first == id; });
    m_dropDowns.emplace_back(id, window);
    return true;
}

bool CComboToolBar::DropDown(UINT id) {
    const auto found = std::ranges::find(m_dropDowns, id, &std::pair<UINT, HWND>::first);
    if (found == m_dropDowns.end() || GetPropW(found->second, kDropDownProperty) != found->second) {
        return false;
    }
    HWND window = found->second;
    RECT button{};
    if (!SendMessageW(m_hWnd, TB_GETRECT, id, reinterpret_cast<LPARAM>(&button))) {
        return false;
    }
    MapWindowPoints(m_hWnd, GetParent(window), reinterpret_cast<POINT*>(&button), 2);
    SetWindowPos(window, HWND_TOP, button.left, button.bottom, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetFocus(window);
    return true;
}

bool CComboToolBar::OnReflectedNotify(NMHDR& header, LRESULT& result) {
    // Only TBN_DROPDOWN carries the larger toolbar record; every other
    // notification is read as its header alone.
    if (header.hwndFrom != m_hWnd || header.code != TBN_DROPDOWN) {
        return false;
    }
    const auto& notice = reinterpret_cast<const NMTOOLBARW&>(header);
    if (!DropDown(static_cast<UINT>(notice.iItem))) {
        return false;
    }
    result = TBDDRET_DEFAULT;
    return true;
}

LRESULT CComboToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A combo's notifications go to its parent, this toolbar: pass them on
    // to the frame, which routes them.
    if (message == WM_COMMAND && lParam) {
        return SendMessageW(GetParent(m_hWnd), message, wParam, lParam);
    }
    return CDockingToolBar::WindowProc(message, wParam, lParam);
}
