#include "toolbar_combo_box.h"

#include "frame_window.h"
#include "private_messages.h"

void CToolbarComboBox::OnDropDown() { m_nDropDownSelection = GetCurSel(); }

void CToolbarComboBox::OnSelectionChanged() {
    if (GetCurSel() == m_nDropDownSelection) {
        return;
    }
    // The frame is the toolbar's parent; the view reads the selection itself.
    auto* frame = dynamic_cast<CFrameWindow*>(CWindow::FromHandle(GetAncestor(m_hWnd, GA_ROOT)));
    if (frame && frame->GetActiveView()) {
        SendMessageW(frame->GetActiveView()->GetSafeHwnd(), WM_RESOLUTION_CHANGED, 0, 0);
    }
}
