#pragma once
// A toolbar that can carry combo boxes in place of some of its buttons.
#include "flat_combo_box.h"
#include "tool_bar.h"

class CComboToolBar : public CToolBar {
public:
    // Creates the combo where the button with command id `id` was, width
    // pixels wide; its list drops down below. The combo's notifications
    // reach the frame, which hands them back to the combo.
    bool CreateCombo(CFlatComboBox& combo, UINT id, int width, DWORD style);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
