#pragma once
// The custom-counter dialog (153): type, colour, next number and size of
// the counter markers drawn next. Opening shows the controller's counter
// tool and colour with their stored numbering; OK stores the numbering for
// all three types of the colour, selects the counter tool and keeps the
// colour in Config.ini [CLdraw] CColor. Out-of-range numbers are refused.
#include <string>

#include "color_button.h"
#include "dialog.h"

class CImageController;

class CCounterDlg : public CDialog {
public:
    static constexpr unsigned kMaxNextNumber = 99999;
    static constexpr unsigned kMaxSize = 200;

    CCounterDlg(CImageController& controller, HWND parent = nullptr);

    std::wstring m_strConfigPath;  // Config.ini beside the program unless set
    int m_nType = 14;               // 14 circle, 16 rectangle, 15 diamond
    COLORREF m_color = 0;
    unsigned m_nNextNumber = 1;
    unsigned m_nSize = 15;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Shows the stored numbering of the chosen type and colour.
    void ShowNumbering();

    CImageController& m_controller;
    CColorButton m_colorButton;
};
