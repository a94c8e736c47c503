#include "full_screen_dlg.h"

#include "hotkey_help_dlg.h"
#include "resource.h"
#include "resource_module.h"

CFullScreenDlg::CFullScreenDlg(IFullScreenHost& host) : CDialog(IDD_FULL_SCREEN, nullptr), m_host(host) {}

BOOL CFullScreenDlg::OnInitDialog() {
    m_strNotice = LoadResourceString(IDS_PICTURE_SAVED);
    return CDialog::OnInitDialog();
}

void CFullScreenDlg::OnOK() { Snapshot(); }

void CFullScreenDlg::OnCancel() { LeaveFullScreen(); }

template <typename Panel>
void CFullScreenDlg::WithVideoWindowAside(Panel panel) {
    m_host.LayoutVideoWindow(1);
    m_host.RepaintRulerOverlay();
    panel();
    m_host.LayoutVideoWindow(0);
    m_host.RepaintRulerOverlay();
}

bool CFullScreenDlg::OnKeyDown(unsigned key) {
    switch (key) {
    case VK_RETURN: Snapshot(); return true;
    case VK_ESCAPE: LeaveFullScreen(); return true;
    case 'C':
        m_host.ToggleCrossLine();
        m_host.RepaintRulerOverlay();
        return true;
    case 'F': WithVideoWindowAside([this] { m_host.OnVideoParams(); }); return true;
    case 'H':
        WithVideoWindowAside([this] {
            CHotkeyHelpDlg help(m_hWnd);
            help.DoModal();
        });
        return true;
    case 'R': WithVideoWindowAside([this] { m_host.OnRulerSettings(); }); return true;
    default: break;
    }
    if (!m_host.IsCrossLineMovable()) {
        return false;
    }
    const std::optional<CrossPosition> moved = MoveCrossLine(key, m_host.GetCrossPosition(), m_host.GetFrameSize());
    if (!moved) {
        return false;
    }
    m_host.SetCrossPosition(*moved);
    m_host.RepaintRulerOverlay();
    return true;
}

void CFullScreenDlg::Snapshot() {
    m_host.TakeSnapshot();
    DrawNotice();
    m_host.RepaintRulerOverlay();
}

void CFullScreenDlg::DrawNotice() {
    HWND video = GetDlgItem(IDC_FULL_SCREEN_VIDEO);
    if (!video) {
        return;
    }
    HDC dc = GetDC(video);
    if (!dc) {
        return;
    }
    const int saved = SaveDC(dc);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 10, 10, m_strNotice.c_str(), static_cast<int>(m_strNotice.size()));
    RestoreDC(dc, saved);
    ReleaseDC(video, dc);
}

void CFullScreenDlg::LeaveFullScreen() {
    if (m_host.IsFullScreenVideo()) {
        m_host.CloseVideo();
    }
    m_host.SetFullScreenVideo(false);
    m_host.OpenVideo();
    EndDialog(IDCANCEL);
}

HBRUSH CFullScreenDlg::OnCtlColor(UINT message, HDC dc, HWND window) {
    if (window != nullptr && window == GetDlgItem(IDC_FULL_SCREEN_NOTE)) {
        ::SetBkColor(dc, RGB(0, 0, 0));
        return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    }
    return CDialog::OnCtlColor(message, dc, window);
}

BOOL CFullScreenDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN: return OnKeyDown(static_cast<unsigned>(wParam)) ? TRUE : FALSE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(m_hWnd, &ps);
        EndPaint(m_hWnd, &ps);
        m_host.RepaintRulerOverlay();
        return TRUE;
    }
    default: return CDialog::OnMessage(message, wParam, lParam);
    }
}
