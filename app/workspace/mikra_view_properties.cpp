// The property dialogs of the scale-bar tool (32816) and the counters (32815),
// for the target picture.
#include "cl_scale_bar.h"
#include "counter_dlg.h"
#include "mikra_view.h"
#include "scale_bar_dlg.h"

void CMikraView::ChooseScaleBar() {
    CImageController* target = GetTargetController();
    if (!target || !target->HasWindow()) {
        return;
    }
    target->CancelInteraction();
    CScaleBarDlg dialog(static_cast<COLORREF>(target->drawColour), m_hWnd);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    target->scaleBar.value = dialog.m_fLength;
    target->scaleBar.thickness = static_cast<int>(dialog.m_nWidth);
    target->scaleBar.unitText = std::u16string(dialog.m_strUnit.begin(), dialog.m_strUnit.end());
    target->scaleBar.background = dialog.m_nBackground;
    target->scaleBar.colour = dialog.m_color;
    target->SetTool(CCL_BiaoChi::kType);
}

void CMikraView::EditCounters() {
    CImageController* target = GetTargetController();
    if (!target || !target->HasWindow()) {
        return;
    }
    target->CancelInteraction();
    CCounterDlg dialog(*target, m_hWnd);
    dialog.DoModal();
}
