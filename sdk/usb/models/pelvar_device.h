#pragma once
// `CKQPelvarDevice` (type 6) and `CKQPelvarsmall` (type 22): the 2592 x 1944
// sensor behind the 52-byte block, first sent with the word 0x4006 and
// blanking 0 and 25. Its line is W + 2 max(HB, 450) pixels at 12, 24 or
// 48 MHz by the speed mode; its Bayer cell is G R / B G, the FPGA family's.

#include "core/base_device.h"
#include "core/status_codes.h"
#include "sensor_timing.h"

namespace kq {

class CKQPelvarDevice : public BaseDevice {
public:
    explicit CKQPelvarDevice(DeviceIdentity identity) : CKQPelvarDevice(identity, DeviceClass::CKQPelvarDevice) {}

    // 0..4095 and 8..2047; a refused send keeps the values of before.
    int SetHBlank(std::int32_t value) override;
    int SetVBlank(std::int32_t value) override;
    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;

protected:
    CKQPelvarDevice(DeviceIdentity identity, DeviceClass deviceClass);

private:
    timing::LineGeometry Line() const;
};

class CKQPelvarsmall final : public CKQPelvarDevice {
public:
    explicit CKQPelvarsmall(DeviceIdentity identity) : CKQPelvarDevice(identity, DeviceClass::CKQPelvarsmall) {}

    // The smaller camera has no EEPROM: 10, nothing sent.
    int EEProm_Set(std::span<const std::uint8_t, 240>) override { return status::kNotSupported; }
    int EEProm_Get(std::span<std::uint8_t, 240>) override { return status::kNotSupported; }
    int EEProm_SetByte(std::int32_t, std::int32_t, const std::uint8_t*) override { return status::kNotSupported; }
    int EEProm_GetByte(std::int32_t, std::int32_t, std::uint8_t*) override { return status::kNotSupported; }
};

}  // namespace kq
