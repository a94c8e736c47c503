#include "dorisk_device.h"

#include <algorithm>
#include <atomic>

#include "kqff_protocol.h"

namespace kq {
namespace {

constexpr std::uint8_t kHdrBit = 0x04;
constexpr std::uint8_t kExternalTriggerBit = 0x08;
// Trigger mode, HDR and the trigger source belong to their own setters.
constexpr std::uint8_t kKeptControlBits = 0x02 | kHdrBit | kExternalTriggerBit;

// The model's own trigger-frame numbers, shared by all its cameras.
std::atomic<std::int32_t> g_snapshotNumber{1};

timing::LineGeometry LineOf(const CapInfo& record, const FormatBlock& block) {
    return {record.width, block.horizontalBlanking, 0};
}

}  // namespace

CKQDoriskDevice::CKQDoriskDevice(DeviceIdentity identity, DeviceClass deviceClass) : BaseDevice(identity, deviceClass) {
    block_.horizontalBlanking = kDefaultHorizontalBlanking;
    block_.verticalBlanking = kDefaultVerticalBlanking;
    pixelModel_.edgeRepair = {.right = 1};  // the last column carries no image
}

std::int32_t CKQDoriskDevice::NextSnapshotNumber() { return g_snapshotNumber.fetch_add(1); }

std::uint32_t CKQDoriskDevice::ExposureToRegister(std::uint32_t time) const {
    return timing::TimeToLines(timing::ExposureFamily::dorisk, LineOf(capInfo_, block_), time);
}

std::uint32_t CKQDoriskDevice::RegisterToExposure(std::uint32_t lines) const {
    return timing::LinesToTime(timing::ExposureFamily::dorisk, LineOf(capInfo_, block_), lines);
}

BaseDevice::WindowSize CKQDoriskDevice::SensorWindow(std::uint32_t width, std::uint32_t height,
                                                     std::uint8_t binningMode) const {
    const std::uint32_t factor = (binningMode & capinfo_bits::binning) != 0 ? 2 : 1;
    const auto limitW = static_cast<std::uint32_t>(geometry_.maxWidth) / factor;
    const auto limitH = static_cast<std::uint32_t>(geometry_.maxHeight) / factor;
    return {std::min(width, limitW), std::min(height, limitH)};
}

int CKQDoriskDevice::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = given;  // given may be capInfo_ itself
    const WindowSize window = SensorWindow(record.width, record.height, record.mode[3]);
    if (window.width == 0 || window.height == 0) return status::kNotSupported;
    record.width = window.width;
    record.height = window.height;

    FormatBlock block = block_;
    if (firstApply_) {
        block.sensorReadMode = 0;
        block.horizontalBlanking = kDefaultHorizontalBlanking;
        block.verticalBlanking = kDefaultVerticalBlanking;
        block.registerPairs = {};
    }
    const timing::GainCode gain = timing::EncodeGain(record.gain[0]);
    record.gain = {gain.gain, gain.gain, gain.gain};
    record.exposure = std::clamp<std::uint32_t>(record.exposure, 2, 0xFFFF);
    const std::uint32_t factor = (record.mode[3] & capinfo_bits::binning) != 0 ? 2 : 1;
    record.columnStart =
        timing::LimitStart(record.columnStart, record.width, static_cast<std::uint32_t>(geometry_.maxWidth), factor);
    record.rowStart =
        timing::LimitStart(record.rowStart, record.height, static_cast<std::uint32_t>(geometry_.maxHeight), factor);
    if (block.horizontalBlanking == 0) block.horizontalBlanking = kDefaultHorizontalBlanking;
    if (block.verticalBlanking == 0) block.verticalBlanking = kDefaultVerticalBlanking;

    const timing::LineGeometry line{record.width, block.horizontalBlanking, 0};
    const std::uint32_t exposureTime = timing::LinesToTime(timing::ExposureFamily::dorisk, line, record.exposure);
    const std::uint16_t framePeriod = timing::FramePeriodMs(exposureTime, record.width, record.height,
                                                            block.horizontalBlanking, block.verticalBlanking);
    const std::uint16_t triggerPeriod =
        std::max<std::uint16_t>(framePeriod, static_cast<std::uint16_t>(std::clamp(triggerSourceTime_, 0, 0xFFFF)));

    block.height = record.height;
    block.width = record.width;
    block.columnStart = record.columnStart;
    block.rowStart = record.rowStart;
    block.exposure = static_cast<std::uint16_t>(record.exposure);
    block.gain = gain.gain;
    block.encodedGain = gain.code;
    block.control = record.control;
    block.mode = record.mode[0];
    block.extra = record.extra;
    block.triggerPeriod = triggerPeriod;
    block.triggerCheckTime = triggerCheckTime_;

    FormatBlock sent = block;
    sent.horizontalBlanking = timing::SentHorizontalBlanking(block.horizontalBlanking, record.width);
    // A refused block changes nothing: the first send's defaults wait too.
    if (!Control(kqff::kIoctlSetFormat, EncodeFormatBlock(sent), {})) return status::kNotSupported;
    firstApply_ = false;
    block_ = block;
    lastSent_ = sent;
    triggerPeriod_ = triggerPeriod;
    if (record.width != capInfo_.width || record.height != capInfo_.height) windowChanged_ = true;
    capInfo_ = record;
    frameBytes_ = record.width * record.height;
    readBytes_ = frameBytes_;
    return status::kSuccess;
}

int CKQDoriskDevice::SetCapInfo(const CapInfo& record) {
    if (Gone()) return status::kNoDevice;
    CapInfo next = TakeRecordFields(capInfo_, record, kKeptControlBits);
    const WindowSize window = SensorWindow(record.width, record.height, record.mode[3]);
    if (window.width == 0 || window.height == 0) return status::kNotSupported;

    const bool running = streaming_ && !fastMode_;
    const bool restart = running && (window.width != capInfo_.width || window.height != capInfo_.height);
    if (restart && capture_.OnThisThread()) return status::kNotSupported;

    const CapInfo before = capInfo_;
    const std::uint32_t beforeWidth = requestedWidth_, beforeHeight = requestedHeight_;
    const std::uint32_t beforeTime = exposureTime_;
    requestedWidth_ = record.width;
    requestedHeight_ = record.height;
    next.width = window.width;
    next.height = window.height;
    capInfo_ = next;  // the conversion below reads the new width
    if (exposureUnit_ == 0) {
        capInfo_.exposure = record.exposure;
    } else {
        const std::uint32_t lines = ExposureToRegister(record.exposure);
        if (record.exposure != exposureTime_) exposureTime_ = RegisterToExposure(lines);
        capInfo_.exposure = lines;
    }
    if (hdr_ != 0) capInfo_.exposure = timing::HdrLines(capInfo_.exposure);
    if (centreWindow_ != 0) CentreWindow(capInfo_);

    if (restart) StopCapture();
    const CapInfo wanted = capInfo_;
    capInfo_ = before;  // ApplyCapInfo takes the window as changed against what was sent
    const int rc = ApplyCapInfo(wanted);
    if (rc != status::kSuccess) {
        capInfo_ = before;
        requestedWidth_ = beforeWidth;
        requestedHeight_ = beforeHeight;
        exposureTime_ = beforeTime;
        if (restart) StartCapture();  // streaming goes on with the format it had
        return rc;
    }
    if (exposureUnit_ == 0) capInfo_.exposure = record.exposure;
    if (!restart) return status::kSuccess;
    Pipeline().FlatField().Reset();
    const int display = SetupDisplay();
    StartCapture();
    return display;
}

int CKQDoriskDevice::SetZoomMode(std::int32_t) {
    if (Gone()) return status::kNoDevice;
    if (capture_.OnThisThread()) return status::kNotSupported;
    const bool running = streaming_ && !fastMode_;
    if (running) StopCapture();
    CapInfo wanted = capInfo_;
    if (requestedWidth_ != 0 && requestedHeight_ != 0) {
        wanted.width = requestedWidth_;
        wanted.height = requestedHeight_;
    }
    if (centreWindow_ != 0) CentreWindow(wanted);
    const CapInfo before = capInfo_;
    capInfo_ = wanted;  // the conversion reads the window it is for
    if (exposureUnit_ == 1) wanted.exposure = ExposureToRegister(exposureTime_);
    capInfo_ = before;
    if (hdr_ != 0) wanted.exposure = timing::HdrLines(wanted.exposure);
    const int rc = ApplyCapInfo(wanted);
    if (rc == status::kSuccess) Pipeline().FlatField().Reset();
    const int display = SetupDisplay();
    if (running) StartCapture();
    return rc != status::kSuccess ? rc : display;
}

template <class Change>
int CKQDoriskDevice::ChangeAndSend(Change change) {
    if (Gone()) return status::kNoDevice;
    const FormatBlock block = block_;
    const CapInfo record = capInfo_;
    const std::int32_t hdr = hdr_, sourceTime = triggerSourceTime_;
    const std::uint16_t checkTime = triggerCheckTime_;
    change();
    const int rc = ApplyCapInfo(capInfo_);
    if (rc != status::kSuccess) {
        block_ = block;
        capInfo_ = record;
        hdr_ = hdr;
        triggerSourceTime_ = sourceTime;
        triggerCheckTime_ = checkTime;
    }
    return rc;
}

int CKQDoriskDevice::SetHBlank(std::int32_t value) {
    return ChangeAndSend([&] {
        block_.horizontalBlanking = timing::Range{100, 1023}.Clamp(value);
        // A longer line makes the same time fewer lines.
        if (exposureUnit_ == 1) capInfo_.exposure = ExposureToRegister(exposureTime_);
    });
}

int CKQDoriskDevice::SetVBlank(std::int32_t value) {
    return ChangeAndSend([&] { block_.verticalBlanking = timing::Range{45, 1023}.Clamp(value); });
}

int CKQDoriskDevice::SetHDR(std::int32_t on) {
    return ChangeAndSend([&] {
        hdr_ = on != 0 ? 1 : 0;
        if (on != 0) {
            capInfo_.control |= kHdrBit;
        } else {
            capInfo_.control &= static_cast<std::uint8_t>(~kHdrBit);
        }
    });
}

int CKQDoriskDevice::SetTriggerSource(std::int32_t on) {
    // The trigger period follows with the send: never below a frame.
    return ChangeAndSend([&] {
        if (on == 1) {
            capInfo_.control |= kExternalTriggerBit;
        } else {
            capInfo_.control &= static_cast<std::uint8_t>(~kExternalTriggerBit);
        }
    });
}

int CKQDoriskDevice::SetTriggerSourceTime(std::int32_t time) {
    return ChangeAndSend([&] { triggerSourceTime_ = time; });
}

int CKQDoriskDevice::SetTriggerCheckSignalTime(std::int32_t value) {
    return ChangeAndSend([&] { triggerCheckTime_ = timing::Range{1, 1000}.Clamp(value); });
}

}  // namespace kq
