#pragma once
// The counting grid settings of one calibration: cell width and height and
// line colour, read from and written to its section of the calibration
// store ("scale.ini" beside the program; section scl_0 for "Default").
// Nothing is written before OK, and OK refuses cells smaller than 1.
#include <windows.h>

#include <string>

#include "color_button.h"
#include "dialog.h"
#include "ini_file.h"

class CGridPlateDlg : public CDialog {
public:
    // calibration: the index the main frame's calibration list shows.
    explicit CGridPlateDlg(int calibration, HWND parent = nullptr);

    // The calibration store; tests point it elsewhere before DoModal.
    CIniFile& ScaleFile() { return m_scale; }

    float m_fGridW = 10.0f;
    float m_fGridH = 10.0f;
    COLORREF m_color = RGB(255, 255, 255);
    std::wstring m_strSize = L"0*0";
    std::wstring m_strValue = L"1.0";
    std::wstring m_strUnit = L"null";

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadCalibration();
    std::wstring Section() const;

    CIniFile m_scale;
    CColorButton m_colorButton;
    int m_count = 0;
    int m_selected = 0;
};
