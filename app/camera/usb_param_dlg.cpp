#include "usb_param_dlg.h"

#include "bound_call.h"
#include "camera_resource.h"
#include "param_preset_dlg.h"

CUsbParamDlg::CUsbParamDlg(UsbVideoParams& params, UsbParamCalls calls, CCameraDevice& camera, HWND parent)
    : CParamTabDlg(params.facts.ccd ? IDD_CCD_VIDEO_PARAM : IDD_CMOS_VIDEO_PARAM, m_videoPage, m_modePage, parent),
      m_params(params),
      m_calls(calls),
      m_videoPage(params, m_calls, camera),
      m_modePage(params, m_calls) {}

BOOL CUsbParamDlg::OnInitDialog() {
    if (!m_params.device) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    return CParamTabDlg::OnInitDialog();
}

void CUsbParamDlg::OnOK() {
    KQ_CAPINFO record = m_params.capInfo;
    if (CallBoundOrFail(m_calls.getCapInfo, m_params.device, &record) == 0) {
        m_params.capInfo = record;
    }
    EndDialog(IDOK);
}

void CUsbParamDlg::OnCancel() {
    if (m_params.device) {
        m_videoPage.Restore();
        m_modePage.Restore();
    }
    EndDialog(IDCANCEL);
}

void CUsbParamDlg::OpenPresets() {
    const HANDLE device = m_params.device;
    const bool ccd = m_params.facts.ccd;
    ParamPresetRecord record;
    record.family = ccd ? PresetFamily::ccd : PresetFamily::usbCmos;
    PresetValues& v = record.values;
    const auto read = [device](auto getter, int fallback) {
        int value = fallback;
        return CallBoundOrFail(getter, device, &value) == 0 ? value : fallback;
    };
    v.saturation = read(m_calls.getSaturation, m_params.saturation);
    v.sharpness = read(m_calls.getSharpness, m_params.sharpness);
    v.contrast = read(m_calls.getContrast, m_params.contrast);
    v.gamma = read(m_calls.getGamma, m_params.gamma);
    if (!ccd) {
        v.gainR = read(m_calls.getGainR, m_params.userGains[0]);
        v.gainG = read(m_calls.getGainG, m_params.userGains[1]);
        v.gainB = read(m_calls.getGainB, m_params.userGains[2]);
    }
    KQ_CAPINFO capInfo = m_params.capInfo;
    CallBoundOrFail(m_calls.getCapInfo, device, &capInfo);
    CaptureInfoReadout readout;
    readout.exposure = capInfo.exposure;
    readout.gain = {capInfo.gain[0], capInfo.gain[1], capInfo.gain[2]};
    readout.control = capInfo.control;
    readout.ccdAdGain = capInfo.columnStart;
    TakeCaptureInfo(record.family, readout, v);
    const ExposureTime time = PresetExposureTime(readout);
    record.exposureTime = time.value;
    record.exposureUnit = time.unit;
    v.flip = m_params.flip;
    v.color = m_params.colourMode;
    if (ccd) {
        v.averages = m_params.whiteBalance;
    }
    record.selectedIndex = m_chosenParamFile.value_or(m_params.paramFileIndex);
    m_chosenParamFile = RunParamPresets(record, m_hWnd);
}

BOOL CUsbParamDlg::OnCommand(WORD id, WORD) {
    if (id == IDC_VP_PRESET) {
        OpenPresets();
        return TRUE;
    }
    return FALSE;
}
