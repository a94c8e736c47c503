#pragma once
// `CBrowserBar`: the main frame's composite window, a docking bar holding
// three tabs: the picture browser, the camera device tree (filled by the
// camera layer) and the export file list.
#include <functional>
#include <string>

#include "device_tree.h"
#include "docking_bar.h"
#include "picture_browser.h"
#include "tab_window.h"
#include "thumb_list.h"

class CBrowserBar : public CDockingBar {
public:
    static constexpr UINT kTabWindowId = 39321;
    static constexpr UINT kDeviceTreeId = 2;
    static constexpr UINT kListId = 4097;

    CBrowserBar(std::wstring pictureFolder, std::wstring filesFolder, std::function<std::wstring()> excelVersion);

    CPictureBrowser& GetPictureBrowser() { return m_wndBrowser; }
    const CPictureBrowser& GetPictureBrowser() const { return m_wndBrowser; }
    CThumbList& GetFileList() { return m_wndFileList; }
    CDeviceTree& GetDeviceTree() { return m_wndDeviceTree; }
    CTabWindow& GetTabWindow() { return m_wndTabs; }
    // Empties the browser's paths without touching its list.
    void ClearPaths() { m_wndBrowser.ClearPaths(); }

protected:
    int OnCreate() override;

private:
    CTabWindow m_wndTabs;
    CDeviceTree m_wndDeviceTree;
    CPictureBrowser m_wndBrowser;
    CThumbList m_wndFileList;
};
