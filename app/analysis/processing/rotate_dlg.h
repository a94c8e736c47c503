#pragma once
// The rotation dialog (143): a quarter turn clockwise ("90"), a half turn
// ("180") or a quarter turn counter-clockwise ("270"). Its angle edit and
// spin stay hidden.
#include <windows.h>

#include "dialog.h"

class CRotateDlg : public CDialog {
public:
    explicit CRotateDlg(HWND parent);

    // The chosen entry: 0 "90", 1 "180", 2 "270".
    int m_nIndex = 0;
    float m_fAngle = 0;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
};
