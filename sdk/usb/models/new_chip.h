#pragma once
// `CKQNewChip` (type 9): the 1280 x 1024 sensor that sends 16-bit Bayer
// samples. Its capture record goes in the 36-byte form with the width in
// bytes (twice the pixels); the pixel path keeps one byte of each sample,
// the high one unless KQ_SetSourceFormat asked for the low one. Exposure
// lines follow a line of W + 708 at 24 MHz.

#include "core/base_device.h"
#include "core/status_codes.h"

namespace kq {

class CKQNewChip final : public BaseDevice {
public:
    explicit CKQNewChip(DeviceIdentity identity);

    // Gain limited to 50..63 in all three bytes; binning (control bit 0)
    // keeps twice the window on the sensor. A window without pixels or a
    // refused send: 10, nothing stored.
    int ApplyCapInfo(const CapInfo& record) override;
    // Non-zero keeps the low byte of each sample, zero the high byte.
    int SetSourceFormat(std::int32_t format) override;

    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;

    int SetSpeedMode(std::int32_t) override { return status::kNotSupported; }
    int SetHBlank(std::int32_t) override { return status::kNotSupported; }
    int SetVBlank(std::int32_t) override { return status::kNotSupported; }
    int SetExpouseDelayTime(std::int32_t) override { return status::kNotSupported; }
    int SetSensorRdMode(std::int32_t) override { return status::kNotSupported; }
    int Write_Register(std::span<const std::uint16_t>, std::span<const std::uint16_t>) override {
        return status::kNotSupported;
    }
};

}  // namespace kq
