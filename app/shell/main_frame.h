#pragma once
// The program's main window: menu, the main, video, measurement and picture
// toolbars with their combo boxes, the composite window docked on the left
// and the data window at the bottom, the status bar, and the ruler splitter
// around the view. It remembers which bars are shown in [ShowBar] of
// Config.ini, asks before the program closes and switches the language for
// the next start.
#include <array>
#include <memory>
#include <utility>

#include "browser_bar.h"
#include "combo_tool_bar.h"
#include "docking_bar.h"
#include "docking_frame.h"
#include "filter_commands.h"
#include "flat_combo_box.h"
#include "full_screen_dlg.h"
#include "counting_dialogs_opener.h"
#include "file_info_opener.h"
#include "grid_plate_opener.h"
#include "imaging_dialogs_opener.h"
#include "history_list_box.h"
#include "count_report_writer.h"
#include "office_export_service.h"
#include "ini_file.h"
#include "param_file_combo.h"
#include "scale_combo.h"
#include "toolbar_combo_box.h"
#include "unique_handle.h"
#include "view_frame.h"
#include "view_splitter.h"
#include "workspace_bar.h"

class CMikraView;

class CMainFrame : public CDockingFrame, public IViewFrame, private IPictureBrowserHost {
public:
    static constexpr const wchar_t* kTitle = L"Vizcam Viewer";

    CMainFrame();

    CFlatComboBox& GetToolbarCombo() { return m_wndIntervalCombo; }
    CToolbarComboBox& GetResolutionCombo() { return m_wndResolutionCombo; }
    CScaleCombo& GetScaleCombo() { return m_wndScaleCombo; }
    CParamFileCombo& GetParamFileCombo() { return m_wndParamFileCombo; }
    CBrowserBar& GetBrowserBar() { return m_wndBrowserBar; }
    CWorkspaceBar& GetDataBar() { return m_wndDataBar; }

    // The view's side of the frame (main_frame_view_frame.cpp).
    std::wstring GetPictureFolder() override;
    std::wstring GetVideoFolder() override;
    std::wstring GetFilesFolder() override;
    void StoreFolder(ViewFolder folder, const std::wstring& path) override;
    void UpdateRulerBars(int mode, POINT position, const RulerGeometry& geometry) override;
    void MoveRulerMarker(POINT cursor) override;
    bool IsBackgroundPictureOn() const override;
    void ClearBackgroundPicture() override;
    std::vector<std::wstring> TakeBrowserPictures() override;
    std::vector<std::wstring> TakeExportFiles() override;
    void AddExportFile(const std::wstring& path) override;
    void RequestSnapshotExport(bool word) override;
    bool AddBrowserPicture(const std::wstring& path, const std::wstring& caption) override;
    void SelectBrowserPicture(int index) override;
    std::wstring GetBrowserPicture() const override;
    void ReportUnreadableFile(const std::wstring& path) override;
    void AddRecentDocument(const std::wstring& path) override;
    std::optional<std::wstring> AskPictureName(const std::wstring& name) override;
    std::optional<int> AskLineWidth() override;
    std::optional<BrowserItem> GetBrowserMenuItem() const override;
    void RenameBrowserItem(int index, const std::wstring& path, const std::wstring& caption) override;
    void RemoveBrowserPicture(const std::wstring& path) override;
    void SetDrawingFileAssociation(bool associated) override;
    std::wstring GetIntervalText() const override;
    void FillResolutionCombo(std::span<const CameraResolution> resolutions, CameraFrameSize current) override;
    void ClearResolutionCombo() override;
    int GetResolutionSelection() const override;
    int GetCalibrationSelection() const override;
    int GetParamFileSelection() const override;
    void SetParamFileSelection(int index) override;
    void RefillCalibrations() override;
    void SelectCalibration(float value, const std::wstring& unit) override;
    void SelectCalibrationByName(const std::wstring& name) override;
    void SetParamFileFamily(CameraFamily family) override;
    void RefillParamFiles() override;
    HWND ShowFullScreenVideo() override;
    void SetStatusPane(int pane, const std::wstring& text) override;
    void ShowToolBar(ViewToolBar bar, bool shown) override;
    void ShowHistory(const CHistoryStore* history) override;
    IWorkspaceBar* GetWorkspaceBar() override { return &m_wndDataBar; }
    void RepaintFrame() override;
    void AddDevice(CameraFamily kind, int number, const std::wstring& name) override;
    std::optional<SelectedDevice> SelectFirstDevice() override;
    std::optional<SelectedDevice> GetPickedDevice() override;
    bool IsToolBarShown(ViewToolBar bar);

    // Applies the Ruler flag to the splitter and makes it the wanted state.
    void ShowRulerBars() override;
    CViewSplitterWnd& GetSplitter() { return m_wndSplitter; }

    // [ShowBar] flags: 1 shown, 0 hidden.
    int m_bShowRuler = 1;
    int m_bShowServer = 1;
    int m_bShowOutput = 1;
    int m_bShowVideo = 1;
    int m_bShowCL = 1;
    int m_bShowIMG = 1;
    int m_bShowMain = 1;
    int m_bShowAVI = 1;
    // One-shot: the next saved snapshot goes to the Word or Excel export
    // instead of being opened.
    int m_bSnapToWord = 0;
    int m_bSnapToExcel = 0;

protected:
    void PreCreateWindow(CreateParams& params) override;
    int OnCreate() override;
    bool OnCreateClient(CCreateContext& context) override;
    bool OnClose() override;
    void OnDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateToolBar(CComboToolBar& toolBar, UINT resourceId, UINT imageId, UINT hotImageId);
    bool CreateCombos();
    // The undo and redo lists, created hidden.
    void CreateHistoryLists();
    void ToggleToolBar(CToolBar& toolBar, int& flag);
    void ToggleDockingBar(CDockingBar& bar, int& flag);
    // Where the user left the docking bars (side or floating window, and
    // size) and the toolbars (side, row and place in it, or floating
    // window), kept in Config.ini [BarPlace] (main_frame_bars.cpp); saved
    // when the user confirms closing.
    void RestoreBarPlaces();
    void RestoreToolBarPlaces();
    void SaveBarPlaces();
    // The toolbars with the names of their [ShowBar] and [BarPlace] keys.
    std::array<std::pair<CComboToolBar*, const wchar_t*>, 4> ToolBarNames();
    // Gives each toolbar the text of its View menu command as its name,
    // shown over it when it floats.
    void NameToolBars();
    void ToggleRulers();
    void ChooseLanguage(int language);

    CComboToolBar m_wndToolBar;
    CBrowserBar m_wndBrowserBar;
    CWorkspaceBar m_wndDataBar;
    CComboToolBar m_wndVideoBar;
    CComboToolBar m_wndMeasureBar;
    CComboToolBar m_wndPictureBar;
    CFlatComboBox m_wndIntervalCombo;
    CToolbarComboBox m_wndResolutionCombo;
    CScaleCombo m_wndScaleCombo;
    CViewSplitterWnd m_wndSplitter;
    CParamFileCombo m_wndParamFileCombo;
    CHistoryListBox m_wndUndoList{true};
    CHistoryListBox m_wndRedoList{false};
    CGridPlateOpener m_gridPlate;
    CCountingDialogsOpener m_countingDialogs;
    CFileInfoOpener m_fileInfo;
    CImagingDialogsOpener m_imagingDialogs;
    // The Office exports of the view's controllers (main_frame_office.cpp).
    static COfficeExportService::Frame OfficeExportFrame(CMainFrame& frame);
    COfficeExportService m_officeExports{OfficeExportFrame(*this)};
    CWordCountReport m_countReport{m_officeExports};
    CComboToolBar& ToolBarOf(ViewToolBar bar);
    // Gives the view this frame as its IViewFrame, and the picture browser
    // this frame as its host.
    void AttachViewFrame();
    // The picture browser's side of the frame: it reaches the view.
    HWND GetActiveViewWindow() const override;
    void SaveImageAs() override;
    void RenameCurrentPicture() override;
    void RemovePicture(const std::wstring& path, bool deleteFile) override;
    CMikraView* GetMikraView() const;
    // WM_SNAPSHOT_SAVED (main_frame_snapshot.cpp).
    LRESULT OnSnapshotSaved(WPARAM pathAddress);
    void EndSnapshotExport();

    CIniFile m_ini;
    // The picture menu's operations, run by every picture controller of the
    // view; their dialogs are owned by this frame.
    CImageFilterCommands m_filterCommands;
    UniqueIcon m_hIcon;
    UniqueIcon m_hSmallIcon;
    // The full-screen video dialog, made on first use over the view.
    std::unique_ptr<IFullScreenHost> m_fullScreenHost;
    std::unique_ptr<CFullScreenDlg> m_fullScreen;
};
