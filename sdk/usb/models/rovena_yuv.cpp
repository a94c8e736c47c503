// Camera control of the YUV camera: the capture record with its row length
// in bytes and global gain, blanking, colour modes and the EEPROM pages.

#include "rovena_yuv.h"

#include <algorithm>

#include "kqff_protocol.h"

namespace kq {
namespace {

PixelModel YuvPixels() {
    PixelModel model;
    model.rawFormat = RawFormat::yuv422;
    model.exposureKind = kqcmos::BayerExposureKind::yuv;
    model.chromaBalance = true;
    return model;
}

// The sensor takes 1..127: a set top bit means the most, 0 the least.
std::uint8_t SensorGain(std::uint8_t gain) {
    if ((gain & 0x80) != 0) return 127;
    return gain == 0 ? 1 : gain;
}

}  // namespace

CKQRovena_YUV::CKQRovena_YUV(DeviceIdentity identity) : BaseDevice(identity, DeviceClass::CKQRovena_YUV) {
    pixelModel_ = YuvPixels();
}

int CKQRovena_YUV::SetCapInfo(const CapInfo& given) {
    CapInfo record = given;
    record.gain[1] = record.gain[0];
    record.gain[2] = record.gain[0];
    return BaseDevice::SetCapInfo(record);
}

int CKQRovena_YUV::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    const CapInfo record = given;  // given may be capInfo_ itself
    if (firstApply_) {
        // The camera starts from zero global gain and blanking, not from the
        // base sensors' timing defaults.
        globalGain_ = 0;
        block_.sensorReadMode &= 0xFF00;
        block_.horizontalBlanking = 0;
        block_.verticalBlanking = 0;
        block_.registerPairs = {};
        firstApply_ = false;
    }
    std::uint8_t control = record.control;
    const WindowSize window = OutputWindow(record.width, record.height, 0, control, record.mode[3]);
    if (window.width == 0 || window.height == 0) return status::kNotSupported;

    FormatBlock block = block_;
    const std::uint8_t gain = SensorGain(record.gain[0]);
    const std::uint8_t blue = SensorGain(record.gain[2]);
    block.gain = gain;
    block.encodedGain = globalGain_;
    block.exposure = static_cast<std::uint16_t>(std::min<std::uint32_t>(record.exposure, 0xFFFF));
    // A binned window covers twice its size on the sensor, when it fits.
    const bool binning = (record.mode[3] & capinfo_bits::binning) != 0;
    const bool twice = binning && 2 * std::int64_t{window.width} <= geometry_.maxWidth &&
                       2 * std::int64_t{window.height} <= geometry_.maxHeight;
    const std::int64_t span = twice ? 2 : 1;
    const std::int64_t lastColumn = std::max<std::int64_t>(0, geometry_.maxWidth - span * window.width);
    const std::int64_t lastRow = std::max<std::int64_t>(0, geometry_.maxHeight - span * window.height);
    const auto columnStart = static_cast<std::uint32_t>(std::min<std::int64_t>(record.columnStart, lastColumn));
    const auto rowStart = static_cast<std::uint32_t>(std::min<std::int64_t>(record.rowStart, lastRow));
    block.height = window.height;
    block.width = 2 * window.width;  // bytes per row of the 4:2:2 frame
    block.columnStart = columnStart;
    block.rowStart = rowStart;
    block.control = record.control;
    block.mode = record.mode[0];
    block.extra = record.extra;
    auto bytes = EncodeFormatBlock(block);
    bytes[kqff::record::kGains + 2] = blue;
    if (!Control(kqff::kIoctlSetFormat, bytes, {})) return status::kNotSupported;

    capInfo_ = record;
    capInfo_.width = window.width;
    capInfo_.height = window.height;
    capInfo_.gain = {gain, gain, blue};
    if (!binning) {
        capInfo_.columnStart = columnStart;
        capInfo_.rowStart = rowStart;
    }
    frameBytes_ = 2 * window.width * window.height;
    readBytes_ = frameBytes_;
    lastSent_ = block;
    return status::kSuccess;
}

int CKQRovena_YUV::SetGolbalGain(std::int32_t gain) {
    if (Gone()) return status::kNoDevice;
    const std::uint8_t before = globalGain_;
    globalGain_ = static_cast<std::uint8_t>(std::clamp<std::int32_t>(gain, 0, kMaxGlobalGain));
    const int rc = ApplyCapInfo(capInfo_);
    // The gain reads back as the camera's sharpness: only what it took.
    if (rc != status::kSuccess) globalGain_ = before;
    return rc;
}

int CKQRovena_YUV::SetHBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    block_.horizontalBlanking = static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, 0, 0xFFFF));
    // A longer line holds the same time in fewer lines.
    if (exposureUnit_ == 1) capInfo_.exposure = ExposureToRegister(exposureTime_);
    return ApplyCapInfo(capInfo_);
}

int CKQRovena_YUV::SetVBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    block_.verticalBlanking = static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, 0, 0xFFFF));
    return ApplyCapInfo(capInfo_);
}

int CKQRovena_YUV::SetParamColor(std::int32_t mode) {
    if (mode == 1 || mode == 4) return status::kNotSupported;
    return BaseDevice::SetParamColor(mode);
}

int CKQRovena_YUV::EEProm_Set(std::span<const std::uint8_t, 240> source) {
    if (triggerMode_ != 0) return status::kNotSupported;
    return BaseDevice::EEProm_Set(source);
}

int CKQRovena_YUV::EEProm_Get(std::span<std::uint8_t, 240> destination) {
    if (triggerMode_ != 0) return status::kNotSupported;
    eepromValid_.fill(false);
    return BaseDevice::EEProm_Get(destination);
}

int CKQRovena_YUV::EEProm_SetByte(std::int32_t offset, std::int32_t count, const std::uint8_t* source) {
    if (triggerMode_ != 0) return status::kNotSupported;
    eepromValid_.fill(false);
    return BaseDevice::EEProm_SetByte(offset, count, source);
}

int CKQRovena_YUV::EEProm_GetByte(std::int32_t offset, std::int32_t count, std::uint8_t* destination) {
    if (triggerMode_ != 0) return status::kNotSupported;
    eepromValid_.fill(false);
    return BaseDevice::EEProm_GetByte(offset, count, destination);
}

std::uint32_t CKQRovena_YUV::ExposureToRegister(std::uint32_t time) const {
    const std::uint64_t line = std::uint64_t{capInfo_.width} + 708;
    const std::uint64_t lines = (48 * std::uint64_t{time} + line) / (2 * line);
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(lines, 1, 65535));
}

std::uint32_t CKQRovena_YUV::RegisterToExposure(std::uint32_t lines) const {
    const std::uint64_t line = std::uint64_t{capInfo_.width} + 708;
    const std::uint64_t time = (2 * line * lines + 24) / 48;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(time, UINT32_MAX));
}

}  // namespace kq
