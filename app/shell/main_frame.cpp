#include "main_frame.h"

#include "copy_data.h"
#include "excel_version.h"
#include "mikra_app.h"
#include "mikra_view.h"
#include "private_messages.h"
#include "prompt_dlg.h"
#include "resource.h"
#include "resource_module.h"

namespace {
constexpr COLORREF kToolbarMask = RGB(192, 192, 192);
constexpr UINT kIndicators[] = {0, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
constexpr const wchar_t* kShowBar = L"ShowBar";

// The eight [ShowBar] keys with their flags, in the order they are written.
template <typename Frame>
auto ShowBarKeys(Frame& frame) {
    return std::to_array<std::pair<const wchar_t*, int*>>({
        {L"Ruler", &frame.m_bShowRuler},
        {L"Server", &frame.m_bShowServer},
        {L"Output", &frame.m_bShowOutput},
        {L"Video", &frame.m_bShowVideo},
        {L"CL", &frame.m_bShowCL},
        {L"IMG", &frame.m_bShowIMG},
        {L"Main", &frame.m_bShowMain},
        {L"AVI", &frame.m_bShowAVI},
    });
}
}  // namespace

CMainFrame::CMainFrame()
    : m_wndBrowserBar(GetMikraApp().GetPictureFolder(), GetMikraApp().GetFilesFolder(), &InstalledExcelVersion) {
    // A missing key means hidden.
    for (auto [key, flag] : ShowBarKeys(*this)) {
        m_ini.GetInt(*flag, kShowBar, key, 0);
    }
    OnCommand(ID_VIEW_TOOLBAR, [this] { ToggleToolBar(m_wndToolBar, m_bShowMain); });
    OnUpdateCommand(ID_VIEW_TOOLBAR, [this](CCommandState& state) { state.SetCheck(m_wndToolBar.IsVisible()); });
    OnCommand(ID_VIEW_VIDEO_TOOLBAR, [this] { ToggleToolBar(m_wndVideoBar, m_bShowVideo); });
    OnCommand(ID_VIEW_MEASURE_TOOLBAR, [this] { ToggleToolBar(m_wndMeasureBar, m_bShowCL); });
    OnCommand(ID_VIEW_PICTURE_TOOLBAR, [this] { ToggleToolBar(m_wndPictureBar, m_bShowIMG); });
    OnCommand(ID_VIEW_COMPOSITE_WINDOW, [this] { ToggleDockingBar(m_wndBrowserBar, m_bShowServer); });
    OnCommand(ID_VIEW_DATA_WINDOW, [this] { ToggleDockingBar(m_wndDataBar, m_bShowOutput); });
    OnCommand(ID_VIEW_RULERS, [this] { ToggleRulers(); });
    OnCommand(ID_LANGUAGE_ENGLISH, [this] { ChooseLanguage(0); });
    OnCommand(ID_LANGUAGE_CHINESE, [this] { ChooseLanguage(1); });
    m_wndScaleCombo.SetViewWindowSource([this] { return GetActiveViewWindow(); });
    m_wndParamFileCombo.SetViewWindowSource([this] { return GetActiveViewWindow(); });
    m_wndParamFileCombo.SetLoader([this](const std::wstring& name) {
        if (CMikraView* view = GetMikraView()) {
            view->LoadCameraParamFile(name);
        }
    });
}

void CMainFrame::PreCreateWindow(CreateParams& params) {
    // The title stays the program's name whatever document is open.
    params.title = kTitle;
}

bool CMainFrame::OnCreateClient(CCreateContext& context) {
    if (context.makeView && m_wndSplitter.Build(m_hWnd, context.makeView(), context.document)) {
        m_hWndClient = m_wndSplitter.GetSafeHwnd();
        SetActiveView(m_wndSplitter.GetView());
        AttachViewFrame();
        return true;
    }
    // Without the splitter the view alone fills the frame.
    m_wndSplitter.DestroyWindow();
    const bool built = CDockingFrame::OnCreateClient(context);
    AttachViewFrame();
    return built;
}

bool CMainFrame::CreateToolBar(CComboToolBar& toolBar, UINT resourceId, UINT imageId, UINT hotImageId) {
    if (!toolBar.Create(m_hWnd, resourceId) || !toolBar.LoadToolBar(resourceId)) {
        toolBar.DestroyWindow();
        return false;
    }
    toolBar.SetImages(imageId, kToolbarMask);
    toolBar.SetHotImages(hotImageId, kToolbarMask);
    AddUpdatedToolBar(toolBar);
    InvalidateRect(toolBar.GetSafeHwnd(), nullptr, TRUE);
    return true;
}

bool CMainFrame::CreateCombos() {
    bool created = true;
    if (m_wndVideoBar.GetSafeHwnd()) {
        if (m_wndVideoBar.CreateCombo(m_wndIntervalCombo, IDC_INTERVAL_COMBO, 55, CBS_DROPDOWN)) {
            for (const wchar_t* seconds : {L"1", L"2", L"4", L"8"}) {
                m_wndIntervalCombo.AddString(seconds);
            }
            m_wndIntervalCombo.SetCurSel(0);
        } else {
            created = false;
        }
        created &= m_wndVideoBar.CreateCombo(m_wndResolutionCombo, IDC_RESOLUTION_COMBO, 95, CBS_DROPDOWNLIST);
        if (m_wndVideoBar.CreateCombo(m_wndParamFileCombo, IDC_PARAM_FILE_COMBO, 95, CBS_DROPDOWNLIST)) {
            m_wndParamFileCombo.Refill();
            // No file is named by the empty text: the combo starts with no choice.
            m_wndParamFileCombo.SelectByName(L"");
        } else {
            created = false;
        }
    }
    if (m_wndMeasureBar.GetSafeHwnd()) {
        if (m_wndMeasureBar.CreateCombo(m_wndScaleCombo, IDC_SCALE_COMBO, 95, CBS_DROPDOWNLIST)) {
            m_wndScaleCombo.FillFromScaleIni();
            m_wndScaleCombo.SetCurSel(0);
        } else {
            created = false;
        }
    }
    return created;
}

int CMainFrame::OnCreate() {
    if (CDockingFrame::OnCreate() == -1) {
        return -1;
    }
    HDC screen = GetDC(nullptr);
    const bool manyColours = GetDeviceCaps(screen, BITSPIXEL) > 8;
    ReleaseDC(nullptr, screen);
    // With 256 colours or fewer the toolbars keep their buttons without images.
    auto images = [manyColours](UINT id) { return manyColours ? id : 0u; };

    m_hIcon.Reset(static_cast<HICON>(LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    m_hSmallIcon.Reset(static_cast<HICON>(LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon.Get()));

    EnableDocking(kDockAny);
    // A toolbar that cannot be made is left out; the frame goes on without it.
    CreateToolBar(m_wndToolBar, IDR_TOOLBAR_MAIN, images(IDB_TOOLBAR_MAIN), IDB_TOOLBAR_MAIN_HOT);
    InitStatusBar(kIndicators);
    CreateToolBar(m_wndMeasureBar, IDR_TOOLBAR_MEASURE, images(IDB_TOOLBAR_MEASURE), IDB_TOOLBAR_MEASURE_HOT);
    CreateToolBar(m_wndPictureBar, IDR_TOOLBAR_PICTURE, images(IDB_TOOLBAR_PICTURE), IDB_TOOLBAR_PICTURE_HOT);
    CreateToolBar(m_wndVideoBar, IDR_TOOLBAR_VIDEO, images(IDB_TOOLBAR_VIDEO), IDB_TOOLBAR_VIDEO_HOT);
    CreateCombos();
    CreateHistoryLists();
    NameToolBars();

    if (!m_wndBrowserBar.Create(LoadResourceString(IDS_COMPOSITE_WINDOW), m_hWnd, IDC_BROWSER_BAR) ||
        !m_wndDataBar.Create(LoadResourceString(IDS_DATA_WINDOW), m_hWnd, IDC_DATA_BAR)) {
        return -1;
    }
    m_wndBrowserBar.EnableDocking(kDockAny);
    m_wndDataBar.EnableDocking(kDockAny);
    m_wndDataBar.SetExtent(160);
    // The main toolbar shares the first row with the video toolbar; the
    // measurement and picture toolbars take the second.
    for (auto [toolBar, row] : {std::pair{&m_wndToolBar, 0}, std::pair{&m_wndVideoBar, 0},
                                std::pair{&m_wndMeasureBar, 1}, std::pair{&m_wndPictureBar, 1}}) {
        if (toolBar->GetSafeHwnd()) {
            DockToolBar(*toolBar, DockSide::top, row);
        }
    }
    DockControlBar(m_wndBrowserBar, DockSide::left);
    DockControlBar(m_wndDataBar, DockSide::bottom);
    ShowControlBar(m_wndBrowserBar, true);
    ShowControlBar(m_wndDataBar, true);

    RestoreBarPlaces();

    CStatusBar& status = GetStatusBar();
    for (auto [pane, width] : {std::pair{1, 130}, std::pair{2, 110}, std::pair{3, 150}}) {
        status.SetPaneWidth(pane, width);
        status.SetPaneText(pane, L"");
    }
    status.SetPaneText(0, LoadResourceString(IDS_IDLE_MESSAGE));

    if (!m_bShowServer) {
        ShowControlBar(m_wndBrowserBar, false);
    }
    if (!m_bShowOutput) {
        ShowControlBar(m_wndDataBar, false);
    }
    RecalcLayout();
    return 0;
}

void CMainFrame::ShowRulerBars() { m_wndSplitter.ShowRulers(m_bShowRuler != 0, true); }

void CMainFrame::ToggleToolBar(CToolBar& toolBar, int& flag) {
    if (!toolBar.GetSafeHwnd()) {
        return;
    }
    const bool show = !toolBar.IsVisible();
    flag = show ? 1 : 0;
    ShowControlBar(toolBar, show);
}

void CMainFrame::ToggleDockingBar(CDockingBar& bar, int& flag) {
    ShowControlBar(bar, !bar.IsVisible());
    flag = bar.IsVisible() ? 1 : 0;
}

void CMainFrame::ToggleRulers() {
    m_bShowRuler = m_bShowRuler ? 0 : 1;
    m_wndSplitter.ShowRulers(m_bShowRuler != 0, true);
}

void CMainFrame::ChooseLanguage(int language) {
    CPromptDlg prompt(LoadResourceString(IDS_LANGUAGE_NEXT_START), L"Vizcam", 1, m_hWnd);
    if (prompt.DoModal() == 1) {
        GetMikraApp().m_ini.WriteInt(language, L"Option", L"LAN");
    }
}

bool CMainFrame::OnClose() {
    m_bShowServer = m_wndBrowserBar.IsVisible() ? 1 : 0;
    m_bShowOutput = m_wndDataBar.IsVisible() ? 1 : 0;
    CPromptDlg prompt(LoadResourceString(IDS_CONFIRM_EXIT), L"Vizcam", 1, m_hWnd);
    if (prompt.DoModal() != 1) {
        return false;
    }
    // While a floating bar still has its window.
    SaveBarPlaces();
    return true;
}

void CMainFrame::OnDestroy() {
    for (auto [key, flag] : ShowBarKeys(*this)) {
        m_ini.WriteInt(*flag, kShowBar, key);
    }
    CDockingFrame::OnDestroy();
}

void CMainFrame::CreateHistoryLists() {
    constexpr RECT kListRect{0, 0, 200, 150};
    m_wndUndoList.Create(m_hWnd, kListRect, IDC_UNDO_LIST);
    m_wndRedoList.Create(m_hWnd, kListRect, IDC_REDO_LIST);
    // They drop down under the arrows of the undo and redo buttons, whose
    // pictures are the toolbar's images 3 and 4.
    if (m_wndToolBar.GetSafeHwnd()) {
        m_wndToolBar.SetButtonDropDown(ID_EDIT_UNDO_STEP, 3, m_wndUndoList.GetSafeHwnd());
        m_wndToolBar.SetButtonDropDown(ID_EDIT_REDO_STEP, 4, m_wndRedoList.GetSafeHwnd());
    }
    // A chosen line applies to the view's target controller; there is none
    // while the camera records or shows video without live measuring.
    for (CHistoryListBox* list : {&m_wndUndoList, &m_wndRedoList}) {
        list->SetControllerSource([this]() -> CImageController* {
            CMikraView* view = GetMikraView();
            return view ? view->GetTargetController() : nullptr;
        });
    }
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam) {
        for (CHistoryListBox* list : {&m_wndUndoList, &m_wndRedoList}) {
            if (list->OnParentCommand(wParam, lParam)) {
                return 0;
            }
        }
    }
    if (message == WM_COPYDATA) {
        // The record was copied into this process by the system; the view
        // checks it before it reads the text.
        if (CViewWindow* view = GetActiveView()) {
            SendMessageW(view->GetSafeHwnd(), WM_COPYDATA, 0, lParam);
        }
        return TRUE;
    }
    if (message == WM_SNAPSHOT_SAVED) {
        return OnSnapshotSaved(wParam);
    }
    // The windows over the video are the frame's pop-ups: they move with it,
    // and the view lays itself out again.
    if (message == WM_MOVE) {
        const LRESULT result = CDockingFrame::WindowProc(message, wParam, lParam);
        if (CMikraView* view = GetMikraView()) {
            view->UpdateLayout();
        }
        return result;
    }
    return CDockingFrame::WindowProc(message, wParam, lParam);
}
