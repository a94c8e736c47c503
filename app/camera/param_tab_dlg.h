#pragma once
// The tab dialog every camera family's video-parameter dialog is: the
// adjustment page under tab "参数调节" and the advanced page under "高级选项",
// created as children of the tab control 1200, placed 2 pixels below its
// items and filling its client area; choosing a tab shows its page and hides
// the other.
#include "dialog.h"
#include "work_tab_ctrl.h"

class CParamTabDlg : public CDialog {
public:
    // The pages live as long as the dialog; they are created when it opens.
    CParamTabDlg(UINT templateId, CDialog& adjustPage, CDialog& advancedPage, HWND parent);

protected:
    BOOL OnInitDialog() override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowPage(int index);

    CWorkTabCtrl m_tabs;
    CDialog& m_adjustPage;
    CDialog& m_advancedPage;
};
