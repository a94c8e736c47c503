#pragma once
// `CKQZundra_Device` (type 7): the 3488 x 2560 colour sensor. Each frame
// read carries the 64-byte trailer behind the picture, whose byte 2 is 1 for
// a frame that answers a trigger; with control bit 1 the other frames are
// dropped, neither processed nor counted. Its 52-byte block goes twice after
// open, without a trigger period or the 660-column line. Exposure lines
// follow a line of 7006 (full width) or 4890 at 9 MHz; its native reduced
// width is 872. After re-arrival the block goes twice again and only a
// running preview restarts. Trigger frames are numbered per model.

#include <atomic>

#include "core/status_codes.h"
#include "native_zoom_device.h"
#include "zundra_arrival.h"

namespace kq {

class CKQZundra_Device final : public ZundraArrival<NativeZoomDevice> {
public:
    explicit CKQZundra_Device(DeviceIdentity identity);

    // The window is limited to the sensor (half of it with binning, when the
    // starts go as 0 and the caller's are kept). A window without pixels or
    // a refused send: 10, nothing stored.
    int ApplyCapInfo(const CapInfo& record) override;

    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;

protected:
    bool TakesFrame(std::span<const std::uint8_t> read) const override;
    bool SendsLinesBeforeResize() const override { return true; }
    std::int32_t NextSnapshotNumber() override;

private:
    // Read by the capture thread without the device lock.
    std::atomic<bool> triggeredOnly_{false};
};

}  // namespace kq
