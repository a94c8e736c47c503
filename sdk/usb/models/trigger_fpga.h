#pragma once
// The FPGA sensors that switch triggering in the read-mode word (bits 8-11,
// 0x300 when on): `CKQWimbro_New` (type 19, the 2048 x 1536 colour sensor)
// and `CKQYastro_New` (type 20, the 1280 x 1024 monochrome sensor, read
// mode 0x8000). Both, with `CKQKelmar_New`, take their firmware through
// the request-block code.

#include <array>

#include "brisel_fpga.h"
#include "navelo_fpga.h"

namespace kq {

inline constexpr timing::TriggerBits kReadModeTrigger{0xF0FF, 0x0300};
// Unlike the rest of the family, these two demosaic with the member of the
// flip mode itself (member 0 for the quarter turns).
inline constexpr std::array<std::uint8_t, 6> kOwnFlipMembers{0, 1, 2, 3, 0, 0};

class CKQWimbro_New final : public CKQNavelo_FPGA {
public:
    explicit CKQWimbro_New(DeviceIdentity identity)
        : CKQNavelo_FPGA(identity, DeviceClass::CKQWimbro_New, FpgaSensorTiming{}) {
        pixelModel_.kernelForFlip = kOwnFlipMembers;
    }

    int SetTriggerMode(std::int32_t on) override { return SwitchReadModeTrigger(on, kReadModeTrigger); }

private:
    FirmwareChannel FirmwareSends() const override { return {kqff::kIoctlWriteCommand, 4}; }
};

class CKQYastro_New final : public CKQJorvel_FPGA {
public:
    explicit CKQYastro_New(DeviceIdentity identity) : CKQJorvel_FPGA(identity, DeviceClass::CKQYastro_New) {
        timing_.readMode = 0x8000;
        pixelModel_.kernelForFlip = kOwnFlipMembers;
        // Its frames carry no image in one column at the left, three at the
        // right and one row at the top and the bottom.
        pixelModel_.edgeRepair = {.left = 1, .right = 3, .bottom = 1, .top = 1};
        pixelModel_.greyOrderForFlip = kOwnFlipMembers;
        // Its grey pictures come from the family's grey kernels, as those of
        // types 19 and 21 do.
        pixelModel_.greyKernels = true;
    }

    int SetTriggerMode(std::int32_t on) override { return SwitchReadModeTrigger(on, kReadModeTrigger); }

private:
    FirmwareChannel FirmwareSends() const override { return {kqff::kIoctlWriteCommand, 4}; }
};

}  // namespace kq
