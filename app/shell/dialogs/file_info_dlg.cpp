#include "file_info_dlg.h"

#include "resource.h"

CFileInfoDlg::CFileInfoDlg(std::wstring text, HWND parent)
    : CDialog(IDD_FILE_INFO, parent), m_strText(std::move(text)) {
    BindText(IDC_FILE_INFO_TEXT, m_strText);
}
