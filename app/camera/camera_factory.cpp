#include "camera_factory.h"

#include "camera_sdk_flags.h"

std::unique_ptr<CCameraDevice> CreateCameraDevice(CameraFamily, int, HWND) {
    // No family class is linked into the program, so no camera can be made.
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
