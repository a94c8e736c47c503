#include "gige_param_dlg.h"

#include <commctrl.h>

#include "bound_call.h"
#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "param_preset_dlg.h"
#include "resource_module.h"

CVideoParamDlg::CVideoParamDlg(GigeVideoParams& params, CCameraDevice& camera, HWND parent)
    : CDialog(IDD_GIGE_VIDEO_PARAM, parent),
      m_params(params),
      m_videoPage(params, camera),
      m_cameraPage(params, camera) {}

BOOL CVideoParamDlg::OnInitDialog() {
    HWND tabs = GetDlgItem(IDC_VP_TABS);
    m_tabs.Subclass(tabs);
    const std::wstring titles[] = {LoadResourceString(IDS_VIDEO_PAGE), LoadResourceString(IDS_CAMERA_PAGE)};
    for (int i = 0; i < 2; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(titles[i].c_str());
        SendMessageW(tabs, TCM_INSERTITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    m_videoPage.Create(tabs);
    m_cameraPage.Create(tabs);
    RECT area{};
    GetClientRect(tabs, &area);
    RECT strip{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&strip));
    area.top = strip.bottom + 2;
    for (CDialog* page : {static_cast<CDialog*>(&m_videoPage), static_cast<CDialog*>(&m_cameraPage)}) {
        SetWindowPos(page->GetSafeHwnd(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowPage(0);
    return TRUE;
}

void CVideoParamDlg::ShowPage(int index) {
    ShowWindow(m_videoPage.GetSafeHwnd(), index == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(m_cameraPage.GetSafeHwnd(), index == 1 ? SW_SHOW : SW_HIDE);
}

void CVideoParamDlg::OnOK() {
    std::int32_t exposure = m_params.exposure;
    if (CallBoundOrFail(KQGE().KQGE_GetExposure, m_params.cameraIndex, &exposure) == 0) {
        m_params.exposure = exposure;
    }
    EndDialog(IDOK);
}

void CVideoParamDlg::OnCancel() {
    m_videoPage.Restore();
    m_cameraPage.Restore();
    EndDialog(IDCANCEL);
}

void CVideoParamDlg::OpenPresets() {
    ParamPresetRecord record;
    record.family = PresetFamily::gige;
    record.exposureTime = m_params.exposure * 0.001;
    record.exposureUnit = L"ms";
    PresetValues& v = record.values;
    v.exposure = m_params.exposure;
    v.gainR = m_params.gainR;
    v.gainG = m_params.gainG;
    v.gainB = m_params.gainB;
    v.adGain = m_params.gainAll;
    v.contrast = m_params.contrast;
    v.gamma = 16;
    v.flip = m_params.flip;
    v.color = m_params.colourMode;
    v.sharpness = m_params.sharpness;
    v.saturation = m_params.saturation;
    v.averages = m_params.whiteBalance;
    record.selectedIndex = m_chosenParamFile.value_or(m_params.paramFileIndex);
    CParamPresetDlg presets(record, m_hWnd);
    presets.DoModal();
    m_chosenParamFile = presets.m_nSavedIndex >= 0 ? presets.m_nSavedIndex : presets.m_nOpenedIndex;
}

BOOL CVideoParamDlg::OnCommand(WORD id, WORD) {
    if (id == IDC_VP_PRESET) {
        OpenPresets();
        return TRUE;
    }
    return FALSE;
}

BOOL CVideoParamDlg::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY && lParam) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_VP_TABS && header->code == TCN_SELCHANGE) {
            ShowPage(int(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
            return TRUE;
        }
    }
    return FALSE;
}
