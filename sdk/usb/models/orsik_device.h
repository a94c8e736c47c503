#pragma once
// `CKQOrsikDevice`: the 1600 x 1200 colour camera of type 4. Its kernels
// apply the contrast while they demosaic, so the picture path leaves the
// contrast to them; it has no EEPROM, register or blanking access.

#include "no_extras_device.h"

namespace kq {

class CKQOrsikDevice final : public NoExtrasDevice {
public:
    explicit CKQOrsikDevice(DeviceIdentity identity) : NoExtrasDevice(identity, DeviceClass::CKQOrsikDevice) {
        pixelModel_.contrastKernels = true;
    }
};

}  // namespace kq
