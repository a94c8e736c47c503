#include "ebrant_fpga.h"

#include <array>
#include <chrono>

#include "grey_rgb_edges.h"
#include "kqff_protocol.h"

namespace kq {
namespace {

FpgaSensorTiming EbrantTiming() {
    FpgaSensorTiming t;
    t.horizontalBlanking = 0;
    t.minHorizontalBlanking = 0;
    t.verticalBlanking = 25;
    t.columnOffset = 16;
    t.rowOffset = 54;
    t.widthAdjust = 1;
    t.heightAdjust = 1;
    return t;
}

FpgaSensorTiming QuessaTiming() {
    FpgaSensorTiming t = EbrantTiming();
    t.widthAdjust = -1;  // its column-size register counts one past the width
    return t;
}

FpgaSensorTiming KelmarTiming() {
    FpgaSensorTiming t = EbrantTiming();
    t.readMode = 0x4006;
    return t;
}

constexpr timing::TriggerBits kKelmarTrigger{0xF00F, 0x0110};

}  // namespace

CKQEbrant_FPGA::CKQEbrant_FPGA(DeviceIdentity identity)
    : CKQEbrant_FPGA(identity, DeviceClass::CKQEbrant_FPGA, EbrantTiming()) {}

CKQEbrant_FPGA::CKQEbrant_FPGA(DeviceIdentity identity, DeviceClass deviceClass, FpgaSensorTiming timing)
    : CKQNavelo_FPGA(identity, deviceClass, timing) {}

timing::LineGeometry CKQEbrant_FPGA::Line() const {
    return {capInfo_.width, timing_.horizontalBlanking, static_cast<std::uint32_t>(geometry_.maxWidth)};
}

std::uint32_t CKQEbrant_FPGA::ExposureToRegister(std::uint32_t time) const {
    return timing::TimeToLines(timing::ExposureFamily::ebrant, Line(), time);
}

std::uint32_t CKQEbrant_FPGA::RegisterToExposure(std::uint32_t lines) const {
    return timing::LinesToTime(timing::ExposureFamily::ebrant, Line(), lines);
}

int CKQEbrant_FPGA::RawFrameToRgb(std::int32_t height, std::int32_t width, const std::uint8_t* source,
                                  std::uint8_t* destination) {
    return GreyRgbWithEdges(height, width, source, destination, colorAdjust_);
}

int CKQEbrant_FPGA::ResetSensor(bool atOpen) {
    Control(kqff::kIoctlStopCapture, {}, {});
    struct Step {
        std::uint16_t value;
        std::chrono::milliseconds settle;
    };
    for (const Step step : {Step{1, std::chrono::milliseconds(200)}, Step{0, std::chrono::milliseconds(300)},
                            Step{0, std::chrono::milliseconds(100)}}) {
        if (const int rc = WriteSensorRegister(0x0D, step.value); rc != status::kSuccess) return rc;
        Pause(step.settle);
    }
    if (!atOpen) return status::kSuccess;  // the resend brings the blanking back
    const std::array<fpga::RegisterWrite, 2> blanking{
        {{0x05, timing_.horizontalBlanking}, {0x06, timing_.verticalBlanking}}};
    return SendRegisters(blanking);
}

CKQQuessa_FPGA::CKQQuessa_FPGA(DeviceIdentity identity)
    : CKQEbrant_FPGA(identity, DeviceClass::CKQQuessa_FPGA, QuessaTiming()) {}

int CKQQuessa_FPGA::WriteDataToDevice(std::span<const std::uint8_t> source, std::int32_t offset) {
    return EEProm_SetByte(offset, static_cast<std::int32_t>(source.size()), source.data());
}

int CKQQuessa_FPGA::ReadDataFromDevice(std::span<std::uint8_t> destination, std::int32_t offset) {
    return EEProm_GetByte(offset, static_cast<std::int32_t>(destination.size()), destination.data());
}

int CKQQuessa_FPGA::DeviceIoControl(std::uint32_t value) {
    if (Gone()) return status::kNoDevice;
    std::array<std::uint8_t, kqff::camera_request::kBytes> request{};
    request[0] = kqff::camera_request::kDataPassThrough;
    request[1] = static_cast<std::uint8_t>(value);
    request[3] = static_cast<std::uint8_t>(value >> 16);
    request[5] = static_cast<std::uint8_t>(value >> 24);
    if (!Control(kqff::kIoctlWriteCommand, request, {})) return status::kNoDevice;
    return status::kSuccess;
}

int CKQQuessa_FPGA::StartGrab() {
    list_.Clear();
    list_.Append({ExposureRegister(), ExposureLines()});
    AppendGains(list_, GainRegisters());
    if (const int rc = SendList(); rc != status::kSuccess) return rc;
    list_.Clear();
    const Skip skip = CurrentSkip();
    const std::uint32_t factor = skip == Skip::none ? 1 : skip == Skip::twoFold ? 2 : 4;
    // Starts even; a skipped window is read from the origin.
    const bool origin = skip != Skip::none && SkippedWindowAtOrigin();
    const std::uint32_t column =
        origin ? 0 : ClampStart(capInfo_.columnStart & ~1u, capInfo_.width, geometry_.maxWidth, factor);
    const std::uint32_t row =
        origin ? 0 : ClampStart(capInfo_.rowStart & ~1u, capInfo_.height, geometry_.maxHeight, factor);
    AppendWindow(list_, skip, column, row, WindowUse::program);
    if (const int rc = SendList(); rc != status::kSuccess) return rc;
    return CKQEbrant_FPGA::StartGrab();
}

CKQKelmar_New::CKQKelmar_New(DeviceIdentity identity)
    : CKQEbrant_FPGA(identity, DeviceClass::CKQKelmar_New, KelmarTiming()) {
    // Its demosaic takes the member of the flip mode itself.
    pixelModel_.kernelForFlip = {0, 1, 2, 3, 0, 0};
}

int CKQKelmar_New::SetTriggerMode(std::int32_t on) { return SwitchReadModeTrigger(on, kKelmarTrigger); }

int CKQKelmar_New::SetVBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    const std::uint16_t blanking = timing::Range{25, 1023}.Clamp(value);
    const std::array<fpga::RegisterWrite, 2> writes{{{0x06, blanking}, {0x0B, 1}}};
    const bool running = streaming_;
    if (running) Control(kqff::kIoctlStopCapture, {}, {});
    const int rc = SendRegisters(writes);
    if (running) Control(kqff::kIoctlStartCapture, {}, {});
    if (rc != status::kSuccess) return rc;
    timing_.verticalBlanking = blanking;
    return status::kSuccess;
}

}  // namespace kq
