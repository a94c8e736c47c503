#pragma once
// The older sensors' devices: the base device without the register,
// blanking, speed and EEPROM requests, which their cameras do not take.
// Each of those answers 10 and sends nothing.

#include "core/base_device.h"
#include "core/status_codes.h"

namespace kq {

class NoExtrasDevice : public BaseDevice {
public:
    using BaseDevice::BaseDevice;

    int SetSpeedMode(std::int32_t) override { return status::kNotSupported; }
    int SetHBlank(std::int32_t) override { return status::kNotSupported; }
    int SetVBlank(std::int32_t) override { return status::kNotSupported; }
    int SetExpouseDelayTime(std::int32_t) override { return status::kNotSupported; }
    int SetSensorRdMode(std::int32_t) override { return status::kNotSupported; }
    int Write_Register(std::span<const std::uint16_t>, std::span<const std::uint16_t>) override {
        return status::kNotSupported;
    }
    int EEProm_Set(std::span<const std::uint8_t, 240>) override { return status::kNotSupported; }
    int EEProm_Get(std::span<std::uint8_t, 240>) override { return status::kNotSupported; }
    int EEProm_SetByte(std::int32_t, std::int32_t, const std::uint8_t*) override { return status::kNotSupported; }
    int EEProm_GetByte(std::int32_t, std::int32_t, std::uint8_t*) override { return status::kNotSupported; }
};

}  // namespace kq
