#pragma once
// Line width (dialog 142): a width of 1 to 10 on an edit with a spin
// control; anything else is refused on OK.
#include "dialog.h"

class CLineWidthDlg : public CDialog {
public:
    static constexpr unsigned kMinWidth = 1;
    static constexpr unsigned kMaxWidth = 10;

    explicit CLineWidthDlg(HWND parent);

    // The width after OK.
    int GetWidth() const { return static_cast<int>(m_nWidth); }

protected:
    BOOL OnInitDialog() override;

private:
    unsigned m_nWidth = 1;
};
