#pragma once
// A toolbar that can carry combo boxes in place of some of its buttons, and
// windows that drop down under a button's arrow. Its combos show while it
// lies in a row or floats; standing in a column it shows only its buttons.
#include <windows.h>

#include <utility>
#include <vector>

#include "flat_combo_box.h"
#include "docking_tool_bar.h"

class CComboToolBar : public CDockingToolBar {
public:
    // Creates the combo where the button with command id `id` was, width
    // pixels wide; its list drops down below. The combo's notifications
    // reach the frame, which hands them back to the combo.
    bool CreateCombo(CFlatComboBox& combo, UINT id, int width, DWORD style);

    // Gives the button with command id `id` the image `image` and an arrow;
    // pressing the arrow shows `window` (a hidden child of this toolbar's
    // parent) under the button with the focus, and the window hides again
    // when it loses the focus, is clicked or gets Escape. The toolbar keeps
    // only the handle: a window destroyed first is simply not shown.
    bool SetButtonDropDown(UINT id, int image, HWND window);
    // Shows the drop-down of button `id` under it; false when it has none.
    bool DropDown(UINT id);

    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

protected:
    void OnLayoutChanged(bool vertical) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<std::pair<UINT, HWND>> m_dropDowns;
    std::vector<std::pair<UINT, HWND>> m_combos;  // command id of the place, combo
};
