// Capture-information record, the format block built from it, and the
// setters that change a field of the block and send it again.

#include <algorithm>

#include "base_device.h"
#include "exposure_units.h"
#include "status_codes.h"
#include "kqff_protocol.h"

namespace kq {
namespace {

constexpr std::uint8_t kKeptControlBits = capinfo_bits::trigger | capinfo_bits::speedMask;

std::uint32_t RoundDown8(std::uint32_t v) { return v & ~7u; }

std::uint32_t HalfSize(std::uint32_t requested, std::uint32_t sensor) {
    std::uint32_t half = (requested / 2 + requested % 2 + 7) & ~7u;  // ceil(r/2) up to 8
    return std::min(half, sensor / 2);
}

std::uint16_t ClampToU16(std::int64_t v, std::int64_t lowest, std::int64_t highest) {
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(v, lowest, highest));
}

}  // namespace

BaseDevice::WindowSize BaseDevice::OutputWindow(std::uint32_t width, std::uint32_t height, std::int32_t zoomMode,
                                                std::uint8_t& control, std::uint8_t binningMode) const {
    const auto sensorW = static_cast<std::uint32_t>(geometry_.maxWidth);
    const auto sensorH = static_cast<std::uint32_t>(geometry_.maxHeight);
    if (zoomMode == 1) {
        width = HalfSize(width, sensorW);
        height = HalfSize(height, sensorH);
        control |= capinfo_bits::halfReadout;
        control &= static_cast<std::uint8_t>(~capinfo_bits::zoom);
    }
    // A skipped or binned readout covers twice the window on the sensor.
    const bool halved = (control & capinfo_bits::halfReadout) != 0 || (binningMode & capinfo_bits::binning) != 0;
    const std::uint32_t limitW = halved ? sensorW / 2 : sensorW;
    const std::uint32_t limitH = halved ? sensorH / 2 : sensorH;
    return WindowSize{RoundDown8(std::min(width, limitW)), RoundDown8(std::min(height, limitH))};
}

std::uint32_t BaseDevice::ExposureToRegister(std::uint32_t time) const {
    const LineTiming timing{identity_.typeCode, clockSelect_, block_.horizontalBlanking, capInfo_.width};
    return TimeToLines(timing, time).value_or(capInfo_.exposure);
}

std::uint32_t BaseDevice::RegisterToExposure(std::uint32_t lines) const {
    const LineTiming timing{identity_.typeCode, clockSelect_, block_.horizontalBlanking, capInfo_.width};
    return LinesToTime(timing, lines).value_or(capInfo_.exposure);
}

void BaseDevice::CentreWindow(CapInfo& record) const {
    record.columnStart = (static_cast<std::uint32_t>(geometry_.maxWidth) - record.width) / 2;
    record.rowStart = (static_cast<std::uint32_t>(geometry_.maxHeight) - record.height) / 2;
}

int BaseDevice::SetCapInfo(const CapInfo& record) {
    if (Gone()) return status::kNoDevice;

    CapInfo next = capInfo_;
    next.gain = record.gain;
    next.mode[1] = record.mode[1];
    next.mode[2] = record.mode[2];
    next.mode[3] = record.mode[3];
    // Trigger and speed bits belong to their own setters.
    next.control = ControlKeeping(record.control, capInfo_.control, kKeptControlBits);
    const WindowSize out = OutputWindow(record.width, record.height, zoomMode_, next.control, next.mode[3]);
    // A zero-sized window would make the driver wait for frames that never come.
    if (out.width == 0 || out.height == 0) return status::kNotSupported;

    // A new frame size while streaming: capture stops around the change.
    const bool restart = streaming_ && (out.width != capInfo_.width || out.height != capInfo_.height);
    if (restart && capture_.OnThisThread()) return status::kNotSupported;
    if (restart) StopCapture();

    const CapInfo before = capInfo_;
    const std::uint32_t beforeWidth = requestedWidth_, beforeHeight = requestedHeight_;
    const bool beforeHalf = requestedHalfReadout_;
    const std::uint32_t beforeTime = exposureTime_, beforeBytes = frameBytes_;
    const bool beforeChanged = windowChanged_;
    requestedWidth_ = record.width;
    requestedHeight_ = record.height;
    requestedHalfReadout_ = (record.control & capinfo_bits::halfReadout) != 0;
    next.columnStart = record.columnStart;
    next.rowStart = record.rowStart;
    next.mode[0] = record.mode[0];
    next.extra = record.extra;
    next.reserved = record.reserved;
    if (next.width != out.width || next.height != out.height) windowChanged_ = true;
    next.width = out.width;
    next.height = out.height;
    capInfo_ = next;
    frameBytes_ = out.width * out.height;

    if (exposureUnit_ == 0) {
        capInfo_.exposure = std::min(record.exposure, static_cast<std::uint32_t>(geometry_.maxExposure));
    } else {
        if (record.exposure != exposureTime_) {
            exposureTime_ = RegisterToExposure(ExposureToRegister(record.exposure));
        }
        capInfo_.exposure = ExposureToRegister(record.exposure);
    }
    if (centreWindow_ != 0) CentreWindow(capInfo_);
    if (const int rc = ApplyCapInfo(capInfo_); rc != status::kSuccess) {
        capInfo_ = before;
        frameBytes_ = beforeBytes;
        windowChanged_ = beforeChanged;
        requestedWidth_ = beforeWidth;
        requestedHeight_ = beforeHeight;
        requestedHalfReadout_ = beforeHalf;
        exposureTime_ = beforeTime;
        if (restart) {  // streaming goes on with the format it had
            SetupDisplay();
            StartCapture();
        }
        return rc;
    }
    // The limit applies to what is sent; the caller's value is kept.
    if (exposureUnit_ == 0) capInfo_.exposure = record.exposure;
    if (!restart) return status::kSuccess;
    if (Pipeline().StripeCapable()) Pipeline().RequestStripeCapture();
    const int rc = SetupDisplay();
    StartCapture();
    return rc;
}

CapInfo BaseDevice::GetCapInfo() const {
    CapInfo out = capInfo_;
    if (exposureUnit_ == 1) out.exposure = exposureTime_;
    out.width = requestedWidth_;
    out.height = requestedHeight_;
    if (!requestedHalfReadout_) out.control &= static_cast<std::uint8_t>(~capinfo_bits::halfReadout);
    return out;
}

int BaseDevice::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    const CapInfo record = given;  // given may be capInfo_ itself
    if (firstApply_) {
        block_.sensorReadMode = geometry_.defaultSensorReadMode;
        block_.horizontalBlanking = geometry_.defaultHorizontalBlanking;
        block_.verticalBlanking = geometry_.defaultVerticalBlanking;
        block_.encodedGain = 8;
        block_.registerPairs = {};
        firstApply_ = false;
    }
    // Never send a window that leaves the sensor or has no pixels.
    std::uint8_t control = record.control;
    const std::int32_t noZoom = 0;
    const WindowSize window = OutputWindow(record.width, record.height, noZoom, control, record.mode[3]);
    if (window.width == 0 || window.height == 0) return status::kNotSupported;
    if (window.width != record.width || window.height != record.height) windowChanged_ = true;

    FormatBlock block = block_;
    std::uint8_t gain = std::clamp<std::uint8_t>(record.gain[0], 8, 95);
    if (gain < 64) {
        block.encodedGain = gain;
    } else {
        block.encodedGain = static_cast<std::uint8_t>(gain + 32);
        gain = 63;
    }
    block.gain = gain;
    block.exposure = ClampToU16(record.exposure, 2, 0xFFFF);

    const bool binning = (record.mode[3] & capinfo_bits::binning) != 0;
    const std::int64_t span = binning ? 2 : 1;
    const std::int64_t lastColumn = std::max<std::int64_t>(0, geometry_.maxWidth - span * window.width);
    const std::int64_t lastRow = std::max<std::int64_t>(0, geometry_.maxHeight - span * window.height);
    const auto columnStart = static_cast<std::uint32_t>(std::min<std::int64_t>(record.columnStart, lastColumn));
    const auto rowStart = static_cast<std::uint32_t>(std::min<std::int64_t>(record.rowStart, lastRow));

    block.height = window.height;
    block.width = window.width;
    block.columnStart = columnStart;
    block.rowStart = rowStart;
    block.control = record.control;
    block.mode = record.mode[0];
    block.extra = record.extra;
    if (block.horizontalBlanking == 0) block.horizontalBlanking = geometry_.defaultHorizontalBlanking;
    if (block.verticalBlanking == 0) block.verticalBlanking = geometry_.defaultVerticalBlanking;

    const auto bytes = EncodeFormatBlock(block);
    // The driver refuses a format whose frame would not fit its frame
    // buffers; it keeps the last one, and so does the device.
    if (!Control(kqff::kIoctlSetFormat, bytes, {})) return status::kNotSupported;
    capInfo_ = record;
    capInfo_.width = window.width;
    capInfo_.height = window.height;
    frameBytes_ = window.width * window.height;
    readBytes_ = frameBytes_;
    block_.encodedGain = block.encodedGain;
    lastSent_ = block;

    // With binning the caller's start values are kept for the next send.
    if (!binning) {
        capInfo_.columnStart = columnStart;
        capInfo_.rowStart = rowStart;
    }
    return status::kSuccess;
}

void BaseDevice::KeepSentBlock(const FormatBlock& block, const CapInfo& record, bool keepCallerStarts,
                               std::uint32_t frameBytes, std::uint32_t trailerBytes) {
    firstApply_ = false;
    block_ = block;
    lastSent_ = block;
    if (record.width != capInfo_.width || record.height != capInfo_.height) windowChanged_ = true;
    capInfo_ = record;
    if (!keepCallerStarts) {
        capInfo_.columnStart = block.columnStart;
        capInfo_.rowStart = block.rowStart;
    }
    frameBytes_ = frameBytes;
    readBytes_ = frameBytes + trailerBytes;
}

int BaseDevice::SetZoomMode(std::int32_t mode) {
    if (Gone()) return status::kNoDevice;
    if (mode != 0 && mode != 1) return status::kNotSupported;
    std::uint8_t control = capInfo_.control;
    if (mode == 0) {
        control &= static_cast<std::uint8_t>(~(capinfo_bits::halfReadout | capinfo_bits::zoom));
        if (requestedHalfReadout_) control |= capinfo_bits::halfReadout;
    }
    const WindowSize out = OutputWindow(requestedWidth_, requestedHeight_, mode, control, capInfo_.mode[3]);
    if (out.width == 0 || out.height == 0) return status::kNotSupported;

    const bool restart = streaming_ && (out.width != capInfo_.width || out.height != capInfo_.height);
    if (restart && capture_.OnThisThread()) return status::kNotSupported;
    if (restart) StopCapture();
    capInfo_.control = control;
    capInfo_.width = out.width;
    capInfo_.height = out.height;
    if (centreWindow_ != 0 && mode == 0 && !requestedHalfReadout_) CentreWindow(capInfo_);
    windowChanged_ = true;
    if (exposureUnit_ == 1) capInfo_.exposure = ExposureToRegister(exposureTime_);
    ApplyCapInfo(capInfo_);
    zoomMode_ = mode;
    if (!restart) return status::kSuccess;
    const int rc = SetupDisplay();
    StartCapture();
    return rc;
}

int BaseDevice::SetSpeedMode(std::int32_t mode) {
    if (Gone()) return status::kNoDevice;
    std::uint8_t bits = 0;
    switch (mode) {
    case 0: bits = 0x10; break;
    case 1: bits = 0x00; break;
    case 2: bits = 0x30; break;
    default: bits = capInfo_.control & capinfo_bits::speedMask; break;
    }
    capInfo_.control = static_cast<std::uint8_t>((capInfo_.control & ~capinfo_bits::speedMask) | bits);
    ApplyCapInfo(capInfo_);
    return status::kSuccess;
}

int BaseDevice::SetHBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    const std::int32_t type = identity_.typeCode;
    if (type == 3) {
        block_.horizontalBlanking = ClampToU16(value, 25, 2047);
    } else if (type == 5 || type == 17) {
        block_.horizontalBlanking = ClampToU16(value, 21, 2047);
    } else {
        block_.horizontalBlanking = ClampToU16(value, 0, 0xFFFF);
    }
    // The line length changed, so the same time is a different line count.
    if (exposureUnit_ == 1) capInfo_.exposure = ExposureToRegister(exposureTime_);
    ApplyCapInfo(capInfo_);
    return status::kSuccess;
}

int BaseDevice::SetVBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    const std::int32_t type = identity_.typeCode;
    if (type == 3) {
        block_.verticalBlanking = ClampToU16(value, 25, 2047);
    } else if (type == 5 || type == 17) {
        block_.verticalBlanking = ClampToU16(value, 3, 2000);
    } else {
        block_.verticalBlanking = ClampToU16(value, 0, 0xFFFF);
    }
    ApplyCapInfo(capInfo_);
    return status::kSuccess;
}

int BaseDevice::SetExpouseDelayTime(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    block_.exposureDelay = ClampToU16(value, 0, 2047);
    ApplyCapInfo(capInfo_);
    return status::kSuccess;
}

int BaseDevice::SetSensorRdMode(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    block_.sensorReadMode = static_cast<std::uint16_t>(value);
    ApplyCapInfo(capInfo_);
    return status::kSuccess;
}

int BaseDevice::Write_Register(std::span<const std::uint16_t> addresses, std::span<const std::uint16_t> values) {
    if (addresses.empty() || addresses.size() != values.size()) return status::kNotSupported;
    if (Gone()) return status::kNoDevice;
    const std::size_t pairs = std::min<std::size_t>(addresses.size(), 2);  // two pairs fit the block
    for (std::size_t i = 0; i < pairs; ++i) {
        block_.registerPairs[2 * i] = addresses[i];
        block_.registerPairs[2 * i + 1] = values[i];
    }
    ApplyCapInfo(capInfo_);
    block_.registerPairs = {};  // register writes are one-shot
    return status::kSuccess;
}

int BaseDevice::SetOffCenter(std::int32_t on) {
    centreWindow_ = on;
    return SetCapInfo(GetCapInfo());
}

int BaseDevice::SetExpouseUnit(std::int32_t unit) {
    const std::int32_t wanted = unit != 0 ? 1 : 0;
    if (wanted == exposureUnit_) return status::kSuccess;
    if (wanted == 1) {
        exposureTime_ = RegisterToExposure(capInfo_.exposure);
    } else {
        capInfo_.exposure = ExposureToRegister(exposureTime_);
    }
    exposureUnit_ = wanted;
    return status::kSuccess;
}

}  // namespace kq
