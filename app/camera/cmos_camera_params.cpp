// The USB CMOS camera's video-parameter dialog: what the camera hands it
// and what it takes back.
#include "bound_call.h"
#include "camera_sdk_families.h"
#include "cmos_camera.h"
#include "usb_param_dlg.h"
#include "video_param_rules.h"

int CCMOSCamera::ShowVideoParams() {
    if (!m_device || !m_previewing) {
        return 0;
    }
    UsbVideoParams params = VideoParamsFound(false);
    params.userGains = UserGains();
    params.colourAdjust = m_colourAdjust;
    params.lightAverage = m_lightAverage;
    params.facts.fourEntryModel = m_fourEntryModel != 0;
    params.facts.correctionControls = UsbCmosCorrectsStripes(m_deviceType, m_monochrome != 0);
    params.dialogMode = m_dialogMode;
    const UsbVideoParams found = params;
    CCMOSParamDlg dialog(params, *this, m_hostWindow);
    const INT_PTR result = dialog.DoModal();
    const bool ok = result == IDOK;
    if (ok) {
        {
            const std::lock_guard lock(m_recordMutex);
            m_userGains = params.userGains;
        }
        m_colourAdjust = params.colourAdjust;
    }
    m_lightAverage = params.lightAverage;
    m_dialogMode = params.dialogMode;
    TakeVideoParams(params, ok);
    TakeParamFileChoice(dialog.ChosenParamFile(), ok, params, found);
    CallBoundOrFail(KQCMOS().KQ_GetOffCenter, m_device, &m_offCenter);
    return int(result);
}
