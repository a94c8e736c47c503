#pragma once
// What KQ_GetDeviceHandle does, shared by the DLLs that export it: each
// declares the export with its own label type (KQ_LABEL_CHAR) and forwards
// here. The label names no camera, so it is not passed on.

#include "KQCMOSu.h"

namespace kq {

// Opens the camera at *index with capInfo; its handle, or null when the open
// or the record failed (a half-opened camera is closed again).
HANDLE OpenDeviceHandle(int* index, KQ_CAPINFO* capInfo);

}  // namespace kq
