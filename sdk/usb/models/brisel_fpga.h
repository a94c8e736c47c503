#pragma once
// `CKQBrisel_FPGA` (type 12, colour) and `CKQJorvel_FPGA` (type 13, its
// monochrome sibling): the 1280 x 1024 FPGA sensor. Its window list also
// sets the read mode and the exposure, its exposure conversion is its own
// and its blanking may go down to 9.

#include "navelo_fpga.h"

namespace kq {

class CKQBrisel_FPGA : public CKQNavelo_FPGA {
public:
    explicit CKQBrisel_FPGA(DeviceIdentity identity) : CKQBrisel_FPGA(identity, DeviceClass::CKQBrisel_FPGA) {}

    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;

protected:
    CKQBrisel_FPGA(DeviceIdentity identity, DeviceClass deviceClass);

    void AppendWindow(fpga::RegisterList& list, Skip skip, std::uint32_t columnStart, std::uint32_t rowStart,
                      WindowUse use) const override;
    bool SkipChangeNeedsZoomZero() const override { return false; }
    int ResetSensor(bool atOpen) override;
};

// The monochrome sensor: its raw frame is grey, brought into output
// orientation by its own flip table and smoothed by the 2 x 2 average.
class CKQJorvel_FPGA : public CKQBrisel_FPGA {
public:
    explicit CKQJorvel_FPGA(DeviceIdentity identity) : CKQJorvel_FPGA(identity, DeviceClass::CKQJorvel_FPGA) {}

protected:
    CKQJorvel_FPGA(DeviceIdentity identity, DeviceClass deviceClass);
};

}  // namespace kq
