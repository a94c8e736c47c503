#pragma once
// Dialog 255: switches the measuring ruler on, centres it, places its two
// lines, picks its colour and sets its tick spacing; every change shows at
// once through the host. Opening reads Config.ini [Ruler] and the chosen
// calibration's spacing and unit; closing (by any button) writes them back.
#include <string>

#include "color_button.h"
#include "dialog.h"
#include "ruler_overlay_host.h"
#include "ruler_settings_store.h"

class CRulerSettingsDlg : public CDialog {
public:
    CRulerSettingsDlg(IRulerOverlayHost& host, const RulerSettingsFiles& files, HWND parent = nullptr);

    int GetShow() const { return m_bShow; }
    int GetCentre() const { return m_bCentre; }
    // Slider positions, window pixels.
    int GetHorizontalPos() const { return m_nHorizontalPos; }
    int GetVerticalPos() const { return m_nVerticalPos; }
    COLORREF GetColour() const { return m_colour; }
    int GetSpacing() const { return m_nSpacing; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ReadSlider(int id);
    void ReadSpacing();
    void WriteBack();

    IRulerOverlayHost& m_host;
    const RulerSettingsFiles& m_files;
    CColorButton m_colourButton;
    RulerSizes m_sizes;
    int m_nCalibration = 0;
    // As read at opening, frame pixels.
    int m_nRulerX = 100;
    int m_nRulerY = 100;
    int m_bShow = 0;
    int m_bCentre = 0;
    int m_nHorizontalPos = 100;
    int m_nVerticalPos = 100;
    bool m_bHorizontalMoved = false;
    bool m_bVerticalMoved = false;
    COLORREF m_colour = RGB(255, 255, 255);
    int m_nSpacing = 10;
};
