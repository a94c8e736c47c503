#include "line_width_dlg.h"

#include <commctrl.h>

#include "resource.h"

CLineWidthDlg::CLineWidthDlg(HWND parent) : CDialog(IDD_LINE_WIDTH, parent) {
    BindUInt(IDC_LINE_WIDTH_EDIT, m_nWidth, kMinWidth, kMaxWidth);
}

BOOL CLineWidthDlg::OnInitDialog() {
    SendDlgItemMessageW(m_hWnd, IDC_LINE_WIDTH_SPIN, UDM_SETRANGE32, kMinWidth, kMaxWidth);
    return CDialog::OnInitDialog();
}
