#include "former_device.h"

#include <algorithm>

#include "kqff_protocol.h"

namespace kq {

int CFormerDevice::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = given;  // given may be capInfo_ itself
    // A window without pixels would make the driver wait for frames that never come.
    if (record.width == 0 || record.height == 0) return status::kNotSupported;
    record.control = 0;
    record.gain[0] = std::clamp<std::uint8_t>(record.gain[0], 8, 63);
    record.gain[1] = record.gain[0];
    record.gain[2] = record.gain[0];
    const CapInfoBytes bytes = EncodeCapInfo(record);
    // A refused format leaves the camera, and so the device, as it was.
    if (!Control(kqff::kIoctlSetFormat, bytes, {})) return status::kNotSupported;
    capInfo_ = record;
    frameBytes_ = record.width * record.height;
    readBytes_ = frameBytes_;
    return status::kSuccess;
}

}  // namespace kq
