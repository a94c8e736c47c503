#include "grid_plate_dlg.h"

#include "counting_resource.h"
#include "module_folder.h"
#include "prompt_dlg.h"
#include "resource_module.h"

CGridPlateDlg::CGridPlateDlg(int calibration, HWND parent) : CDialog(IDD_GRID_PLATE, parent), m_selected(calibration) {
    m_scale.m_strPath = GetModuleFolder() + L"scale.ini";
    BindFloat(IDC_GRID_WIDTH, m_fGridW);
    BindFloat(IDC_GRID_HEIGHT, m_fGridH);
    BindText(IDC_GRID_SIZE_TEXT, m_strSize);
    BindText(IDC_GRID_VALUE_TEXT, m_strValue);
    BindText(IDC_GRID_UNIT_TEXT, m_strUnit);
}

std::wstring CGridPlateDlg::Section() const { return L"scl_" + std::to_wstring(m_selected); }

BOOL CGridPlateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_colorButton.SubclassDlgItem(m_hWnd, IDC_GRID_COLOR);
    m_scale.GetInt(m_count, L"Scale", L"Count", 0);
    HWND list = GetDlgItem(IDC_GRID_CALIBRATION);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Default"));
    for (int n = 1; n <= m_count; ++n) {
        std::wstring name;
        m_scale.GetString(name, (L"scl_" + std::to_wstring(n)).c_str(), L"Name");
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (m_selected < 0 || m_selected > m_count) {
        m_selected = 0;
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(m_selected), 0);
    LoadCalibration();
    return TRUE;
}

void CGridPlateDlg::LoadCalibration() {
    const std::wstring section = Section();
    if (m_selected != 0) {
        m_scale.GetString(m_strSize, section.c_str(), L"Reso");
        m_scale.GetString(m_strValue, section.c_str(), L"Value");
        m_scale.GetString(m_strUnit, section.c_str(), L"Unit");
    } else {
        m_strSize = L"0*0";
        m_strValue = L"1.0";
        m_strUnit = L"null";
    }
    m_scale.GetFloat(m_fGridH, section.c_str(), L"GridH", 0);
    m_scale.GetFloat(m_fGridW, section.c_str(), L"GridW", 0);
    int colour = 0;
    m_scale.GetInt(colour, section.c_str(), L"GColor", static_cast<int>(RGB(255, 255, 255)));
    m_color = static_cast<COLORREF>(colour);
    if (m_fGridH == 0) {
        m_fGridH = m_fGridW = 10.0f;
    }
    m_colorButton.SetAutomaticText(LoadResourceString(IDS_COLOR_AUTOMATIC));
    m_colorButton.SetMoreColorsText(LoadResourceString(IDS_COLOR_MORE));
    m_colorButton.SetColor(m_color);
    UpdateData(FALSE);
}

BOOL CGridPlateDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_GRID_CALIBRATION && code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(GetDlgItem(IDC_GRID_CALIBRATION), CB_GETCURSEL, 0, 0);
        if (index >= 0) {
            m_selected = static_cast<int>(index);
            LoadCalibration();
        }
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}

BOOL CGridPlateDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COLOR_SELECTED:
        m_color = m_colorButton.GetColor();
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_COLOR_CHANGED:
    case WM_COLOR_DROPDOWN:
    case WM_COLOR_CLOSEUP:
    case WM_COLOR_CANCELLED: SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 1); return TRUE;
    default: return CDialog::OnMessage(message, wParam, lParam);
    }
}

void CGridPlateDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    if (m_fGridH >= 1.0f && m_fGridW >= 1.0f) {
        const std::wstring section = Section();
        m_scale.WriteFloat(m_fGridH, section.c_str(), L"GridH");
        m_scale.WriteFloat(m_fGridW, section.c_str(), L"GridW");
        m_scale.WriteInt(static_cast<int>(m_color), section.c_str(), L"GColor");
        EndDialog(IDOK);
        return;
    }
    CPromptDlg(LoadResourceString(IDS_GRID_TOO_SMALL), L"Vizcam", 0, m_hWnd).DoModal();
}
