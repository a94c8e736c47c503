#pragma once
// Where the view's cameras come from: one camera object for a family kind
// and a device index, shown in the owner window. Null means no camera of
// that kind could be made; the view then has no video.
#include <windows.h>

#include <functional>
#include <memory>

#include "camera_device.h"

using CameraFactory = std::function<std::unique_ptr<CCameraDevice>(CameraFamily kind, int deviceIndex, HWND owner)>;

// The program's factory: the families whose library is bound make their cameras.
std::unique_ptr<CCameraDevice> CreateCameraDevice(CameraFamily kind, int deviceIndex, HWND owner);

// The DirectShow family is always there; the others when their library loaded.
bool IsCameraFamilyLoaded(CameraFamily kind);
