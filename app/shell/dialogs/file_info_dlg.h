#pragma once
// File information (dialog 161): one text in static 1088 and OK.
#include <string>

#include "dialog.h"

class CFileInfoDlg : public CDialog {
public:
    CFileInfoDlg(std::wstring text, HWND parent);

    std::wstring m_strText;
};
