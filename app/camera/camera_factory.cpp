#include "camera_factory.h"

#include "camera_sdk_flags.h"
#include "ccd_camera.h"
#include "uvc_camera.h"

// deviceIndex is the number the family's library gives the device: from 1
// for CCD cameras, from 0 for UVC cameras.
std::unique_ptr<CCameraDevice> CreateCameraDevice(CameraFamily kind, int deviceIndex, HWND owner) {
    switch (kind) {
    case CameraFamily::ccd: return std::make_unique<CCCDCamera>(owner, deviceIndex);
    case CameraFamily::uvc: return std::make_unique<CUVCCamera>(owner, deviceIndex);
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
