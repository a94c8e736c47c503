#include "print_scale_dlg.h"

#include "calibration_list.h"
#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "prompt_dlg.h"
#include "resource_module.h"

namespace {
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
}  // namespace

CPrintScaleDlg::CPrintScaleDlg(HWND parent) : CDialog(IDD_PRINT_SCALE, parent), m_strScalePath(ScaleIniPath()) {
    BindUInt(IDC_PRINT_MAGNIFICATION, m_nMagnification, 1, kMaxMagnification);
}

BOOL CPrintScaleDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateList();
    FillList();
    UpdateData(FALSE);
    return TRUE;
}

void CPrintScaleDlg::CreateList() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_list = CreateCalibrationList(m_hWnd, IDC_PRINT_CALIBRATIONS, RECT{13, 10, client.right - 7, client.bottom - 100});
}

void CPrintScaleDlg::FillList() { FillCalibrationList(m_list, m_strScalePath); }

void CPrintScaleDlg::OnOK() { TakeCalibration(0); }

BOOL CPrintScaleDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_PRINT_PREVIEW && code == BN_CLICKED) {
        TakeCalibration(1);
        return TRUE;
    }
    return FALSE;
}

void CPrintScaleDlg::TakeCalibration(int preview) {
    m_nPreview = preview;
    const std::optional<int> section = SelectedCalibrationSection(m_list);
    if (!section) {
        CPromptDlg notice(LoadResourceString(IDS_CHOOSE_CALIBRATION_TO_PRINT), L"Vizcam", 0, m_hWnd);
        notice.DoModal();
        return;
    }
    if (!UpdateData(TRUE)) {
        return;
    }
    IniProfile file(m_strScalePath);
    const CalibrationStore store(file);
    const auto calibration = store.Read(*section);
    if (!calibration) {
        return;
    }
    m_fValue = calibration->value;
    m_strUnit = Wide(calibration->unit);
    EndDialog(IDOK);
}
