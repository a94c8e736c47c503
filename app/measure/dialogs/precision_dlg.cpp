#include "precision_dlg.h"

#include "measure_resource.h"

CPrecisionDlg::CPrecisionDlg(int decimals, HWND parent)
    : CDialog(IDD_PRECISION, parent), m_nDecimals(static_cast<unsigned>(decimals)) {
    BindUInt(IDC_PRECISION_DECIMALS, m_nDecimals, 0, 5);
}
