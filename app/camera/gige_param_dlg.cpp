#include "gige_param_dlg.h"

#include "bound_call.h"
#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "param_preset_dlg.h"

CVideoParamDlg::CVideoParamDlg(GigeVideoParams& params, CCameraDevice& camera, HWND parent)
    : CParamTabDlg(IDD_GIGE_VIDEO_PARAM, m_videoPage, m_cameraPage, parent),
      m_params(params),
      m_videoPage(params, camera),
      m_cameraPage(params, camera) {}

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
    m_chosenParamFile = RunParamPresets(record, m_hWnd);
}

BOOL CVideoParamDlg::OnCommand(WORD id, WORD) {
    if (id == IDC_VP_PRESET) {
        OpenPresets();
        return TRUE;
    }
    return FALSE;
}
