#include "new_chip.h"

#include <algorithm>

#include "kqff_protocol.h"
#include "sensor_timing.h"

namespace kq {

CKQNewChip::CKQNewChip(DeviceIdentity identity) : BaseDevice(identity, DeviceClass::CKQNewChip) {
    pixelModel_.rawFormat = RawFormat::samples16;
}

int CKQNewChip::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = given;  // given may be capInfo_ itself
    const bool binning = (record.control & capinfo_bits::halfReadout) != 0;
    const std::uint32_t factor = binning ? 2 : 1;
    const auto sensorW = static_cast<std::uint32_t>(geometry_.maxWidth);
    const auto sensorH = static_cast<std::uint32_t>(geometry_.maxHeight);
    // The frame buffers hold the sensor: a larger window would never fit.
    record.width = std::min(record.width, sensorW / factor);
    record.height = std::min(record.height, sensorH / factor);
    if (record.width == 0 || record.height == 0) return status::kNotSupported;
    const std::uint8_t gain = std::clamp<std::uint8_t>(record.gain[0], 50, 63);
    record.gain = {gain, gain, gain};
    record.columnStart = timing::LimitStart(record.columnStart, record.width, sensorW, factor);
    record.rowStart = timing::LimitStart(record.rowStart, record.height, sensorH, factor);

    CapInfo sent = record;
    sent.width = 2 * record.width;  // bytes per row of 16-bit samples
    if (!Control(kqff::kIoctlSetFormat, EncodeCapInfo(sent), {})) return status::kNotSupported;
    if (record.width != capInfo_.width || record.height != capInfo_.height) windowChanged_ = true;
    capInfo_ = record;
    frameBytes_ = 2 * record.width * record.height;
    readBytes_ = frameBytes_;
    return status::kSuccess;
}

int CKQNewChip::SetSourceFormat(std::int32_t format) {
    pixelModel_.lowSampleByte = format != 0;
    return status::kSuccess;
}

std::uint32_t CKQNewChip::ExposureToRegister(std::uint32_t time) const {
    return timing::TimeToLines(timing::ExposureFamily::newChip, {capInfo_.width, 0, 0}, time);
}

std::uint32_t CKQNewChip::RegisterToExposure(std::uint32_t lines) const {
    return timing::LinesToTime(timing::ExposureFamily::newChip, {capInfo_.width, 0, 0}, lines);
}

}  // namespace kq
