#pragma once
// The cameras whose frames are RGB 5-6-5 pixels of two bytes: `CKQLismar`
// (type 14, 1024 x 816, 36-byte record) and `CKQGurnipDevice` (type 23,
// 2592 x 1944, 52-byte block; no identification selects it, so it is made
// directly). Both send the width in bytes, twice the pixels, and deliver
// the converted 24-bit picture without any of the Bayer steps.

#include "core/base_device.h"
#include "core/status_codes.h"

namespace kq {

class CKQLismar final : public BaseDevice {
public:
    explicit CKQLismar(DeviceIdentity identity);

    // Gain limited to 50..63 in all three bytes; with binning the window
    // starts are sent as 0. A window without pixels or a refused send: 10,
    // nothing stored.
    int ApplyCapInfo(const CapInfo& record) override;
    // The camera has one source format: accepted.
    int SetSourceFormat(std::int32_t) override { return status::kSuccess; }
};

class CKQGurnipDevice final : public BaseDevice {
public:
    explicit CKQGurnipDevice(DeviceIdentity identity);

    // The 52-byte block; its first send after open clears the read-mode
    // word, the blanking and the register pairs (the camera has no timing
    // defaults). With binning the caller's starts are kept for the next send.
    int ApplyCapInfo(const CapInfo& record) override;
};

}  // namespace kq
