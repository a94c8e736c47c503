#include "combo_tool_bar.h"

namespace {
constexpr int kDroppedListHeight = 200;
}

bool CComboToolBar::CreateCombo(CFlatComboBox& combo, UINT id, int width, DWORD style) {
    if (!ReplaceButtonWithGap(id, width)) {
        return false;
    }
    RECT place{};
    if (!GetItemRect(CommandToIndex(id), place)) {
        return false;
    }
    const RECT rect{place.left, place.top + 1, place.left + width, place.top + 1 + kDroppedListHeight};
    return combo.Create(m_hWnd, id, rect, style);
}

LRESULT CComboToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A combo's notifications go to its parent, this toolbar: pass them on
    // to the frame, which routes them.
    if (message == WM_COMMAND && lParam) {
        return SendMessageW(GetParent(m_hWnd), message, wParam, lParam);
    }
    return Default(message, wParam, lParam);
}
