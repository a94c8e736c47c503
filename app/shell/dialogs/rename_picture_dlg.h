#pragma once
// Renaming the current picture (dialog 248), or naming a new snapshot
// (mode 1: its own caption and a second text under the name).
#include <string>

#include "dialog.h"

class CRenamePictureDlg : public CDialog {
public:
    enum Mode { kRename = 0, kNameSnapshot = 1 };

    CRenamePictureDlg(std::wstring name, HWND parent);
    CRenamePictureDlg(std::wstring name, int mode, std::wstring secondText, HWND parent);

    // The edited name after OK.
    std::wstring m_strName;
    std::wstring m_strSecondText;
    int m_nMode;

protected:
    BOOL OnInitDialog() override;
};
