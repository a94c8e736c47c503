#pragma once
// `CKQOrsikDevice`: the 1600 x 1200 colour camera of type 4. Its kernels
// apply the contrast while they demosaic, so the picture path leaves the
// contrast to them; it has no EEPROM, register or blanking access. Its
// automatic exposure measures the raw bytes' mean, and a white-balance
// request runs the loop that sets exposure, then red and blue sensor gain
// on the picture.

#include "no_extras_device.h"

namespace kq {

class CKQOrsikDevice final : public NoExtrasDevice {
public:
    // Exposure lines the automatic functions go up to.
    static constexpr int kMaxExposure = 255;

    explicit CKQOrsikDevice(DeviceIdentity identity) : NoExtrasDevice(identity, DeviceClass::CKQOrsikDevice) {
        pixelModel_.contrastKernels = true;
        pixelModel_.exposureBalanceLoop = true;
        pixelModel_.byteExposure = true;
        pixelModel_.exposureLimit = kMaxExposure;
    }
};

}  // namespace kq
