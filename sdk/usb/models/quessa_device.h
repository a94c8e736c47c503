#pragma once
// `CKQQuessa_Device` (type 8): the 2560 x 1944 sensor, colour or grey, with
// the base's 52-byte block. Its native reduced width is 640; requested
// windows are first limited to the sensor. Exposure lines follow a line of
// W + 888 with a 1222 offset at 48 MHz. The frame arrives turned by half:
// flip 0 runs the kernel that turns it back. Trigger frames are numbered
// per model; callers get the edge-repaired grey conversion.

#include "native_zoom_device.h"

namespace kq {

class CKQQuessa_Device final : public NativeZoomDevice {
public:
    explicit CKQQuessa_Device(DeviceIdentity identity);

    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;
    int RawFrameToRgb(std::int32_t height, std::int32_t width, const std::uint8_t* source,
                      std::uint8_t* destination) override;

protected:
    bool LimitsRequestToSensor() const override { return true; }
    std::int32_t NextSnapshotNumber() override;
};

}  // namespace kq
