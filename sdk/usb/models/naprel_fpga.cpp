#include "naprel_fpga.h"

#include <algorithm>

#include "kqff_protocol.h"

namespace kq {
namespace {

using fpga::RegisterWrite;

constexpr std::uint16_t kSensorHorizontalBlanking = 370;
constexpr std::uint16_t kSensorVerticalBlanking = 29;
constexpr std::int32_t kModelSettingExposureLimit = 2048;
constexpr std::array<std::uint16_t, 4> kGainRegisters{0x3058, 0x3056, 0x305C, 0x305A};

FpgaSensorTiming NaprelTiming() {
    FpgaSensorTiming t;
    t.columnOffset = 0;
    t.rowOffset = 2;
    t.horizontalBlanking = kSensorHorizontalBlanking;
    t.verticalBlanking = kSensorVerticalBlanking;
    return t;
}

}  // namespace

CKQNaprel_FPGA::CKQNaprel_FPGA(DeviceIdentity identity)
    : CKQNavelo_FPGA(identity, DeviceClass::CKQNaprel_FPGA, NaprelTiming()) {
    // The sensor reads out upright: each flip runs its own kernel.
    pixelModel_.kernelForFlip = {0, 1, 2, 3, 0, 0};
}

std::span<const std::uint16_t, 4> CKQNaprel_FPGA::GainRegisters() const { return kGainRegisters; }

std::uint16_t CKQNaprel_FPGA::LineLength() const {
    return fpga::RegisterValue(std::int64_t{geometry_.maxWidth} + timing_.horizontalBlanking);
}

std::uint16_t CKQNaprel_FPGA::FrameLength() const {
    return fpga::RegisterValue(std::int64_t{capInfo_.height} + timing_.verticalBlanking);
}

std::uint32_t CKQNaprel_FPGA::ExposureToRegister(std::uint32_t time) const {
    // t x 58 / line + 0.5, truncated, in 64 bits.
    const std::uint64_t line =
        std::uint64_t{timing_.horizontalBlanking} + static_cast<std::uint64_t>(geometry_.maxWidth);
    const std::uint64_t lines = (116 * std::uint64_t{time} + line) / (2 * line);
    const std::uint64_t limit = modelSetting_ != 0 ? kModelSettingExposureLimit : 65535;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(lines, 1, limit));
}

std::uint32_t CKQNaprel_FPGA::RegisterToExposure(std::uint32_t lines) const {
    const std::uint64_t line =
        std::uint64_t{timing_.horizontalBlanking} + static_cast<std::uint64_t>(geometry_.maxWidth);
    const std::uint64_t time = (2 * line * lines + 58) / 116;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(time, UINT32_MAX));
}

std::uint32_t CKQNaprel_FPGA::LimitExposureLines(std::uint32_t lines) const {
    if (modelSetting_ == 0) return lines;
    return std::min<std::uint32_t>(lines, kModelSettingExposureLimit);
}

void CKQNaprel_FPGA::AppendWindow(fpga::RegisterList& list, Skip skip, std::uint32_t columnStart,
                                  std::uint32_t rowStart, WindowUse use) const {
    const std::int64_t column = std::int64_t{columnStart} + timing_.columnOffset;
    const std::int64_t row = std::int64_t{rowStart} + timing_.rowOffset;
    const std::int64_t w = capInfo_.width, h = capInfo_.height;
    const bool skipped = skip != Skip::none;
    // A skipped readout spans twice the window; programming it reaches two
    // lines further, restoring it does not.
    const std::int64_t reach = skipped && use == WindowUse::program ? 2 : 0;
    const std::int64_t factor = skipped ? 2 : 1;
    // Restored, the skip mode is the two-fold zoom's own.
    const std::uint16_t mode = use == WindowUse::resend ? (zoomMode_ == 1 ? 3 : 0) : (skipped ? 2 : 0);
    list.Append({0x3008, fpga::RegisterValue(column + factor * w - timing_.widthAdjust + reach)});
    list.Append({0x3006, fpga::RegisterValue(row + factor * h - timing_.heightAdjust + reach)});
    list.Append({0x3004, fpga::RegisterValue(column)});
    list.Append({0x3002, fpga::RegisterValue(row)});
    list.Append({0x3032, mode});
}

void CKQNaprel_FPGA::AppendStartChanges(fpga::RegisterList& list, bool columnChanged, bool rowChanged,
                                        std::uint32_t column, std::uint32_t row) const {
    // A start moves the window's end with it.
    const std::int64_t factor = CurrentSkip() == Skip::none ? 1 : 2;
    const std::int64_t reach = factor == 2 ? 2 : 0;
    const std::int64_t c = std::int64_t{column} + timing_.columnOffset;
    const std::int64_t r = std::int64_t{row} + timing_.rowOffset;
    if (columnChanged) {
        list.Append({0x3004, fpga::RegisterValue(c)});
        list.Append({0x3008, fpga::RegisterValue(c + factor * capInfo_.width - timing_.widthAdjust + reach)});
    }
    if (rowChanged) {
        list.Append({0x3002, fpga::RegisterValue(r)});
        list.Append({0x3006, fpga::RegisterValue(r + factor * capInfo_.height - timing_.heightAdjust + reach)});
    }
}

bool CKQNaprel_FPGA::RewritesUnfittedSkipWindow() const {
    // Left at zoom 0, the sensor already reads this window unskipped, so
    // the request carries the capture settings alone; leaving the two-fold
    // zoom, the sensor would go on reading a skipped window the frames no
    // longer match.
    return zoomMode_ != 0;
}

int CKQNaprel_FPGA::OnWindowSizeChanged() { return WriteSensorRegister(0x300A, FrameLength()); }

int CKQNaprel_FPGA::ResendBlankingAndMode() {
    const std::array<RegisterWrite, 2> lengths{{{0x300C, LineLength()}, {0x300A, FrameLength()}}};
    if (const int rc = SendRegisters(lengths); rc != status::kSuccess) return rc;
    return ApplyModelSetting(modelSetting_);
}

int CKQNaprel_FPGA::ResetSensor(bool) {
    Control(kqff::kIoctlStopCapture, {}, {});
    const std::array<RegisterWrite, 2> lengths{
        {{0x300C, fpga::RegisterValue(std::int64_t{timing_.horizontalBlanking} + capInfo_.width)},
         {0x300A, FrameLength()}}};
    return SendRegisters(lengths);
}

int CKQNaprel_FPGA::SetHBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    timing_.horizontalBlanking =
        static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, 0, 1023) + kSensorHorizontalBlanking);
    if (exposureUnit_ == 0) return WriteSensorRegister(0x300C, LineLength());
    capInfo_.exposure = ExposureToRegister(exposureTime_);
    const std::array<RegisterWrite, 2> writes{{{0x300C, LineLength()}, {0x3012, ExposureLines()}}};
    return SendRegisters(writes);
}

int CKQNaprel_FPGA::SetVBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    timing_.verticalBlanking =
        static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, 0, 1023) + kSensorVerticalBlanking);
    return WriteSensorRegister(0x300A, FrameLength());
}

int CKQNaprel_FPGA::SetZoomMode(std::int32_t mode) {
    if (mode != 0 && mode != 1) return status::kNotSupported;
    return CKQNavelo_FPGA::SetZoomMode(mode);
}

int CKQNaprel_FPGA::ApplyModelSetting(std::int32_t flag) {
    if (Gone()) return status::kNoDevice;
    const bool running = streaming_;
    if (running) StopCapture();
    int rc = WriteSensorRegister(0x301A, 0x10D8);
    Pause(std::chrono::milliseconds(100));
    if (rc == status::kSuccess) rc = WriteSensorRegister(0x3082, flag == 0 ? 0x29 : 0x28);
    if (rc == status::kSuccess) rc = WriteSensorRegister(0x301A, 0x10DC);
    if (rc == status::kSuccess) modelSetting_ = flag;
    Pause(std::chrono::milliseconds(100));
    if (rc == status::kSuccess && exposureUnit_ == 1) {
        capInfo_.exposure = ExposureToRegister(exposureTime_);
        rc = WriteSensorRegister(0x3012, ExposureLines());
    }
    if (running) StartCapture();
    return rc;
}

int CKQNaprel_FPGA::OpenDevice(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                               std::uint32_t callerHandle) {
    if (const int rc = Connect(transport, camera, capInfo, callerHandle); rc != status::kSuccess) return rc;
    Control(kqff::kIoctlStopCapture, {}, {});
    firstApply_ = true;
    timing_.horizontalBlanking = kSensorHorizontalBlanking;
    timing_.verticalBlanking = kSensorVerticalBlanking;
    const int rc = SetCapInfo(capInfo);
    if (rc != status::kSuccess) return rc;
    Pause(std::chrono::milliseconds(100));
    const std::array<RegisterWrite, 2> lengths{{{0x300C, LineLength()}, {0x300A, FrameLength()}}};
    SendRegisters(lengths);
    return ApplyModelSetting(modelSetting_);
}

}  // namespace kq
