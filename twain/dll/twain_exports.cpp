// The exports of KQCMos_TW.dll besides KQ_GetDeviceHandle: the data source
// gets and returns its device object through them.

#include <memory>

#include "ctwain.h"
#include "usb_device.h"

using twain::win32::CUSBDevice;

extern "C" {

CTWAIN* RegsterMVTwain() { return CUSBDevice::Open().release(); }

void __stdcall UnRegsterMVTwain(CTWAIN* device) {
    // Every CTWAIN this library hands out is a CUSBDevice.
    std::unique_ptr<CUSBDevice> owned(static_cast<CUSBDevice*>(device));
}

}  // extern "C"
