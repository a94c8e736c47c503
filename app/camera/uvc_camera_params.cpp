// The UVC camera's video-parameter dialog: what the camera hands it, and
// the properties it reads back on OK or gives back to the library on Cancel.
#include "bound_call.h"
#include "camera_sdk_families.h"
#include "uvc_camera.h"
#include "uvc_model.h"
#include "uvc_video_param_dlg.h"

namespace {

// The properties the dialog's own page may change, in the order the camera
// reads them back or writes them again; white balance and exposure follow
// only while their automatic modes are off.
constexpr UvcProperty kLeadingProperties[] = {
    UvcProperty::flip,      UvcProperty::contrast,     UvcProperty::brightness,
    UvcProperty::hue,       UvcProperty::saturation,   UvcProperty::sharpness,
    UvcProperty::gamma,     UvcProperty::autoExposure, UvcProperty::autoWhiteBalance,
};

constexpr int Id(UvcProperty property) { return static_cast<int>(property); }

}  // namespace

int CUVCCamera::ShowVideoParams() {
    if (!m_device || !m_previewing) {
        return 0;
    }
    CUVCVideoParamDlg dialog(m_hostWindow);
    dialog.SetOwnerCamera(this);
    dialog.SetColorModeIndex(GetProperty(Id(UvcProperty::colourMode)));
    dialog.SetDeviceHandle(m_device);
    const INT_PTR result = dialog.DoModal();
    if (result == IDOK) {
        m_properties[Id(UvcProperty::colourMode)] = dialog.GetColorModeIndex();
        ReadPropertiesBack();
    } else {
        WritePropertiesBack(dialog.GetColorModeIndex() != dialog.GetInitialColorModeIndex());
    }
    return int(result);
}

void CUVCCamera::ReadPropertiesBack() {
    const auto read = [this](UvcProperty property) {
        // A refused read keeps the stored value.
        int value = GetProperty(Id(property));
        if (CallBound(KQUVC().KQ_GetParam, kUnboundEntryFailure, m_device, Id(property), &value) == 0) {
            m_properties[Id(property)] = value;
        }
    };
    for (UvcProperty property : kLeadingProperties) {
        read(property);
    }
    if (GetProperty(Id(UvcProperty::autoWhiteBalance)) == 0) {
        read(UvcProperty::whiteBalance);
    }
    read(UvcProperty::backlightCompensation);
    read(UvcProperty::zoom);
    if (GetProperty(Id(UvcProperty::autoExposure)) == 0) {
        read(UvcProperty::exposure);
    }
    read(UvcProperty::offsetX);
    read(UvcProperty::offsetY);
}

void CUVCCamera::WritePropertiesBack(bool colourModeChanged) {
    const auto write = [this](UvcProperty property) {
        CallBound(KQUVC().KQ_SetParam, kUnboundEntryFailure, m_device, Id(property), GetProperty(Id(property)));
    };
    if (colourModeChanged) {
        write(UvcProperty::colourMode);
    }
    for (UvcProperty property : kLeadingProperties) {
        write(property);
    }
    if (GetProperty(Id(UvcProperty::autoWhiteBalance)) == 0) {
        write(UvcProperty::whiteBalance);
    }
    write(UvcProperty::backlightCompensation);
    write(UvcProperty::zoom);
    if (GetProperty(Id(UvcProperty::autoExposure)) == 0) {
        write(UvcProperty::exposure);
    }
    write(UvcProperty::offsetX);
    write(UvcProperty::offsetY);
}
