#pragma once
// `CKQBelun_LED`: the camera of type 17, the base device plus four LED
// channels the camera's light is set through.

#include <array>

#include "core/base_device.h"

namespace kq {

class CKQBelun_LED final : public BaseDevice {
public:
    explicit CKQBelun_LED(DeviceIdentity identity) : BaseDevice(identity, DeviceClass::CKQBelun_LED) {}

    // Channel 0..3 (else -1, nothing sent), value limited to 0..127. Channel
    // 0 always carries bit 0x10. 3 when the camera is gone or the send fails.
    int SetCameraLED(std::int32_t channel, std::int32_t value) override;
    const std::array<std::uint8_t, 4>& LedState() const { return led_; }

private:
    std::array<std::uint8_t, 4> led_{0x10, 0, 0, 0};
};

}  // namespace kq
