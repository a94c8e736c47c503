#pragma once
// The stitching dialog's result page (dialog 227): the stitched picture in
// a zoomable view with its effective area as the selection, and the saving
// of the selected part.
#include <windows.h>

#include <memory>

#include "common_dialogs.h"
#include "dialog.h"
#include "image_preview_wnd.h"
#include "picture.h"
#include "picture_gdi.h"

class CStitchResultDlg : public CDialog {
public:
    static constexpr UINT kViewId = 101;

    // fileDialogs asks for the file to save; it outlives the page.
    explicit CStitchResultDlg(ICommonDialogs& fileDialogs);
    ~CStitchResultDlg() override;

    // Shows a copy of the picture fitted to the view and enables saving;
    // 0 (nothing changed) for none.
    int SetImage(const CPicture* picture);
    // Saves the selected part under a name the user chooses.
    void OnSave();

    CImagePreviewWnd& GetView() { return m_view; }
    const CPicture* GetPicture() const { return m_picture.get(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();

    ICommonDialogs& m_fileDialogs;
    CImagePreviewWnd m_view;
    std::unique_ptr<CPicture> m_picture;
    picture_gdi::UniqueBitmap m_bitmap;
};
