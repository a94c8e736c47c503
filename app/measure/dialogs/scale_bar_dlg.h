#pragma once
// The scale-bar dialog (156): length, unit, width, colour and background of
// the next scale bar. The unit combo always opens on "μm"; the background
// choice is kept in Config.ini [CLDraw] BCBG. A length or width outside its
// range is refused: a huge width would keep the bar drawing for ever.
#include <string>

#include "color_button.h"
#include "dialog.h"

class CScaleBarDlg : public CDialog {
public:
    // Thicker bars are not drawn thicker.
    static constexpr unsigned kMaxWidth = 1000;
    static constexpr float kMaxLength = 1000000.0f;

    explicit CScaleBarDlg(COLORREF colour, HWND parent = nullptr);

    std::wstring m_strConfigPath;  // Config.ini beside the program unless set
    COLORREF m_color;
    std::wstring m_strUnit;
    unsigned m_nWidth = 1;
    int m_nBackground = 0;
    float m_fLength = 100.0f;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CColorButton m_colorButton;
};
