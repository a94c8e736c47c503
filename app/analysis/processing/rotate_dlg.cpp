#include "rotate_dlg.h"

#include <commctrl.h>

#include <algorithm>

#include "processing_resource.h"

CRotateDlg::CRotateDlg(HWND parent) : CDialog(IDD_ROTATE, parent) { BindFloat(IDC_ROTATE_ANGLE, m_fAngle); }

BOOL CRotateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = GetDlgItem(IDC_ROTATE_ANGLES);
    for (const wchar_t* angle : {L"90", L"180", L"270"}) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(angle));
    }
    HWND spin = GetDlgItem(IDC_ROTATE_ANGLE_SPIN);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(IDC_ROTATE_ANGLE)), 0);
    SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(-360), 360);
    SendMessageW(spin, UDM_SETBASE, 10, 0);
    SendMessageW(spin, UDM_SETPOS32, 0, std::max(0, static_cast<int>(m_fAngle)));
    m_nIndex = 0;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(m_nIndex), 0);
    return TRUE;
}

BOOL CRotateDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_ROTATE_ANGLES && code == CBN_SELCHANGE) {
        m_nIndex = static_cast<int>(SendMessageW(GetDlgItem(IDC_ROTATE_ANGLES), CB_GETCURSEL, 0, 0));
        return TRUE;
    }
    return FALSE;
}
