#pragma once
// How many decimal places measurement results show: 0 to 5.
#include "dialog.h"

class CPrecisionDlg : public CDialog {
public:
    CPrecisionDlg(int decimals, HWND parent = nullptr);

    unsigned m_nDecimals;
};
