#include "pelvar_device.h"

namespace kq {
namespace {

// The speed mode as the control byte carries it (KQ_SetSpeedMode).
std::int32_t SpeedMode(std::uint8_t control) {
    switch (control & capinfo_bits::speedMask) {
    case 0x10: return 0;
    case 0x30: return 2;
    default: return 1;
    }
}

}  // namespace

CKQPelvarDevice::CKQPelvarDevice(DeviceIdentity identity, DeviceClass deviceClass) : BaseDevice(identity, deviceClass) {
    // G R / B G: red at odd columns of even rows, blue at even columns of
    // odd rows, read by its own kernels, one member per flip mode. Both
    // quarter turns mend the last row.
    pixelModel_.microscopePhase = 4;
    pixelModel_.colourCell = {1, 0};
    pixelModel_.cellDemosaic = {.colour = true, .grey = true, .boost = kqcmos::BoostedPair::greens};
    pixelModel_.turnRepair = kqcmos::TurnRepair::lastRow;
    pixelModel_.edgeRepair = {.right = 2};  // the last two columns carry no image
    pixelModel_.alternateThresholds = {.exposure = 300, .brightness = 300};
}

timing::LineGeometry CKQPelvarDevice::Line() const {
    return {capInfo_.width, block_.horizontalBlanking, static_cast<std::uint32_t>(geometry_.maxWidth),
            SpeedMode(capInfo_.control)};
}

std::uint32_t CKQPelvarDevice::ExposureToRegister(std::uint32_t time) const {
    return timing::TimeToLines(timing::ExposureFamily::pelvar, Line(), time);
}

std::uint32_t CKQPelvarDevice::RegisterToExposure(std::uint32_t lines) const {
    return timing::LinesToTime(timing::ExposureFamily::pelvar, Line(), lines);
}

int CKQPelvarDevice::SetHBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    const FormatBlock block = block_;
    const std::uint32_t exposure = capInfo_.exposure;
    block_.horizontalBlanking = timing::Range{0, 4095}.Clamp(value);
    // A longer line makes the same time fewer lines.
    if (exposureUnit_ == 1) capInfo_.exposure = ExposureToRegister(exposureTime_);
    const int rc = ApplyCapInfo(capInfo_);
    if (rc != status::kSuccess) {
        block_ = block;
        capInfo_.exposure = exposure;
    }
    return rc;
}

int CKQPelvarDevice::SetVBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    const FormatBlock block = block_;
    block_.verticalBlanking = timing::Range{8, 2047}.Clamp(value);
    const int rc = ApplyCapInfo(capInfo_);
    if (rc != status::kSuccess) block_ = block;
    return rc;
}

}  // namespace kq
