#include "param_tab_dlg.h"

#include <commctrl.h>

#include <string>

#include "camera_resource.h"
#include "resource_module.h"

CParamTabDlg::CParamTabDlg(UINT templateId, CDialog& adjustPage, CDialog& advancedPage, HWND parent)
    : CDialog(templateId, parent), m_adjustPage(adjustPage), m_advancedPage(advancedPage) {}

BOOL CParamTabDlg::OnInitDialog() {
    HWND tabs = GetDlgItem(IDC_VP_TABS);
    m_tabs.Subclass(tabs);
    const std::wstring titles[] = {LoadResourceString(IDS_VIDEO_PAGE), LoadResourceString(IDS_CAMERA_PAGE)};
    for (int i = 0; i < 2; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(titles[i].c_str());
        SendMessageW(tabs, TCM_INSERTITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    m_adjustPage.Create(tabs);
    m_advancedPage.Create(tabs);
    RECT area{};
    GetClientRect(tabs, &area);
    RECT strip{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&strip));
    area.top = strip.bottom + 2;
    for (CDialog* page : {&m_adjustPage, &m_advancedPage}) {
        SetWindowPos(page->GetSafeHwnd(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowPage(0);
    return TRUE;
}

void CParamTabDlg::ShowPage(int index) {
    ShowWindow(m_adjustPage.GetSafeHwnd(), index == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(m_advancedPage.GetSafeHwnd(), index == 1 ? SW_SHOW : SW_HIDE);
}

BOOL CParamTabDlg::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY && lParam) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_VP_TABS && header->code == TCN_SELCHANGE) {
            ShowPage(int(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
            return TRUE;
        }
    }
    return FALSE;
}
