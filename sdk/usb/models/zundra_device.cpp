#include "zundra_device.h"

#include <algorithm>

#include "kqff_protocol.h"
#include "sensor_timing.h"

namespace kq {
namespace {

constexpr std::uint8_t kTriggeredOnlyBit = 0x02;
constexpr std::uint32_t kNativeReducedWidth = 872;

// The model's own trigger-frame numbers, shared by all its cameras.
std::atomic<std::int32_t> g_snapshotNumber{1};

}  // namespace

CKQZundra_Device::CKQZundra_Device(DeviceIdentity identity)
    : ZundraArrival<NativeZoomDevice>(identity, DeviceClass::CKQZundra_Device, kNativeReducedWidth) {}

std::int32_t CKQZundra_Device::NextSnapshotNumber() { return g_snapshotNumber.fetch_add(1); }

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
    KeepSentBlock(block, record, binning, record.width * record.height, kqff::kTrailerBytes);
    triggeredOnly_ = (record.control & kTriggeredOnlyBit) != 0;
    return status::kSuccess;
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
