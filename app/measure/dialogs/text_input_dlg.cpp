#include "text_input_dlg.h"

#include "text_input_resource.h"

CTextInputDlg::CTextInputDlg(int x, int y, HWND parent) : CDialog(IDD_TEXT_INPUT, parent), m_x(x), m_y(y) {
    BindText(IDC_TEXT_INPUT_EDIT, m_strText);
}

BOOL CTextInputDlg::OnInitDialog() {
    ::SetWindowPos(m_hWnd, nullptr, m_x, m_y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return CDialog::OnInitDialog();
}
