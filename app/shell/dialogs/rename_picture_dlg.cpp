#include "rename_picture_dlg.h"

#include "resource.h"
#include "resource_module.h"

CRenamePictureDlg::CRenamePictureDlg(std::wstring name, HWND parent)
    : CRenamePictureDlg(std::move(name), kRename, std::wstring(), parent) {}

CRenamePictureDlg::CRenamePictureDlg(std::wstring name, int mode, std::wstring secondText, HWND parent)
    : CDialog(IDD_RENAME_PICTURE, parent),
      m_strName(std::move(name)),
      m_strSecondText(std::move(secondText)),
      m_nMode(mode) {
    BindText(IDC_RENAME_EDIT, m_strName);
}

BOOL CRenamePictureDlg::OnInitDialog() {
    if (m_nMode == kNameSnapshot) {
        SetWindowTextW(m_hWnd, LoadResourceString(IDS_NAME_PICTURE).c_str());
        HWND second = GetDlgItem(IDC_RENAME_SECOND);
        ShowWindow(second, SW_SHOW);
        EnableWindow(second, TRUE);
        SetWindowTextW(second, m_strSecondText.c_str());
    }
    return CDialog::OnInitDialog();
}
