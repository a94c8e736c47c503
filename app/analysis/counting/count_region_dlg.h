#pragma once
// Chooses between counting the whole picture and counting inside a
// rectangle, typed in picture pixels (y from the top) or dragged on a
// preview of the engine's picture. The caller reads the mode and the
// rectangle after IDOK.
#include <windows.h>

#include <memory>

#include "dialog.h"
#include "img_count.h"
#include "picture.h"
#include "region_geometry.h"

class CCountRegionDlg : public CDialog {
public:
    explicit CCountRegionDlg(CIMGCount* engine, HWND parent = nullptr);

    // 0: the whole picture; 1: the rectangle.
    int m_nMode = 0;
    int m_nX = 0;
    int m_nY = 0;
    int m_nW = 0;
    int m_nH = 0;

    const PreviewFit& Fit() const { return m_fit; }
    // The preview's rectangle in the dialog's client area.
    RECT PreviewRect() const;
    // Paints the preview with its top-left corner at the origin of `dc`.
    void PaintPreview(HDC dc) const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetMode(int mode);
    void FitPreview();
    void ShowValues();
    void Repaint();
    POINT PicturePoint(LPARAM lParam) const;
    RECT FocusRect(POINT to) const;
    void OnFieldEdited(RegionField field, int controlId);
    void OnPaint();
    void OnSize();

    CIMGCount* m_engine;
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<CPicture> m_preview;
    PreviewFit m_fit;
    POINT m_start{};
    POINT m_current{};
    POINT m_previous{};
    bool m_dragging = false;
    bool m_showing = false;
};
