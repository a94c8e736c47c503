#include "camera_factory.h"

#include "camera_sdk_flags.h"
#include "cmos_camera.h"

std::unique_ptr<CCameraDevice> CreateCameraDevice(CameraFamily kind, int deviceIndex, HWND owner) {
    // Only families whose library is bound make cameras; the CMOS family
    // counts its devices from 1.
    if (kind == CameraFamily::usbCmos && IsCMOSSdkLoaded()) {
        return std::make_unique<CCMOSCamera>(owner, deviceIndex);
    }
    return nullptr;
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
