#pragma once
// Sets the grey window that makes targets: a channel, a lower and an upper
// threshold (sliders, edits and spins), with the channel's histogram and
// the share of the picture the window covers. Every change makes the mask
// again and paints its outlines into the controller's picture, which starts
// from the copy taken before the dialog opened; Cancel puts the copy back.
#include <windows.h>

#include <memory>
#include <string>

#include "dialog.h"
#include "histogram_bars.h"
#include "image_controller.h"
#include "img_count.h"
#include "picture.h"

class CManualCountDlg : public CDialog {
public:
    explicit CManualCountDlg(HWND parent = nullptr);

    // Filled by the caller before DoModal; only the copy is owned.
    CIMGCount* m_pEngine = nullptr;
    CPicture* m_pPicture = nullptr;
    std::unique_ptr<CPicture> m_pCopy;
    CImageController* m_pController = nullptr;

    int m_nChannel = 0;
    unsigned m_nUpper = 128;
    unsigned m_nLower = 0;
    std::wstring m_strShare;

    // Paints the histogram panel into `dc` at its origin, `width` x `height`.
    void PaintHistogram(HDC dc, int width, int height);
    // The panel's rectangle in the dialog's client area.
    RECT PanelRect() const;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Apply();
    void RestorePicture();
    void ChangeChannel(int channel);
    void ShowHistogram();
    void PaintPanel(HDC dc);
    void ShowThresholds();
    void OnSliderMoved(HWND slider);
    void OnEditChanged();

    LevelCounts m_histogram{};
    int m_largest = 0;
    int m_barWidth = 0;
    int m_leftMargin = 0;
    bool m_showing = false;
    bool m_ready = false;
};
