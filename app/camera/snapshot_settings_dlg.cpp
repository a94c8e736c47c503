#include "snapshot_settings_dlg.h"

#include "camera_resource.h"
#include "radio_group.h"

CSnapshotSettingsDlg::CSnapshotSettingsDlg(int imageType, int nameType, HWND parent)
    : CDialog(IDD_SNAPSHOT_SETTINGS, parent),
      m_imageChoice(imageType >= 1 && imageType <= 3 ? imageType - 1 : -1),
      m_nameChoice(nameType == 0 || nameType == 1 ? nameType : -1) {
    BindExchange(RadioGroupExchange({IDC_SHOT_BMP, IDC_SHOT_JPEG, IDC_SHOT_TIFF}, m_imageChoice));
    BindExchange(RadioGroupExchange({IDC_SHOT_AUTO_NAMES, IDC_SHOT_USER_NAMES}, m_nameChoice));
}

BOOL CSnapshotSettingsDlg::OnInitDialog() {
    HWND combo = GetDlgItem(IDC_SHOT_RESOLUTION);
    for (std::size_t i = 0; i < m_list.size(); ++i) {
        SendMessageW(combo, CB_INSERTSTRING, WPARAM(i), reinterpret_cast<LPARAM>(m_list[i].label.c_str()));
        if (m_list[i].width == m_size.width && m_list[i].height == m_size.height) {
            SendMessageW(combo, CB_SETCURSEL, WPARAM(i), 0);
        }
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CSnapshotSettingsDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_SHOT_RESOLUTION) {
        if (code == CBN_SELCHANGE && !m_list.empty()) {
            const LRESULT selected = SendMessageW(GetDlgItem(IDC_SHOT_RESOLUTION), CB_GETCURSEL, 0, 0);
            if (selected >= 0 && std::size_t(selected) < m_list.size()) {
                // The label is the caller's and stays as it was.
                m_size.width = m_list[std::size_t(selected)].width;
                m_size.height = m_list[std::size_t(selected)].height;
            }
        }
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}
