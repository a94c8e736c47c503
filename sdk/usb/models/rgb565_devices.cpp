#include "rgb565_devices.h"

#include <algorithm>

#include "kqff_protocol.h"
#include "sensor_timing.h"

namespace kq {
namespace {

PixelModel Rgb565Pixels() {
    PixelModel model;
    model.rawFormat = RawFormat::rgb565;
    return model;
}

// The window limited to the sensor (half of it with binning); the frame
// buffers hold no more.
bool LimitWindow(CapInfo& record, const ModelGeometry& geometry, bool binning) {
    const std::uint32_t factor = binning ? 2 : 1;
    record.width = std::min(record.width, static_cast<std::uint32_t>(geometry.maxWidth) / factor);
    record.height = std::min(record.height, static_cast<std::uint32_t>(geometry.maxHeight) / factor);
    return record.width != 0 && record.height != 0;
}

}  // namespace

CKQLismar::CKQLismar(DeviceIdentity identity) : BaseDevice(identity, DeviceClass::CKQLismar) {
    pixelModel_ = Rgb565Pixels();
}

int CKQLismar::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = given;  // given may be capInfo_ itself
    const bool binning = (record.mode[3] & capinfo_bits::binning) != 0;
    if (!LimitWindow(record, geometry_, binning)) return status::kNotSupported;
    const std::uint8_t gain = std::clamp<std::uint8_t>(record.gain[0], 50, 63);
    record.gain = {gain, gain, gain};

    CapInfo sent = record;
    sent.width = 2 * record.width;  // bytes per row
    if (binning) sent.columnStart = sent.rowStart = 0;
    if (!Control(kqff::kIoctlSetFormat, EncodeCapInfo(sent), {})) return status::kNotSupported;
    if (record.width != capInfo_.width || record.height != capInfo_.height) windowChanged_ = true;
    capInfo_ = record;
    frameBytes_ = 2 * record.width * record.height;
    readBytes_ = frameBytes_;
    return status::kSuccess;
}

CKQGurnipDevice::CKQGurnipDevice(DeviceIdentity identity) : BaseDevice(identity, DeviceClass::CKQGurnipDevice) {
    pixelModel_ = Rgb565Pixels();
    pixelModel_.balancedPicture = true;
}

int CKQGurnipDevice::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = given;  // given may be capInfo_ itself
    const bool binning = (record.mode[3] & capinfo_bits::binning) != 0;
    if (!LimitWindow(record, geometry_, binning)) return status::kNotSupported;

    FormatBlock block = block_;
    if (firstApply_) {
        block.sensorReadMode = 0;
        block.horizontalBlanking = 0;
        block.verticalBlanking = 0;
        block.registerPairs = {};
    }
    const timing::GainCode gain = timing::EncodeGain(record.gain[0]);
    record.gain = {gain.gain, gain.gain, gain.gain};
    record.exposure = std::clamp<std::uint32_t>(record.exposure, 2, 0xFFFF);
    const std::uint32_t factor = binning ? 2 : 1;
    const auto columnStart =
        timing::LimitStart(record.columnStart, record.width, static_cast<std::uint32_t>(geometry_.maxWidth), factor);
    const auto rowStart =
        timing::LimitStart(record.rowStart, record.height, static_cast<std::uint32_t>(geometry_.maxHeight), factor);

    block.height = record.height;
    block.width = 2 * record.width;  // bytes per row
    block.columnStart = columnStart;
    block.rowStart = rowStart;
    block.exposure = static_cast<std::uint16_t>(record.exposure);
    block.gain = gain.gain;
    block.encodedGain = gain.code;
    block.control = record.control;
    block.mode = record.mode[0];
    block.extra = record.extra;
    if (!Control(kqff::kIoctlSetFormat, EncodeFormatBlock(block), {})) return status::kNotSupported;
    // A binned send keeps the caller's starts for the next one.
    KeepSentBlock(block, record, binning, 2 * record.width * record.height);
    return status::kSuccess;
}

}  // namespace kq
