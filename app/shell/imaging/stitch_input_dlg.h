#pragma once
// The stitching dialog's input page (dialog 226): the grid's shape, the
// picture grid pane and the buttons that fill it and start stitching. The
// page owns the engine of the last stitch until the next one starts.
#include <windows.h>

#include <memory>

#include "dialog.h"
#include "image_stitching.h"
#include "stitch_grid_shape.h"
#include "stitch_preview_wnd.h"

class CStitchInputDlg : public CDialog {
public:
    static constexpr int kMaxCells = 20;
    static constexpr UINT_PTR kResultTimer = 1;

    // dialogs runs the grid's file dialogs; it outlives the page.
    explicit CStitchInputDlg(IPictureFileDialogs& dialogs);
    ~CStitchInputDlg() override;

    void OnShapeChosen(bool rowsList);
    void OnLoad();
    void OnClear();
    void OnClearAll();
    void OnStitch();
    void OnZoom(bool in);

    StitchGridShape GetShape() const { return m_shape; }
    CStitchPreviewWnd& GetPane() { return m_pane; }
    // The engine of the last stitch, or null before the first.
    CImageStitching* GetEngine() const { return m_engine.get(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}  // Enter does not close the page
    void OnCancel() override {}
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowShape();
    void Enable(int id, bool enabled);
    void Layout();

    CStitchPreviewWnd m_pane;
    StitchGridShape m_shape;
    std::unique_ptr<CImageStitching> m_engine;
};
