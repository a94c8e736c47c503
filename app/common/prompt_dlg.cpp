#include "prompt_dlg.h"

#include <algorithm>

#include "resource.h"

namespace {

// The rectangle of a child control in its dialog's client coordinates.
RECT ChildRect(HWND dialog, HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

}  // namespace

CPromptDlg::CPromptDlg(std::wstring text, std::wstring caption, int mode, HWND parent)
    : CDialog(IDD_PROMPT, parent), m_strCaption(std::move(caption)), m_nMode(mode), m_strText(std::move(text)) {
    BindText(IDC_PROMPT_TEXT, m_strText);
}

// The size the text needs with its own line breaks and no wrapping, in a
// memory context's default font.
SIZE CPromptDlg::MeasureText() const {
    SIZE size{0, 0};
    if (m_strText.empty()) {
        return size;
    }
    HDC windowDc = GetDC(m_hWnd);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    RECT rc{0, 0, 0, 0};
    DrawTextW(memoryDc, m_strText.c_str(), static_cast<int>(m_strText.size()), &rc, DT_CALCRECT);
    DeleteDC(memoryDc);
    ReleaseDC(m_hWnd, windowDc);
    size.cx = rc.right - rc.left;
    size.cy = rc.bottom - rc.top;
    return size;
}

void CPromptDlg::FitToText() {
    const SIZE needed = MeasureText();
    if (needed.cx <= 0 && needed.cy <= 0) {
        return;
    }
    HWND text = GetDlgItem(IDC_PROMPT_TEXT);
    const RECT textRc = ChildRect(m_hWnd, text);
    const int dx = std::max(0L, needed.cx - (textRc.right - textRc.left));
    const int dy = std::max(0L, needed.cy - (textRc.bottom - textRc.top));

    RECT dialogRc;
    GetWindowRect(m_hWnd, &dialogRc);
    SetWindowPos(m_hWnd, nullptr, 0, 0, dialogRc.right - dialogRc.left + dx, dialogRc.bottom - dialogRc.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(text, nullptr, 0, 0, textRc.right - textRc.left + dx, textRc.bottom - textRc.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const int id : {IDOK, IDCANCEL, IDC_PROMPT_SINGLE}) {
        HWND button = GetDlgItem(id);
        const RECT rc = ChildRect(m_hWnd, button);
        SetWindowPos(button, nullptr, rc.left + dx / 2, rc.top + dy / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BOOL CPromptDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    FitToText();
    if (m_nMode == 0) {
        ShowWindow(GetDlgItem(IDOK), SW_HIDE);
        ShowWindow(GetDlgItem(IDCANCEL), SW_HIDE);
    } else {
        ShowWindow(GetDlgItem(IDC_PROMPT_SINGLE), SW_HIDE);
    }
    SetWindowTextW(m_hWnd, m_strCaption.c_str());
    return TRUE;
}

BOOL CPromptDlg::OnCommand(WORD id, WORD /*code*/) {
    if (id == IDC_PROMPT_SINGLE) {
        OnOK();
        return TRUE;
    }
    return FALSE;
}
