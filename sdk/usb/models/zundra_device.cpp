#include "zundra_device.h"

#include <algorithm>

#include "kqff_protocol.h"
#include "sensor_timing.h"

namespace kq {
namespace {

constexpr std::uint8_t kTriggeredOnlyBit = 0x02;
constexpr std::uint8_t kOutputBits = 0xC0;

}  // namespace

CKQZundra_Device::CKQZundra_Device(DeviceIdentity identity) : ZundraArrival<NoExtrasDevice>(identity, DeviceClass::CKQZundra_Device) {}

int CKQZundra_Device::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = given;  // given may be capInfo_ itself
    const bool binning = (record.mode[3] & capinfo_bits::binning) != 0;
    const std::uint32_t factor = binning ? 2 : 1;
    const auto sensorW = static_cast<std::uint32_t>(geometry_.maxWidth);
    const auto sensorH = static_cast<std::uint32_t>(geometry_.maxHeight);
    // The frame buffers hold the sensor: a larger window would never fit.
    record.width = std::min(record.width, sensorW / factor);
    record.height = std::min(record.height, sensorH / factor);
    if (record.width == 0 || record.height == 0) return status::kNotSupported;

    FormatBlock block = block_;
    const bool first = firstApply_;
    if (first) {
        block.sensorReadMode = geometry_.defaultSensorReadMode;
        block.horizontalBlanking = geometry_.defaultHorizontalBlanking;
        block.verticalBlanking = geometry_.defaultVerticalBlanking;
        block.registerPairs = {};
    }
    const timing::GainCode gain = timing::EncodeGain(record.gain[0]);
    record.gain = {gain.gain, gain.gain, gain.gain};
    record.exposure = std::clamp<std::uint32_t>(record.exposure, 2, 0xFFFF);
    const auto columnStart = timing::LimitStart(record.columnStart, record.width, sensorW, factor);
    const auto rowStart = timing::LimitStart(record.rowStart, record.height, sensorH, factor);

    block.height = record.height;
    block.width = record.width;
    block.columnStart = binning ? 0 : columnStart;
    block.rowStart = binning ? 0 : rowStart;
    block.exposure = static_cast<std::uint16_t>(record.exposure);
    block.gain = gain.gain;
    block.encodedGain = gain.code;
    block.control = record.control;
    block.mode = record.mode[0];
    block.extra = record.extra;
    block.triggerPeriod = 0;
    block.triggerCheckTime = 0;
    const auto bytes = EncodeFormatBlock(block);
    // The camera takes its first block after open only the second time.
    for (int send = 0; send < (first ? 2 : 1); ++send) {
        if (!Control(kqff::kIoctlSetFormat, bytes, {})) return status::kNotSupported;
    }
    firstApply_ = false;
    block_ = block;
    lastSent_ = block;
    if (record.width != capInfo_.width || record.height != capInfo_.height) windowChanged_ = true;
    capInfo_ = record;
    if (!binning) {
        capInfo_.columnStart = columnStart;
        capInfo_.rowStart = rowStart;
    }
    triggeredOnly_ = (record.control & kTriggeredOnlyBit) != 0;
    frameBytes_ = record.width * record.height;
    readBytes_ = frameBytes_ + kqff::kTrailerBytes;
    return status::kSuccess;
}

int CKQZundra_Device::SetIO(std::uint8_t value) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = capInfo_;
    record.control = static_cast<std::uint8_t>((record.control & ~kOutputBits) | ((value & 0x03) << 6));
    return ApplyCapInfo(record);
}

bool CKQZundra_Device::TakesFrame(std::span<const std::uint8_t> read) const {
    if (!triggeredOnly_) return true;
    if (read.size() < kqff::kTrailerBytes) return false;
    const std::size_t trailer = read.size() - kqff::kTrailerBytes;
    return read[trailer + kqff::kTrailerFrameStartFlag] == 1;
}

std::uint32_t CKQZundra_Device::ExposureToRegister(std::uint32_t time) const {
    const timing::LineGeometry line{capInfo_.width, 0, static_cast<std::uint32_t>(geometry_.maxWidth)};
    return timing::TimeToLines(timing::ExposureFamily::zundra, line, time);
}

std::uint32_t CKQZundra_Device::RegisterToExposure(std::uint32_t lines) const {
    const timing::LineGeometry line{capInfo_.width, 0, static_cast<std::uint32_t>(geometry_.maxWidth)};
    return timing::LinesToTime(timing::ExposureFamily::zundra, line, lines);
}

}  // namespace kq
