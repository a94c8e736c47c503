#include "about_dlg.h"

#include "mikra_app.h"
#include "resource.h"

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUT, parent) {}

BOOL CAboutDlg::OnInitDialog() {
    SetDlgItemTextW(m_hWnd, IDC_ABOUT_VERSION, (L"Version " + GetProgramVersion()).c_str());
    SetDlgItemTextW(m_hWnd, IDC_ABOUT_TITLE, CMikraApp::kTitle);
    return CDialog::OnInitDialog();
}
