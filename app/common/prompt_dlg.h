#pragma once
// The program's own message box: one text, sized to fit it, with either one
// confirming button (mode 0) or OK and Cancel. DoModal gives 1 for a
// confirming button and 2 for Cancel, Escape or closing the window.
#include <string>

#include "dialog.h"

class CPromptDlg : public CDialog {
public:
    CPromptDlg(std::wstring text, std::wstring caption, int mode, HWND parent = nullptr);

    std::wstring m_strCaption;
    int m_nMode;
    std::wstring m_strText;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    SIZE MeasureText() const;
    void FitToText();
};
