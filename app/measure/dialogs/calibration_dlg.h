#pragma once
// Creates or overwrites a calibration in scale.ini after the user has drawn
// a calibration line: its name, the real length of the line and the unit.
#include <string>

#include "dialog.h"

class CCalibrationDlg : public CDialog {
public:
    explicit CCalibrationDlg(HWND parent = nullptr);

    // The measured length of the calibration line in picture pixels.
    void SetPixelLength(float pixels) { m_fPixels = pixels; }

    std::wstring m_strScalePath;  // scale.ini beside the program
    int m_nCount = 0;
    float m_fValue = 1.0f;
    int m_nResoWidth = 0;
    int m_nResoHeight = 0;
    std::wstring m_strUnit;
    std::wstring m_strName;
    float m_fLength = 0.0f;
    float m_fPixels = 0.0f;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    // The stored value of a calibration by exact name (1 when there is none);
    // selects its unit in the unit combo.
    float LookUpValue(const std::wstring& name);
    HWND UnitCombo() const;
};
