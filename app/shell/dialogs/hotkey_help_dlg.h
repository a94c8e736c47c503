#pragma once
// The list of full-screen keys (dialog 139): texts and an OK button.
#include "dialog.h"

class CHotkeyHelpDlg : public CDialog {
public:
    explicit CHotkeyHelpDlg(HWND parent);
};
