#include "camera_factory.h"

#include "camera_sdk_flags.h"
#include "ccd_camera.h"
#include "dshow_camera.h"
#include "cmos_camera.h"
#include "gige_camera.h"
#include "uvc_camera.h"

// DirectShow cameras need no library; other families only when theirs is
// bound. deviceIndex is the number the family gives the device: from 1 for
// USB CMOS and CCD cameras, from 0 for DirectShow, GigE and UVC cameras.
std::unique_ptr<CCameraDevice> CreateCameraDevice(CameraFamily kind, int deviceIndex, HWND owner) {
    switch (kind) {
    case CameraFamily::directShow: return std::make_unique<CDShowCamera>(owner, deviceIndex);
    case CameraFamily::usbCmos: return IsCMOSSdkLoaded() ? std::make_unique<CCMOSCamera>(owner, deviceIndex) : nullptr;
    case CameraFamily::ccd: return IsCCDSdkLoaded() ? std::make_unique<CCCDCamera>(owner, deviceIndex) : nullptr;
    case CameraFamily::gigE: return IsGigESdkLoaded() ? std::make_unique<CGigECamera>(owner, deviceIndex) : nullptr;
    case CameraFamily::uvc: return IsUVCSdkLoaded() ? std::make_unique<CUVCCamera>(owner, deviceIndex) : nullptr;
    default: return nullptr;
    }
}

bool IsCameraFamilyLoaded(CameraFamily kind) {
    switch (kind) {
    case CameraFamily::directShow: return true;
    case CameraFamily::usbCmos: return IsCMOSSdkLoaded() != 0;
    case CameraFamily::ccd: return IsCCDSdkLoaded() != 0;
    case CameraFamily::gigE: return IsGigESdkLoaded() != 0;
    case CameraFamily::uvc: return IsUVCSdkLoaded() != 0;
    }
    return false;
}
