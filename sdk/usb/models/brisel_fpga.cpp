#include "brisel_fpga.h"

#include <algorithm>

#include "kqff_protocol.h"

namespace kq {
namespace {

using fpga::RegisterWrite;

FpgaSensorTiming BriselTiming() {
    FpgaSensorTiming t;
    t.columnOffset = 20;
    t.rowOffset = 12;
    t.horizontalBlanking = 9;
    t.minHorizontalBlanking = 9;
    t.verticalBlanking = 25;
    return t;
}

}  // namespace

CKQBrisel_FPGA::CKQBrisel_FPGA(DeviceIdentity identity, DeviceClass deviceClass)
    : CKQNavelo_FPGA(identity, deviceClass, BriselTiming()) {}

std::uint32_t CKQBrisel_FPGA::ExposureToRegister(std::uint32_t time) const {
    // (t x 48 + 180) / line + 0.5, truncated, in 64 bits.
    const std::uint64_t line = std::uint64_t{timing_.horizontalBlanking} + capInfo_.width + 226;
    const std::uint64_t lines = (2 * (48 * std::uint64_t{time} + 180) + line) / (2 * line);
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(lines, 1, 16383));
}

std::uint32_t CKQBrisel_FPGA::RegisterToExposure(std::uint32_t lines) const {
    const std::int64_t line = std::int64_t{timing_.horizontalBlanking} + capInfo_.width + 226;
    const std::int64_t time = (2 * (std::int64_t{lines} * line - 180) + 48) / 96;
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(time, 0, UINT32_MAX));
}

void CKQBrisel_FPGA::AppendWindow(fpga::RegisterList& list, Skip skip, std::uint32_t columnStart,
                                  std::uint32_t rowStart, WindowUse use) const {
    const std::int64_t w = capInfo_.width, h = capInfo_.height;
    const std::uint16_t clearedReadMode = timing_.readMode & 0xFFF0;
    switch (skip) {
    case Skip::none:
        list.Append({0x04, fpga::RegisterValue(w - timing_.widthAdjust)});
        list.Append({0x03, fpga::RegisterValue(h - timing_.heightAdjust)});
        list.Append({0x20, 0x1104});
        list.Append({0x1E, clearedReadMode});
        break;
    case Skip::twoFold:
        list.Append({0x04, fpga::RegisterValue(2 * w - 1)});
        list.Append({0x03, fpga::RegisterValue(2 * h - 1)});
        list.Append({0x20, 0x111C});
        list.Append({0x1E, clearedReadMode});
        break;
    case Skip::fourFold:
        list.Append({0x04, fpga::RegisterValue(4 * w - 1)});
        list.Append({0x03, fpga::RegisterValue(4 * h - 1)});
        list.Append({0x20, 0x1104});
        list.Append({0x1E, static_cast<std::uint16_t>(timing_.readMode | 0x0C)});
        break;
    }
    list.Append({0x02, fpga::RegisterValue(std::int64_t{columnStart} + timing_.columnOffset)});
    list.Append({0x01, fpga::RegisterValue(std::int64_t{rowStart} + timing_.rowOffset)});
    // The exposure follows the window; after re-arrival the exposure comes
    // in a list of its own.
    if (use == WindowUse::program) list.SetTrailing({ExposureRegister(), ExposureLines()});
}

int CKQBrisel_FPGA::ResetSensor(bool atOpen) {
    if (atOpen) Control(kqff::kIoctlStopCapture, {}, {});
    SendResetPulse();
    if (!atOpen) return status::kSuccess;
    const std::array<RegisterWrite, 2> blanking{{{0x05, timing_.horizontalBlanking}, {0x06, timing_.verticalBlanking}}};
    return SendRegisters(blanking);
}

CKQJorvel_FPGA::CKQJorvel_FPGA(DeviceIdentity identity, DeviceClass deviceClass)
    : CKQBrisel_FPGA(identity, deviceClass) {
    // Grey raw: flip 1 keeps it, 2 reverses the rows, 3 turns it by half,
    // every other flip mirrors each row. The colour modes keep the family's
    // reversed kernel order.
    pixelModel_.greyOrderForFlip = {3, 2, 0, 1, 3, 3};
    pixelModel_.greyRaw = true;
}

}  // namespace kq
