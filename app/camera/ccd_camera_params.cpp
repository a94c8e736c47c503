// The CCD camera's video-parameter dialog: what the camera hands it and what
// it takes back.
#include "bound_call.h"
#include "camera_sdk_families.h"
#include "ccd_camera.h"
#include "usb_param_dlg.h"

namespace {

bool IsWhiteBalanceValue(int value) { return value >= 2 && value <= 255; }

}  // namespace

int CCCDCamera::ShowVideoParams() {
    if (!m_device || !m_previewing) {
        return 0;
    }
    const auto& kq = KQCCD();
    UsbVideoParams params = VideoParamsFound(true);
    // A library without HDR offers no HDR box.
    params.facts.hdrHidden = kq.KQ_SetHDR == nullptr;
    int red = 1, green = 1, blue = 1;
    if (CallBoundOrFail(kq.KQ_GetAWBVal, m_device, &red, &green, &blue) == 0 && IsWhiteBalanceValue(red) &&
        IsWhiteBalanceValue(green) && IsWhiteBalanceValue(blue)) {
        params.whiteBalance = {red, green, blue};
    }
    const UsbVideoParams found = params;
    CCCDParamDlg dialog(params, *this, m_hostWindow);
    const INT_PTR result = dialog.DoModal();
    const bool ok = result == IDOK;
    TakeVideoParams(params, ok);
    TakeParamFileChoice(dialog.ChosenParamFile(), ok, params, found);
    return int(result);
}
