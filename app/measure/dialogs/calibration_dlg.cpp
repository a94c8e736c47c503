#include "calibration_dlg.h"

#include <cmath>

#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "prompt_dlg.h"
#include "resource_module.h"
#include "units.h"

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

CCalibrationDlg::CCalibrationDlg(HWND parent)
    : CDialog(IDD_CALIBRATION, parent), m_strScalePath(ScaleIniPath()), m_strUnit(Wide(kDefaultUnit)) {
    BindText(IDC_CALIB_NAME, m_strName);
    BindFloat(IDC_CALIB_LENGTH, m_fLength);
    BindFloat(IDC_CALIB_PIXELS, m_fPixels);
}

HWND CCalibrationDlg::UnitCombo() const { return GetDlgItem(IDC_CALIB_UNIT); }

float CCalibrationDlg::LookUpValue(const std::wstring& name) {
    IniProfile file(m_strScalePath);
    CalibrationStore store(file);
    const auto section = store.Find(Utf16(name));
    if (!section) {
        return 1.0f;
    }
    const auto calibration = store.Read(*section);
    const int unit = UnitIndex(calibration->unit);
    if (unit >= 0) {
        SendMessageW(UnitCombo(), CB_SETCURSEL, static_cast<WPARAM>(unit), 0);
    }
    return calibration->value;
}

BOOL CCalibrationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const auto unit : kLengthUnits) {
        SendMessageW(UnitCombo(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(unit).c_str()));
    }
    SendMessageW(UnitCombo(), CB_SETCURSEL, 0, 0);

    IniProfile file(m_strScalePath);
    CalibrationStore store(file);
    m_nCount = store.Count();
    m_strName = L"Name";
    HWND names = GetDlgItem(IDC_CALIB_NAME);
    for (const Calibration& c : store.List()) {
        SendMessageW(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(c.name).c_str()));
    }
    m_fLength = LookUpValue(m_strName) * m_fPixels;
    UpdateData(FALSE);
    return TRUE;
}

BOOL CCalibrationDlg::OnCommand(WORD id, WORD code) {
    if (id != IDC_CALIB_NAME || code != CBN_SELENDOK) {
        return FALSE;
    }
    HWND names = GetDlgItem(IDC_CALIB_NAME);
    const LRESULT item = SendMessageW(names, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR) {
        return TRUE;
    }
    if (!UpdateData(TRUE)) {
        return TRUE;
    }
    const LRESULT length = SendMessageW(names, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(names, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<std::size_t>(length));
    m_strName = name;
    m_fLength = LookUpValue(m_strName) * m_fPixels;
    UpdateData(FALSE);
    return TRUE;
}

void CCalibrationDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    // A zero or negative length or pixel count would store an infinite,
    // zero or negative scale that breaks every later measurement.
    if (!(m_fLength > 0.0f) || !(m_fPixels > 0.0f) || !std::isfinite(m_fLength / m_fPixels) ||
        !(m_fLength / m_fPixels > 0.0f)) {
        CPromptDlg notice(LoadResourceString(IDS_CALIBRATION_NEEDS_LENGTH), L"Vizcam", 0, m_hWnd);
        notice.DoModal();
        return;
    }
    m_fValue = m_fLength / m_fPixels;
    const LRESULT unit = SendMessageW(UnitCombo(), CB_GETCURSEL, 0, 0);
    m_strUnit = Wide(kLengthUnits[unit >= 0 && unit < 6 ? static_cast<std::size_t>(unit) : 0]);

    IniProfile file(m_strScalePath);
    CalibrationStore store(file);
    store.Save(Utf16(m_strName), m_fValue, Utf16(m_strUnit), m_nResoWidth, m_nResoHeight);
    m_nCount = store.Count();
    EndDialog(IDOK);
}
