// The main frame as the view sees it (IViewFrame): the application's folders
// and flags, the picture browser and export file list, the video toolbar's
// combos, the status panes, the toolbars and the devices found at start;
// and as the picture browser sees it (IPictureBrowserHost): the view.
#include <algorithm>

#include "browser_resource.h"
#include "line_width_dlg.h"
#include "file_association.h"
#include "full_screen_view_host.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_view.h"
#include "prompt_dlg.h"
#include "rename_picture_dlg.h"
#include "module_folder.h"
#include "resource_module.h"

CMikraView* CMainFrame::GetMikraView() const { return dynamic_cast<CMikraView*>(GetActiveView()); }

void CMainFrame::AttachViewFrame() {
    if (CMikraView* view = GetMikraView()) {
        view->SetViewFrame(this);
        m_filterCommands.SetOwnerWindow(m_hWnd);
        view->SetFilterCommands(&m_filterCommands);
        m_gridPlate.SetParentWindow(m_hWnd);
        view->SetGridPlateDialog(&m_gridPlate);
        m_countingDialogs.SetParentWindow(m_hWnd);
        m_countingDialogs.SetReportWriter(&m_countReport);
        view->SetCountingDialogs(&m_countingDialogs);
        view->SetOfficeExports(&m_officeExports);
        m_fileInfo.SetParentWindow(m_hWnd);
        view->SetFileInfoDialog(&m_fileInfo);
        m_imagingDialogs.SetParentWindow(m_hWnd);
        m_imagingDialogs.SetPictureFolder([this] { return GetPictureFolder(); });
        view->SetImagingDialogs(&m_imagingDialogs);
    }
    m_wndBrowserBar.GetPictureBrowser().SetHost(this);
    m_wndBrowserBar.GetDeviceTree().SetViewWindow([this] { return GetActiveViewWindow(); });
}

HWND CMainFrame::GetActiveViewWindow() const {
    const CMikraView* view = GetMikraView();
    return view ? view->GetSafeHwnd() : nullptr;
}

void CMainFrame::SaveImageAs() {
    if (CMikraView* view = GetMikraView()) {
        view->SaveImageAs();
    }
}

void CMainFrame::RenameCurrentPicture() {
    if (CMikraView* view = GetMikraView()) {
        view->RenameCurrentPicture();
    }
}

void CMainFrame::RemovePicture(const std::wstring& path, bool deleteFile) {
    if (CMikraView* view = GetMikraView()) {
        view->RemovePicture(path, deleteFile);
    }
}

std::wstring CMainFrame::GetPictureFolder() { return GetMikraApp().GetPictureFolder(); }

std::wstring CMainFrame::GetVideoFolder() { return GetMikraApp().GetVideoFolder(); }

std::wstring CMainFrame::GetFilesFolder() { return GetMikraApp().GetFilesFolder(); }

void CMainFrame::StoreFolder(ViewFolder folder, const std::wstring& path) {
    const wchar_t* key = folder == ViewFolder::pictures ? L"PicF" : folder == ViewFolder::videos ? L"AviF" : L"XWF";
    GetMikraApp().StoreFolder(key, path);
}

// The ruler bars are the splitter's panes. Mode 1 repaints the vertical bar
// at once, 2 the horizontal one, 3 both when they next paint. A picture
// shown smaller than its size hides them; they come back as wanted otherwise.
void CMainFrame::UpdateRulerBars(int mode, POINT position, const RulerGeometry& geometry) {
    const RulerBarGeometry bars{geometry.origin, position,       geometry.width,
                                geometry.height, geometry.zoomX, geometry.zoomY};
    m_wndSplitter.RedrawRulers(mode == 1 || mode == 2 ? mode : 0, bars, POINT{0, 0});
    m_wndSplitter.AfterRulerUpdate(geometry.width, geometry.height, geometry.zoomX, geometry.zoomY);
}

void CMainFrame::MoveRulerMarker(POINT cursor) {
    if (const CRulerView* bar = m_wndSplitter.GetRuler(true)) {
        m_wndSplitter.RedrawRulers(3, bar->GetGeometry(), cursor);
    }
}

bool CMainFrame::IsBackgroundPictureOn() const { return GetMikraApp().m_bDrawAD != 0; }

void CMainFrame::ClearBackgroundPicture() { GetMikraApp().m_bDrawAD = 0; }

std::vector<std::wstring> CMainFrame::TakeBrowserPictures() {
    CPictureBrowser& browser = m_wndBrowserBar.GetPictureBrowser();
    browser.Reload();
    std::vector<std::wstring> paths = browser.GetPaths();
    browser.ClearPaths();
    return paths;
}

std::vector<std::wstring> CMainFrame::TakeExportFiles() {
    CThumbList& list = m_wndBrowserBar.GetFileList();
    list.Reload();
    std::vector<std::wstring> paths = list.GetPaths();
    list.ClearPaths();
    return paths;
}

void CMainFrame::AddExportFile(const std::wstring& path) { m_wndBrowserBar.GetFileList().AddFile(path, 0); }

bool CMainFrame::AddBrowserPicture(const std::wstring& path, const std::wstring& caption) {
    return m_wndBrowserBar.GetPictureBrowser().AddPicture(path, 0, caption);
}

void CMainFrame::SelectBrowserPicture(int index) { m_wndBrowserBar.GetPictureBrowser().SelectPicture(index); }

std::wstring CMainFrame::GetBrowserPicture() const { return m_wndBrowserBar.GetPictureBrowser().GetCurrentPath(); }

void CMainFrame::ReportUnreadableFile(const std::wstring& path) {
    CPromptDlg prompt(LoadResourceString(IDS_OPEN_FILE_FAILED) + L"\n" + path, L"Vizcam", 0, m_hWnd);
    prompt.DoModal();
}

void CMainFrame::AddRecentDocument(const std::wstring& path) { GetMikraApp().AddRecentDocument(path); }

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

void CMainFrame::RefillCalibrations() { m_wndScaleCombo.FillFromScaleIni(); }

void CMainFrame::SelectCalibration(float value, const std::wstring& unit) {
    m_wndScaleCombo.SelectByIndex(value, unit);
}

void CMainFrame::SelectCalibrationByName(const std::wstring& name) { m_wndScaleCombo.SelectByName(name); }

void CMainFrame::SetParamFileFamily(CameraFamily family) {
    switch (family) {
    case CameraFamily::usbCmos: m_wndParamFileCombo.SetCameraKind(0); break;
    case CameraFamily::ccd: m_wndParamFileCombo.SetCameraKind(1); break;
    case CameraFamily::gigE: m_wndParamFileCombo.SetCameraKind(2); break;
    case CameraFamily::uvc: m_wndParamFileCombo.SetCameraKind(3); break;
    default: m_wndParamFileCombo.SetCameraKind(-1); break;
    }
}

void CMainFrame::RefillParamFiles() { m_wndParamFileCombo.Refill(); }

HWND CMainFrame::ShowFullScreenVideo() {
    CMikraView* view = GetMikraView();
    if (!view) {
        return nullptr;
    }
    if (!m_fullScreen || !m_fullScreen->GetSafeHwnd()) {
        m_fullScreen.reset();
        m_fullScreenHost = std::make_unique<CFullScreenViewHost>(
            *view, [this] { return m_fullScreen ? m_fullScreen->GetSafeHwnd() : nullptr; });
        m_fullScreen = std::make_unique<CFullScreenDlg>(*m_fullScreenHost);
        if (!m_fullScreen->Create(view->GetSafeHwnd())) {
            m_fullScreen.reset();
            return nullptr;
        }
    }
    HWND dialog = m_fullScreen->GetSafeHwnd();
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    ::SetWindowPos(dialog, HWND_TOP, 0, 0, width + 1, height + 1, SWP_SHOWWINDOW);
    ::MoveWindow(m_fullScreen->GetDlgItem(IDC_FULL_SCREEN_NOTE), 0, 0, width, height, TRUE);
    ::MoveWindow(m_fullScreen->GetDlgItem(IDC_FULL_SCREEN_VIDEO), 1, 1, width - 2, height - 2, TRUE);
    return dialog;
}

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

void CMainFrame::ShowHistory(const CHistoryStore* history) {
    for (CHistoryListBox* list : {&m_wndUndoList, &m_wndRedoList}) {
        if (history) {
            list->Fill(*history);
        } else {
            list->Clear();
        }
    }
}

void CMainFrame::RepaintFrame() { InvalidateRect(m_hWnd, nullptr, TRUE); }

void CMainFrame::AddDevice(CameraFamily kind, int number, const std::wstring& name) {
    m_wndBrowserBar.GetDeviceTree().AddDevice({name, number}, static_cast<int>(kind));
}

// The tree lists one branch per kind in kind order; its first device is the
// first one of the lowest kind.
std::optional<SelectedDevice> CMainFrame::SelectFirstDevice() {
    m_wndBrowserBar.GetDeviceTree().SelectFirst();
    return GetPickedDevice();
}

std::optional<SelectedDevice> CMainFrame::GetPickedDevice() {
    CDeviceTree& tree = m_wndBrowserBar.GetDeviceTree();
    if (tree.GetSelectedCategory() == 0) {
        return std::nullopt;
    }
    return SelectedDevice{static_cast<CameraFamily>(tree.GetSelectedCategory()), tree.GetSelectedDevice().value};
}

std::optional<std::wstring> CMainFrame::AskPictureName(const std::wstring& name) {
    CRenamePictureDlg dialog(name, m_hWnd);
    if (dialog.DoModal() != IDOK) {
        return std::nullopt;
    }
    return dialog.m_strName;
}

std::optional<int> CMainFrame::AskLineWidth() {
    CLineWidthDlg dialog(m_hWnd);
    if (dialog.DoModal() != IDOK) {
        return std::nullopt;
    }
    return dialog.GetWidth();
}

std::optional<BrowserItem> CMainFrame::GetBrowserMenuItem() const {
    const CPictureBrowser& browser = m_wndBrowserBar.GetPictureBrowser();
    const int index = browser.GetContextIndex();
    if (index < 0 || index >= browser.GetItemCount()) {
        return std::nullopt;
    }
    return BrowserItem{index, browser.GetContextPath(), browser.GetItemCaption(index)};
}

void CMainFrame::RenameBrowserItem(int index, const std::wstring& path, const std::wstring& caption) {
    CPictureBrowser& browser = m_wndBrowserBar.GetPictureBrowser();
    browser.SetItemPath(index, path);
    browser.SetCaption(index, caption);
}

void CMainFrame::RemoveBrowserPicture(const std::wstring& path) {
    m_wndBrowserBar.GetPictureBrowser().RemovePicture(path);
}

void CMainFrame::SetDrawingFileAssociation(bool associated) {
    static constexpr const wchar_t* kTypeKey = L".kqmk";
    CFileAssociation association(kTypeKey, GetModuleFolder());
    if (!associated) {
        association.UnregisterDrawingFileType(kTypeKey);
    } else if (!association.IsDrawingFileTypeRegistered(kTypeKey)) {
        association.RegisterDrawingFileType(kTypeKey, GetModuleFolder());
    }
}
