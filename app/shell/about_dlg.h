#pragma once
// The About box (dialog 224): the program's name and version.
#include "dialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND parent);

protected:
    BOOL OnInitDialog() override;
};
