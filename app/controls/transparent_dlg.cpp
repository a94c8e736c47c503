#include "transparent_dlg.h"

CTransparentDlg::CTransparentDlg(UINT templateId) : CDialog(templateId, nullptr) {}

BOOL CTransparentDlg::OnInitDialog() {
    SetWindowLongW(m_hWnd, GWL_EXSTYLE, GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TRANSPARENT);
    SetLayeredWindowAttributes(m_hWnd, kTransparentColourKey, 0, LWA_COLORKEY);
    m_brush.Reset(CreateSolidBrush(kTransparentColourKey));
    return CDialog::OnInitDialog();
}

HBRUSH CTransparentDlg::OnCtlColor(UINT message, HDC dc, HWND window) {
    // Only the dialog's own surface: controls on it keep their look.
    if (message == WM_CTLCOLORDLG) {
        return GetBackgroundBrush();
    }
    return CDialog::OnCtlColor(message, dc, window);
}
