#include "compressor_dlg.h"

#include "camera_resource.h"
#include "capture_graph.h"
#include "radio_group.h"

CCompressorDlg::CCompressorDlg(int choice, const std::wstring& name, HWND parent)
    : CDialog(IDD_COMPRESSOR, parent), m_choice(choice), m_name(name) {
    BindExchange(RadioGroupExchange({IDC_COMPRESSOR_NONE, IDC_COMPRESSOR_USE}, m_choice));
    BindText(IDC_COMPRESSOR_NAME, m_name);
}

BOOL CCompressorDlg::OnInitDialog() {
    HWND combo = GetDlgItem(IDC_COMPRESSOR_NAME);
    // A stored name selects its compressor only when it matches in full.
    int selected = 0;
    int position = 0;
    for (const std::wstring& name : ListVideoCompressors()) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (name == m_name && selected == 0) {
            selected = position;
        }
        ++position;
    }
    UpdateData(FALSE);
    SendMessageW(combo, CB_SETCURSEL, WPARAM(selected), 0);
    EnableNameCombo();
    return TRUE;
}

BOOL CCompressorDlg::OnCommand(WORD id, WORD code) {
    if ((id == IDC_COMPRESSOR_NONE || id == IDC_COMPRESSOR_USE) && code == BN_CLICKED) {
        m_choice = id == IDC_COMPRESSOR_USE ? 1 : 0;
        EnableNameCombo();
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}

void CCompressorDlg::EnableNameCombo() {
    EnableWindow(GetDlgItem(IDC_COMPRESSOR_NAME), m_choice == 1);
}

std::optional<std::pair<int, std::wstring>> RunCompressorDlg(int choice, const std::wstring& name, HWND parent) {
    CCompressorDlg dialog(choice, name, parent);
    if (dialog.DoModal() != IDOK) {
        return std::nullopt;
    }
    return std::make_pair(dialog.GetChoice(), dialog.GetName());
}
