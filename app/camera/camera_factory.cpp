#include "camera_factory.h"

#include "camera_sdk_flags.h"

std::unique_ptr<CCameraDevice> CreateCameraDevice(CameraKind, int, HWND) {
    // No family class is linked into the program, so no camera can be made.
    return nullptr;
}

bool IsCameraFamilyLoaded(CameraKind kind) {
    switch (kind) {
    case CameraKind::directShow: return true;
    case CameraKind::usbCmos: return IsCMOSSdkLoaded() != 0;
    case CameraKind::ccd: return IsCCDSdkLoaded() != 0;
    case CameraKind::gigE: return IsGigESdkLoaded() != 0;
    case CameraKind::uvc: return IsUVCSdkLoaded() != 0;
    }
    return false;
}
