// Command 32817: the calibration selection dialog for the target picture.
#include "ini_profile.h"
#include "mikra_view.h"
#include "scale_select_dlg.h"

namespace {
std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
}  // namespace

void CMikraView::ChooseCalibration() {
    CImageController* target = GetTargetController();
    if (!target || !target->HasWindow()) {
        return;
    }
    target->CancelInteraction();
    target->SetTool(0);
    CScaleSelectDlg dialog(m_hWnd);
    const std::wstring& scalePath = m_controllerHost.GetScaleIniPath();
    dialog.m_strScalePath = scalePath.empty() ? ScaleIniPath() : scalePath;
    const bool chosen = dialog.DoModal() == IDOK;
    if (chosen) {
        target->ApplyStoredCalibration(dialog.m_fValue, U16(dialog.m_strUnit));
    }
    // A deletion renumbers the sections that the combo's items, the grid and
    // the ruler stand for, even when the dialog is then cancelled.
    if (!chosen && !dialog.HasChangedCalibrations()) {
        return;
    }
    if (m_frame) {
        m_frame->RefillCalibrations();
        m_frame->SelectCalibration(target->GetCalibrationScale(), Wide(target->GetCalibrationUnit()));
        if (chosen && !dialog.m_strName.empty()) {
            m_frame->SelectCalibrationByName(dialog.m_strName);
        }
    }
    if (m_bGridShown) {
        target->LoadCalibration();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    ReloadRuler();
}
