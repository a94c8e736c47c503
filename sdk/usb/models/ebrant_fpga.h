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
    // Stop, register 13 pulsed 1, 0, 0 (200, 300, 100 ms); at open the
    // blanking follows. Every send is checked, so a camera that does not
    // take the pulse after re-arrival stays removed.
    int ResetSensor(bool atOpen) override;
};

class CKQQuessa_FPGA final : public CKQEbrant_FPGA {
public:
    explicit CKQQuessa_FPGA(DeviceIdentity identity);

    // Triggered by software only.
    int SetTriggerMode(std::int32_t) override { return status::kNotSupported; }

    // The data area is the 40-byte EEPROM area: 10 outside it, nothing sent.
    int WriteDataToDevice(std::span<const std::uint8_t> source, std::int32_t offset) override;
    int ReadDataFromDevice(std::span<std::uint8_t> destination, std::int32_t offset) override;
    // Bytes 0, 2 and 3 of the value (little-endian) in a data request
    // {9, b0, 0, b2, 0, b3, 0...}; the camera does not answer.
    int DeviceIoControl(std::uint32_t value) override;

protected:
    // A grab programs the stored exposure and gains, then the window, in
    // two lists before the start code. A refused list leaves the camera
    // stopped with the window it had; a grab that reads nothing ends
    // stopped too (13), since no capture thread would take its frames.
    int StartGrab() override;
};

class CKQKelmar_New final : public CKQEbrant_FPGA {
public:
    explicit CKQKelmar_New(DeviceIdentity identity);

    int SetTriggerMode(std::int32_t on) override;
    // 25..1023, written with register 11 = 1 while the stream is stopped.
    int SetVBlank(std::int32_t value) override;

private:
    FirmwareChannel FirmwareSends() const override { return {kqff::kIoctlWriteCommand, 4}; }
};

}  // namespace kq
