#pragma once
// `CKQRovena_YUV`: the 1280 x 1024 camera of type 15 whose sensor sends YUV
// 4:2:2 frames (two bytes per pixel) instead of raw Bayer data. The capture
// record goes in its 52-byte form with the row length in bytes and the
// sensor's global gain; the pixel path converts the frames to BGR before
// the colour steps. The global gain doubles as the camera's sharpness.

#include "core/base_device.h"
#include "core/status_codes.h"

namespace kq {

class CKQRovena_YUV final : public BaseDevice {
public:
    static constexpr std::int32_t kMaxGlobalGain = 7;

    explicit CKQRovena_YUV(DeviceIdentity identity);

    // The caller's first gain byte is the sensor gain of all three colours.
    int SetCapInfo(const CapInfo& record) override;
    // The stored record with SET_FORMAT at once: width sent as bytes per
    // row, gain byte 29 the global gain. The second gain byte follows the
    // first; the third keeps the blue gain the white balance chose. 10
    // (nothing stored) for a window without pixels or a refused format.
    int ApplyCapInfo(const CapInfo& record) override;
    int SetGolbalGain(std::int32_t gain) override;
    // The source format of the two-byte sensors is taken as theirs is;
    // the YUV conversion reads both bytes of every pixel, so it changes no
    // picture of this camera.
    int SetSourceFormat(std::int32_t format) override {
        pixelModel_.lowSampleByte = format != 0;
        return status::kSuccess;
    }
    int SetSharpness(std::int32_t level) override { return SetGolbalGain(level); }
    std::int32_t GetSharpness() const override { return globalGain_; }
    int SetHBlank(std::int32_t value) override;
    int SetVBlank(std::int32_t value) override;
    // Colour modes 1 (sharpened colour) and 4 (raw bytes) have no meaning
    // for YUV frames: 10.
    int SetParamColor(std::int32_t mode) override;

    // The EEPROM's four pages are read from the camera every time; none of
    // them is reachable in trigger mode (10).
    int EEProm_Set(std::span<const std::uint8_t, 240> source) override;
    int EEProm_Get(std::span<std::uint8_t, 240> destination) override;
    int EEProm_SetByte(std::int32_t offset, std::int32_t count, const std::uint8_t* source) override;
    int EEProm_GetByte(std::int32_t offset, std::int32_t count, std::uint8_t* destination) override;

    int SetSpeedMode(std::int32_t) override { return status::kNotSupported; }
    int SetExpouseDelayTime(std::int32_t) override { return status::kNotSupported; }
    int SetSensorRdMode(std::int32_t) override { return status::kNotSupported; }

    // Lines = time x 24 / (width + 708) + 0.5, within 1..65535, and back.
    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;

protected:
    // The camera needs a moment after it came back before the record.
    int PrepareArrivedSensor() override {
        Pause(std::chrono::milliseconds(100));
        return 0;
    }

private:
    std::uint8_t globalGain_ = 0;
};

}  // namespace kq
