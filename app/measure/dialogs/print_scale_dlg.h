#pragma once
// Printing at a magnification of a stored calibration (dialog 158): the
// calibrations of scale.ini in a report list, the magnification, and OK or
// preview. DoModal gives IDOK once a calibration was taken by either button.
#include <string>

#include "dialog.h"

class CPrintScaleDlg : public CDialog {
public:
    // Larger magnifications print a picture pixel bigger than any page.
    static constexpr unsigned kMaxMagnification = 10000;

    explicit CPrintScaleDlg(HWND parent = nullptr);

    std::wstring m_strScalePath;  // scale.ini beside the program unless set
    unsigned m_nMagnification = 100;
    int m_nPreview = 0;  // 1 when the preview button ended the dialog
    float m_fValue = 1.0f;
    std::wstring m_strUnit;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    void CreateList();
    void FillList();
    // Reads the selected row's calibration and the magnification and ends
    // the dialog; with no row selected the user is told and it stays open.
    void TakeCalibration(int preview);

    HWND m_list = nullptr;
};
