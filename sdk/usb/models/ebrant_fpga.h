#pragma once
// `CKQEbrant_FPGA` (type 24), the 2592 x 1944 FPGA sensor, and its two
// variants: `CKQQuessa_FPGA` (type 25, monochrome, one column less per
// row, no trigger mode) and `CKQKelmar_New` (type 21, trigger bits in the
// read-mode word). The sensor's window starts at column 16, row 54; its
// line is W + 2 max(HB, 450) pixels at 48 MHz.

#include "navelo_fpga.h"

namespace kq {

class CKQEbrant_FPGA : public CKQNavelo_FPGA {
public:
    explicit CKQEbrant_FPGA(DeviceIdentity identity);

    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;
    int RawFrameToRgb(std::int32_t height, std::int32_t width, const std::uint8_t* source,
                      std::uint8_t* destination) override;

protected:
    CKQEbrant_FPGA(DeviceIdentity identity, DeviceClass deviceClass, FpgaSensorTiming timing);
    timing::LineGeometry Line() const;
};

class CKQQuessa_FPGA final : public CKQEbrant_FPGA {
public:
    explicit CKQQuessa_FPGA(DeviceIdentity identity);

    // Triggered by software only.
    int SetTriggerMode(std::int32_t) override { return status::kNotSupported; }
};

class CKQKelmar_New final : public CKQEbrant_FPGA {
public:
    explicit CKQKelmar_New(DeviceIdentity identity);

    int SetTriggerMode(std::int32_t on) override;
    // 25..1023, written with register 11 = 1 while the stream is stopped.
    int SetVBlank(std::int32_t value) override;
};

}  // namespace kq
