#pragma once
// `CFormerDevice`: the cameras of types 1 and 2. The capture record goes to
// the camera as it is, with the control byte cleared and one gain for all
// three channels; no register list, no pause.

#include "no_extras_device.h"

namespace kq {

class CFormerDevice final : public NoExtrasDevice {
public:
    explicit CFormerDevice(DeviceIdentity identity) : NoExtrasDevice(identity, DeviceClass::CFormerDevice) {}

    int ApplyCapInfo(const CapInfo& record) override;
};

}  // namespace kq
