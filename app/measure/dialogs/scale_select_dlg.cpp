#include "scale_select_dlg.h"

#include <optional>

#include "calibration_choice_resource.h"
#include "calibration_list.h"
#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "resource_module.h"

namespace {
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
}  // namespace

CScaleSelectDlg::CScaleSelectDlg(HWND parent) : CDialog(IDD_SCALE_SELECT, parent), m_strScalePath(ScaleIniPath()) {}

BOOL CScaleSelectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    m_list = CreateCalibrationList(m_hWnd, IDC_SCALE_SELECT_LIST, RECT{13, 10, 13 + width - 20, 10 + height - 75});
    if (!m_list) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_fValue = 1.0f;
    m_strUnit = LoadResourceString(IDS_UNIT_MICROMETRE);
    m_strName = L"Default";
    FillCalibrationList(m_list, m_strScalePath);
    return TRUE;
}

void CScaleSelectDlg::OnOK() {
    const std::optional<int> section = SelectedCalibrationSection(m_list);
    if (!section) {
        EndDialog(IDCANCEL);
        return;
    }
    IniProfile file(m_strScalePath);
    const CalibrationStore store(file);
    const std::optional<Calibration> chosen = store.Read(*section);
    if (!chosen) {
        EndDialog(IDCANCEL);
        return;
    }
    m_fValue = chosen->value;
    m_strUnit = Wide(chosen->unit);
    m_strName = Wide(chosen->name);
    EndDialog(IDOK);
}

BOOL CScaleSelectDlg::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) {
        return FALSE;
    }
    switch (id) {
    case IDC_SCALE_DELETE: DeleteSelected(); return TRUE;
    case IDC_SCALE_DELETE_ALL: DeleteAll(); return TRUE;
    default: return FALSE;
    }
}

void CScaleSelectDlg::DeleteSelected() {
    const std::optional<int> section = SelectedCalibrationSection(m_list);
    if (!section) {
        return;
    }
    IniProfile file(m_strScalePath);
    CalibrationStore store(file);
    if (store.Delete(*section)) {
        m_bChanged = true;
    }
    // The rows after it now stand for the sections one lower.
    FillCalibrationList(m_list, m_strScalePath);
}

void CScaleSelectDlg::DeleteAll() {
    IniProfile file(m_strScalePath);
    CalibrationStore store(file);
    if (store.Count() <= 0) {
        return;
    }
    const std::wstring question = LoadResourceString(IDS_DELETE_ALL_CALIBRATIONS);
    if (::MessageBoxW(m_hWnd, question.c_str(), L"Vizcam", MB_OKCANCEL) != IDOK) {
        return;
    }
    store.DeleteAll();
    m_bChanged = true;
    FillCalibrationList(m_list, m_strScalePath);
}
