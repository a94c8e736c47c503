// Command 32817, the calibration selection dialog for the target picture,
// and a calibration drawn on the picture: the combo, grid and ruler follow.
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
    ShowTargetCalibration(*target, chosen ? dialog.m_strName : std::wstring());
}

void CMikraView::ShowTargetCalibration(CImageController& target, const std::wstring& name) {
    if (m_frame) {
        m_frame->RefillCalibrations();
        m_frame->SelectCalibration(target.GetCalibrationScale(), Wide(target.GetCalibrationUnit()));
        if (!name.empty()) {
            m_frame->SelectCalibrationByName(name);
        }
    }
    if (m_bGridShown) {
        target.LoadCalibration();
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    ReloadRuler();
}

LRESULT CMikraView::OnCalibrationChanged() {
    CImageController* target = GetTargetController();
    if (target && target->HasWindow()) {
        ShowTargetCalibration(*target, std::wstring());
    }
    return 0;
}
