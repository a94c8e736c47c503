#pragma once
// Asks for the text of a text annotation, shown at the point where the text
// is placed.
#include <string>

#include "dialog.h"

class CTextInputDlg : public CDialog {
public:
    // (x, y): screen position of the dialog's top-left corner.
    CTextInputDlg(int x, int y, HWND parent = nullptr);

    std::wstring m_strText;

protected:
    BOOL OnInitDialog() override;

private:
    int m_x;
    int m_y;
};
