// The main frame as the view sees it (IViewFrame): the application's folders
// and flags, the video toolbar's combos, the status panes, the toolbars and
// the devices found at start.
#include <algorithm>

#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_view.h"

void CMainFrame::AttachViewFrame() {
    if (auto* view = dynamic_cast<CMikraView*>(GetActiveView())) {
        view->SetViewFrame(this);
    }
}

std::wstring CMainFrame::GetPictureFolder() { return GetMikraApp().GetPictureFolder(); }

std::wstring CMainFrame::GetVideoFolder() { return GetMikraApp().GetVideoFolder(); }

bool CMainFrame::IsBackgroundPictureOn() const { return GetMikraApp().m_bDrawAD != 0; }

void CMainFrame::ClearBackgroundPicture() { GetMikraApp().m_bDrawAD = 0; }

// The frame has no picture browser: nothing to reload or select.
std::vector<std::wstring> CMainFrame::TakeBrowserPictures() { return {}; }

void CMainFrame::SelectBrowserPicture(int) {}

std::vector<std::wstring> CMainFrame::TakeExportFiles() { return std::exchange(m_exportFiles, {}); }

void CMainFrame::AddExportFile(const std::wstring& path) { m_exportFiles.push_back(path); }

std::wstring CMainFrame::GetIntervalText() const {
    wchar_t text[64] = {};
    GetWindowTextW(m_wndIntervalCombo.GetSafeHwnd(), text, 64);
    return text;
}

void CMainFrame::FillResolutionCombo(std::span<const CameraResolution> resolutions, CameraFrameSize current) {
    m_wndResolutionCombo.ResetContent();
    int selected = -1;
    for (const CameraResolution& resolution : resolutions) {
        const int index = m_wndResolutionCombo.AddString(resolution.label);
        if (resolution.width == current.width && resolution.height == current.height) {
            selected = index;
        }
    }
    m_wndResolutionCombo.SetCurSel(selected);
}

void CMainFrame::ClearResolutionCombo() { m_wndResolutionCombo.ResetContent(); }

int CMainFrame::GetResolutionSelection() const { return m_wndResolutionCombo.GetCurSel(); }

int CMainFrame::GetCalibrationSelection() const { return m_wndScaleCombo.GetCurSel(); }

int CMainFrame::GetParamFileSelection() const { return m_wndParamFileCombo.GetCurSel(); }

void CMainFrame::SetParamFileSelection(int index) { m_wndParamFileCombo.SetCurSel(index); }

void CMainFrame::SetStatusPane(int pane, const std::wstring& text) { GetStatusBar().SetPaneText(pane, text); }

CComboToolBar& CMainFrame::ToolBarOf(ViewToolBar bar) {
    switch (bar) {
    case ViewToolBar::main: return m_wndToolBar;
    case ViewToolBar::measure: return m_wndMeasureBar;
    case ViewToolBar::picture: return m_wndPictureBar;
    }
    return m_wndToolBar;
}

void CMainFrame::ShowToolBar(ViewToolBar bar, bool shown) {
    CComboToolBar& toolBar = ToolBarOf(bar);
    if (toolBar.GetSafeHwnd()) {
        ShowControlBar(toolBar, shown);
    }
}

bool CMainFrame::IsToolBarShown(ViewToolBar bar) { return ToolBarOf(bar).IsVisible(); }

void CMainFrame::RepaintFrame() { InvalidateRect(m_hWnd, nullptr, TRUE); }

void CMainFrame::AddDevice(CameraFamily kind, int number, const std::wstring& name) {
    m_devices.push_back({{kind, number}, name});
}

std::optional<SelectedDevice> CMainFrame::SelectFirstDevice() {
    // The tree lists one branch per kind in kind order; its first device is
    // the first one of the lowest kind.
    const auto first = std::min_element(m_devices.begin(), m_devices.end(), [](const auto& a, const auto& b) {
        return static_cast<int>(a.device.kind) < static_cast<int>(b.device.kind);
    });
    if (first == m_devices.end()) {
        return std::nullopt;
    }
    return first->device;
}
