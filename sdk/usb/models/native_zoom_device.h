#pragma once
// What the cameras of types 7 (`CKQZundra_Device`) and 8 (`CKQQuessa_Device`)
// share: zoom mode 1 reads half the window with control bit 0, except at
// the sensor's native reduced width, which it reads as it is; the output
// lines are control bits 6-7; the software trigger is a request of its own.
// A window change while the preview runs stops and restarts it; a refused
// send leaves every setting as it was.

#include "core/status_codes.h"
#include "no_extras_device.h"

namespace kq {

class NativeZoomDevice : public NoExtrasDevice {
public:
    NativeZoomDevice(DeviceIdentity identity, DeviceClass deviceClass, std::uint32_t nativeWidth)
        : NoExtrasDevice(identity, deviceClass), nativeWidth_(nativeWidth) {
        pixelModel_.alternateThresholds = {.exposure = 300, .brightness = 300};
    }

    // Trigger (bit 1) and the output lines (bits 6-7) keep their values;
    // the resulting bit 0 is remembered as the caller's half-size choice.
    int SetCapInfo(const CapInfo& record) override;
    // Modes 0 and 1 only (10 for others, nothing changed).
    int SetZoomMode(std::int32_t mode) override;
    int SetIO(std::uint8_t value) override;
    int SoftTrigger() override;

    // The window zoom `mode` reads for a requested size, with control bits
    // 0 and 2 as that window needs them.
    WindowSize ZoomedWindow(std::uint32_t width, std::uint32_t height, std::int32_t mode, std::uint8_t& control) const;

protected:
    // The requested size is first limited to the sensor.
    virtual bool LimitsRequestToSensor() const { return false; }
    // A new size during the preview with exposure as a time first sends the
    // new line count at the old size and lets the sensor settle.
    virtual bool SendsLinesBeforeResize() const { return false; }

private:
    std::uint32_t nativeWidth_;
};

}  // namespace kq
