#include "browser_bar.h"

#include <commctrl.h>

#include "browser_resource.h"
#include "resource.h"
#include "resource_module.h"

CBrowserBar::CBrowserBar(std::wstring pictureFolder, std::wstring filesFolder,
                         std::function<std::wstring()> excelVersion)
    : m_wndBrowser(std::move(pictureFolder)), m_wndFileList(std::move(filesFolder), std::move(excelVersion)) {}

int CBrowserBar::OnCreate() {
    const RECT empty{0, 0, 0, 0};
    if (!m_wndTabs.Create(m_hWnd, kTabWindowId) || !m_wndDeviceTree.Create(m_wndTabs.GetSafeHwnd(), kDeviceTreeId) ||
        !m_wndBrowser.Create(0, empty, m_wndTabs.GetSafeHwnd(), kListId) ||
        !m_wndFileList.Create(0, empty, m_wndTabs.GetSafeHwnd(), kListId)) {
        return -1;
    }
    m_wndTabs.SetImageList(IDB_TABS, 16, 5, RGB(255, 0, 0));
    m_wndTabs.AddTab(m_wndBrowser.GetSafeHwnd(), LoadResourceString(IDS_PICTURE_LIST), 0);
    m_wndTabs.AddTab(m_wndDeviceTree.GetSafeHwnd(), LoadResourceString(IDS_DEVICE_LIST), 1);
    m_wndTabs.AddTab(m_wndFileList.GetSafeHwnd(), LoadResourceString(IDS_FILE_LIST), 2);
    SetContent(m_wndTabs.GetSafeHwnd());
    return 0;
}
