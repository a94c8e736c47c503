#include "excel_export_dlg.h"

#include "office_resource.h"

CExcelExportDlg::CExcelExportDlg(OfficeExportOptions& options, BrowseWorkbook browse, HWND parent)
    : CDialog(IDD_EXCEL_EXPORT, parent), m_options(options), m_browse(std::move(browse)) {
    BindText(IDC_EXCEL_PATH, m_strPath);
}

bool CExcelExportDlg::Checked(int id) const { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

BOOL CExcelExportDlg::OnInitDialog() {
    m_strPath = m_options.excelOneFile;
    m_nRadio = m_options.excelOneDefault ? 0 : 1;
    CheckDlgButton(m_hWnd, IDC_EXCEL_ONE, m_options.excelOne ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_EXCEL_PICTURE, m_options.excelPicture ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(m_hWnd, IDC_EXCEL_DEFAULT_FILE, IDC_EXCEL_SPECIFIED_FILE,
                     m_nRadio == 0 ? IDC_EXCEL_DEFAULT_FILE : IDC_EXCEL_SPECIFIED_FILE);
    const BOOL result = CDialog::OnInitDialog();
    EnableChoices();
    return result;
}

// The radios follow the fixed-workbook check; browsing the specified one.
void CExcelExportDlg::EnableChoices() {
    const bool one = Checked(IDC_EXCEL_ONE);
    EnableWindow(GetDlgItem(IDC_EXCEL_DEFAULT_FILE), one);
    EnableWindow(GetDlgItem(IDC_EXCEL_SPECIFIED_FILE), one);
    const bool browse = one && m_nRadio == 1;
    EnableWindow(GetDlgItem(IDC_EXCEL_BROWSE), browse);
    EnableWindow(GetDlgItem(IDC_EXCEL_BROWSE_MARK), browse);
}

BOOL CExcelExportDlg::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) return CDialog::OnCommand(id, code);
    switch (id) {
    case IDC_EXCEL_ONE:
        EnableChoices();
        return TRUE;
    case IDC_EXCEL_DEFAULT_FILE:
        m_nRadio = 0;
        EnableChoices();
        return TRUE;
    case IDC_EXCEL_SPECIFIED_FILE:
        m_nRadio = 1;
        EnableChoices();
        return TRUE;
    case IDC_EXCEL_BROWSE:
        if (m_browse) {
            if (const std::optional<std::wstring> chosen = m_browse(m_hWnd)) {
                m_strPath = *chosen;
                SetDlgItemTextW(m_hWnd, IDC_EXCEL_PATH, m_strPath.c_str());
            }
        }
        return TRUE;
    default:
        return CDialog::OnCommand(id, code);
    }
}

void CExcelExportDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    m_options.excelOneFile = m_strPath;
    m_options.excelOneDefault = m_strPath.empty() || m_nRadio == 0;
    m_options.excelOne = Checked(IDC_EXCEL_ONE);
    m_options.excelPicture = Checked(IDC_EXCEL_PICTURE);
    CDialog::OnOK();
}
