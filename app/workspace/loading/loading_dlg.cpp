#include "loading_dlg.h"

#include "resource.h"
#include "resource_module.h"

CLoadingDlg::CLoadingDlg(bool picturesToLoad, bool filesToLoad)
    : CDialog(IDD_LOADING, nullptr),
      m_bPicturesToLoad(picturesToLoad),
      m_bFilesToLoad(filesToLoad),
      m_bLoadFiles(true),
      m_bLoadPictures(true) {}

BOOL CLoadingDlg::OnInitDialog() {
    m_bLoadPictures = m_bPicturesToLoad;
    m_bLoadFiles = m_bFilesToLoad;
    EnableWindow(GetDlgItem(IDC_LOAD_PICTURES), m_bPicturesToLoad);
    EnableWindow(GetDlgItem(IDC_LOAD_FILES), m_bFilesToLoad);
    ShowCheckBoxes();
    // Load with nothing ticked would start a load that never ends.
    EnableLoad();
    m_window = m_hWnd;
    return TRUE;
}

BOOL CLoadingDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        m_window = nullptr;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}

void CLoadingDlg::TakeCheckBoxes() {
    m_bLoadPictures = IsDlgButtonChecked(m_hWnd, IDC_LOAD_PICTURES) == BST_CHECKED;
    m_bLoadFiles = IsDlgButtonChecked(m_hWnd, IDC_LOAD_FILES) == BST_CHECKED;
}

void CLoadingDlg::ShowCheckBoxes() {
    CheckDlgButton(m_hWnd, IDC_LOAD_PICTURES, m_bLoadPictures ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_LOAD_FILES, m_bLoadFiles ? BST_CHECKED : BST_UNCHECKED);
}

void CLoadingDlg::EnableLoad() { EnableWindow(GetDlgItem(IDOK), m_bLoadPictures || m_bLoadFiles); }

BOOL CLoadingDlg::OnCommand(WORD id, WORD code) {
    if ((id == IDC_LOAD_PICTURES || id == IDC_LOAD_FILES) && code == BN_CLICKED) {
        TakeCheckBoxes();
        EnableLoad();
        return TRUE;
    }
    return FALSE;
}

void CLoadingDlg::OnOK() {
    TakeCheckBoxes();
    if (m_bStarted || (!m_bLoadPictures && !m_bLoadFiles)) {
        return;
    }
    EnableWindow(GetDlgItem(IDOK), FALSE);
    SetDlgItemTextW(m_hWnd, IDCANCEL, LoadResourceString(IDS_STOP).c_str());
    m_bCancelled = false;
    m_bStarted = true;
    SetDlgItemTextW(m_hWnd, IDC_LOADING_LABEL, LoadResourceString(IDS_LOADING_PICTURES).c_str());
    EnableWindow(GetDlgItem(IDC_LOAD_PICTURES), FALSE);
    EnableWindow(GetDlgItem(IDC_LOAD_FILES), FALSE);
    SetEvent(m_choiceEvent.Get());
}

void CLoadingDlg::OnCancel() {
    m_bCancelled = true;
    m_bStarted = true;
    SetEvent(m_choiceEvent.Get());
    EndDialog(IDCANCEL);
    // The dialog is its thread's only window: closing it ends the thread,
    // which destroys it.
    PostQuitMessage(0);
}

void CLoadingDlg::SetPhaseText() {
    if (HWND window = m_window) {
        SetDlgItemTextW(window, IDC_LOADING_LABEL, LoadResourceString(IDS_LOADING_FILES).c_str());
    }
}
