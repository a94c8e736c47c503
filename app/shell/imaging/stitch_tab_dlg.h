#pragma once
// The image stitching dialog (dialog 225): a tab control over the input
// page and the result page. Once a stitch has started, timer 1 waits for
// the engine and hands its picture and effective area to the result page.
// A stitch that gives no picture leaves the result page as it was and
// tells the user.
#include <windows.h>

#include "common_dialogs.h"
#include "dialog.h"
#include "picture_file_dialogs.h"
#include "stitch_input_dlg.h"
#include "stitch_result_dlg.h"
#include "unique_handle.h"

class CStitchTabDlg : public CDialog {
public:
    // gridDialogs: the grid's file dialogs; fileDialogs: the save dialog.
    // Both outlive the dialog.
    CStitchTabDlg(IPictureFileDialogs& gridDialogs, ICommonDialogs& fileDialogs, HWND parent = nullptr);

    CStitchInputDlg& GetInputPage() { return m_input; }
    CStitchResultDlg& GetResultPage() { return m_result; }
    // Shows page 0 (input) or 1 (result).
    void ShowPage(int page);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}  // Enter does not close the dialog
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();
    void OnTimer();

    CStitchInputDlg m_input;
    CStitchResultDlg m_result;
    int m_headerHeight = 0;
    UniqueIcon m_icon;
};
