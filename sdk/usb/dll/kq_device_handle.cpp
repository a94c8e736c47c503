// KQ_GetDeviceHandle with the label type of the DLL it is linked into.

#include "kq_device_handle.h"

extern "C" HANDLE KQAPI KQ_GetDeviceHandle(const KQ_LABEL_CHAR*, int* index, KQ_CAPINFO* capInfo) {
    return kq::OpenDeviceHandle(index, capInfo);
}
