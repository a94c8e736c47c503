#include "stitch_tab_dlg.h"

#include <commctrl.h>

#include "engine_result.h"
#include "imaging_resource.h"
#include "prompt_dlg.h"
#include "resource.h"
#include "resource_module.h"

CStitchTabDlg::CStitchTabDlg(IPictureFileDialogs& gridDialogs, ICommonDialogs& fileDialogs, HWND parent)
    : CDialog(IDD_STITCH, parent), m_input(gridDialogs), m_result(fileDialogs) {}

BOOL CStitchTabDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_icon.Reset(static_cast<HICON>(
        LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    if (m_icon) {
        SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.Get()));
        SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.Get()));
    }
    HWND tabs = GetDlgItem(IDC_STITCH_TABS);
    int index = 0;
    for (const UINT text : {IDS_STITCH_INPUT_TAB, IDS_STITCH_RESULT_TAB}) {
        std::wstring caption = LoadResourceString(text);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
    }
    RECT header{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&header));
    m_headerHeight = header.bottom + 2;
    m_input.Create(tabs);
    m_result.Create(tabs);
    Layout();
    ShowPage(0);
    return TRUE;
}

void CStitchTabDlg::ShowPage(int page) {
    SendMessageW(GetDlgItem(IDC_STITCH_TABS), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    ShowWindow(m_input.GetSafeHwnd(), page == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(m_result.GetSafeHwnd(), page == 1 ? SW_SHOW : SW_HIDE);
}

void CStitchTabDlg::Layout() {
    HWND tabs = GetDlgItem(IDC_STITCH_TABS);
    if (!tabs) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    MoveWindow(tabs, 0, 0, client.right, client.bottom, TRUE);
    const int height = std::max(0, static_cast<int>(client.bottom) - m_headerHeight);
    for (HWND page : {m_input.GetSafeHwnd(), m_result.GetSafeHwnd()}) {
        if (page) {
            MoveWindow(page, 0, m_headerHeight, client.right, height, TRUE);
        }
    }
}

void CStitchTabDlg::OnTimer() {
    CImageStitching* engine = m_input.GetEngine();
    if (engine == nullptr || engine->IsProgressing() != 0) {
        return;
    }
    KillTimer(m_hWnd, CStitchInputDlg::kResultTimer);
    int width = 0;
    int height = 0;
    const std::span<const std::uint8_t> pixels = engine->getDstImage(width, height);
    CPicture picture;
    if (pixels.empty() || !PictureFromEngineRows(pixels, width, height, picture) || m_result.SetImage(&picture) == 0) {
        // The result page keeps the picture of the last stitch that gave one.
        CPromptDlg prompt(LoadResourceString(IDS_STITCH_NO_RESULT), L"Vizcam", 0, m_hWnd);
        prompt.DoModal();
        return;
    }
    const StitchRect area = engine->getEffectiveArea();
    m_result.GetView().SetSelection(area.left, area.top, area.right, area.bottom);
    ShowPage(1);
}

BOOL CStitchTabDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: Layout(); return TRUE;
    case WM_TIMER:
        if (wParam == CStitchInputDlg::kResultTimer) {
            OnTimer();
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.idFrom == IDC_STITCH_TABS && header.code == TCN_SELCHANGE) {
            ShowPage(static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
            return TRUE;
        }
        break;
    }
    case WM_DESTROY: KillTimer(m_hWnd, CStitchInputDlg::kResultTimer); break;
    default: break;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}
