#pragma once
// The calibration selection dialog (155): the calibrations of scale.ini in
// a report list; OK takes the selected one, "Delete" removes it and renumbers
// the ones after it, "Delete all" removes the file once the user agrees.
// OK without a selected row ends as Cancel: it would otherwise hand back a
// calibration nobody chose.
#include <string>

#include "dialog.h"

class CScaleSelectDlg : public CDialog {
public:
    explicit CScaleSelectDlg(HWND parent = nullptr);

    std::wstring m_strScalePath;  // scale.ini beside the program unless set
    float m_fValue = 1.0f;
    std::wstring m_strUnit;
    std::wstring m_strName = L"Default";

    // Whether a deletion changed scale.ini, whichever button ended the
    // dialog: lists that show calibrations by position must be refilled.
    bool HasChangedCalibrations() const { return m_bChanged; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    void DeleteSelected();
    void DeleteAll();

    HWND m_list = nullptr;
    bool m_bChanged = false;
};
