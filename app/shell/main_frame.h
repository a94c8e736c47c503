#pragma once
// The program's main window: menu, the main, video, measurement and picture
// toolbars with their combo boxes, the composite window docked on the left
// and the data window at the bottom, the status bar, and the ruler splitter
// around the view. It remembers which bars are shown in [ShowBar] of
// Config.ini, asks before the program closes and switches the language for
// the next start.
#include "browser_bar.h"
#include "combo_tool_bar.h"
#include "docking_bar.h"
#include "docking_frame.h"
#include "flat_combo_box.h"
#include "ini_file.h"
#include "toolbar_combo_box.h"
#include "unique_handle.h"
#include "view_splitter.h"

class CMainFrame : public CDockingFrame {
public:
    static constexpr const wchar_t* kTitle = L"Vizcam Viewer";

    CMainFrame();

    CFlatComboBox& GetToolbarCombo() { return m_wndIntervalCombo; }
    CToolbarComboBox& GetResolutionCombo() { return m_wndResolutionCombo; }
    CFlatComboBox& GetScaleCombo() { return m_wndScaleCombo; }
    CBrowserBar& GetBrowserBar() { return m_wndBrowserBar; }
    CDockingBar& GetDataBar() { return m_wndDataBar; }

    // Applies the Ruler flag to the splitter and makes it the wanted state.
    void ShowRulerBars();

    // [ShowBar] flags: 1 shown, 0 hidden.
    int m_bShowRuler = 1;
    int m_bShowServer = 1;
    int m_bShowOutput = 1;
    int m_bShowVideo = 1;
    int m_bShowCL = 1;
    int m_bShowIMG = 1;
    int m_bShowMain = 1;
    int m_bShowAVI = 1;

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
    void ToggleToolBar(CToolBar& toolBar, int& flag);
    void ToggleDockingBar(CDockingBar& bar, int& flag);
    void ToggleRulers();
    void ChooseLanguage(int language);

    CComboToolBar m_wndToolBar;
    CBrowserBar m_wndBrowserBar;
    CDockingBar m_wndDataBar;
    CComboToolBar m_wndVideoBar;
    CComboToolBar m_wndMeasureBar;
    CComboToolBar m_wndPictureBar;
    CFlatComboBox m_wndIntervalCombo;
    CToolbarComboBox m_wndResolutionCombo;
    CFlatComboBox m_wndScaleCombo;
    CViewSplitterWnd m_wndSplitter;
    CFlatComboBox m_wndParamFileCombo;
    CIniFile m_ini;
    UniqueIcon m_hIcon;
    UniqueIcon m_hSmallIcon;
};
