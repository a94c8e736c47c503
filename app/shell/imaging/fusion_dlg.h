#pragma once
// The image fusion dialog (dialog 217): the user lists pictures of one
// scene, the fusion engine combines them into one picture, the dialog shows
// it and saves it. Every start runs a fresh engine over the list as it is
// then, so no earlier start's pictures take part; the result shown stays
// until a later start delivers a new one.
#include <windows.h>

#include <memory>
#include <string>

#include "common_dialogs.h"
#include "dialog.h"
#include "image_preview_wnd.h"
#include "image_process_component.h"
#include "picture.h"
#include "picture_browser.h"
#include "picture_gdi.h"
#include "tool_bar.h"
#include "unique_handle.h"

class CFusionDlg : public CDialog {
public:
    static constexpr UINT kListId = 4097;
    static constexpr UINT kResultViewId = 101;
    static constexpr UINT kToolBarId = 0xE800;
    static constexpr UINT_PTR kResultTimer = 1;

    // fileDialogs asks for the pictures and the file to save; it outlives
    // the dialog. pictureFolder: the program's picture folder.
    CFusionDlg(ICommonDialogs& fileDialogs, std::wstring pictureFolder, HWND parent = nullptr);
    ~CFusionDlg() override;

    // The toolbar's commands.
    void OnOpen();
    void OnDelete();
    void OnStart();
    void OnSave();

    CPictureBrowser& GetPictureList() { return m_list; }
    // The picture shown, or null before the first result.
    const CPicture* GetResult() const { return m_result.get(); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();
    void OnTimer();
    void ShowResult();
    bool OnToolTipText(NMHDR& header);

    ICommonDialogs& m_fileDialogs;
    CToolBar m_toolBar;
    CPictureBrowser m_list;
    CImagePreviewWnd m_view;
    std::unique_ptr<CImageProcessComponent> m_engine;
    std::unique_ptr<CPicture> m_result;
    picture_gdi::UniqueBitmap m_bitmap;  // the result view shows it
    UniqueIcon m_icon;
    std::wstring m_toolTip;
};
