#include "text_input_dlg.h"

#include <algorithm>

#include "text_input_resource.h"

CTextInputDlg::CTextInputDlg(int x, int y, HWND parent) : CDialog(IDD_TEXT_INPUT, parent), m_x(x), m_y(y) {
    BindText(IDC_TEXT_INPUT_EDIT, m_strText);
}

BOOL CTextInputDlg::OnInitDialog() {
    // A click near the screen's edge would put the dialog partly off the
    // work area: it moves in as far as needed, keeping its size.
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    int x = m_x;
    int y = m_y;
    if (::GetMonitorInfoW(::MonitorFromPoint(POINT{m_x, m_y}, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        x = std::max(std::min(x, static_cast<int>(work.right) - width), static_cast<int>(work.left));
        y = std::max(std::min(y, static_cast<int>(work.bottom) - height), static_cast<int>(work.top));
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return CDialog::OnInitDialog();
}
