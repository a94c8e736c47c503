#pragma once
// `CKQTEST`, the test camera of type 18: an FPGA device with a sensor of up
// to 4096 x 4096 pixels that takes the 36-byte capture record as it is and
// keeps its own frame size, 3488 x 2560: a width the driver sizes at one
// byte a pixel, 8929280 bytes, within its 9441280-byte frame buffers. Sensor register
// writes go nowhere; register 251, the test pattern, is only remembered.
// Its frames take the plain conversion (PixelModel::plainConversion).

#include <array>

#include "navelo_fpga.h"

namespace kq {

class CKQTEST final : public CKQNavelo_FPGA {
public:
    static constexpr std::uint32_t kFrameWidth = 3488;
    static constexpr std::uint32_t kFrameHeight = 2560;
    static constexpr std::uint16_t kTestPatternRegister = 251;

    explicit CKQTEST(DeviceIdentity identity);

    // Stop, then the caller's record with the camera's own frame size.
    int OpenDevice(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                   std::uint32_t callerHandle) override;
    // The caller's modes, starts, exposure and gains; the trigger and speed
    // bits stay as they were. The frame size is the camera's.
    int SetCapInfo(const CapInfo& record) override;
    // The record with SET_FORMAT; a refused one leaves the stored record (10).
    int ApplyCapInfo(const CapInfo& record) override;
    int ResendCapInfo() override { return status::kSuccess; }
    int SetHBlank(std::int32_t) override { return status::kSuccess; }
    int SetVBlank(std::int32_t) override { return status::kSuccess; }
    int SetZoomMode(std::int32_t) override { return status::kSuccess; }
    // Only the first pair counts; nothing is sent.
    int Write_Register(std::span<const std::uint16_t> addresses, std::span<const std::uint16_t> values) override;
    int WriteSensorRegister(std::uint16_t address, std::uint16_t value);
    // A buffer marked "Config" at bytes 64..69 goes out as its first 64
    // bytes, streaming or not; otherwise {7, 0, the first 40 bytes} with
    // capture stopped around it. The send's status is returned.
    int EEProm_Set(std::span<const std::uint8_t, 240> source) override;

    std::uint16_t TestPattern() const { return testPattern_; }
    const std::array<std::uint8_t, fpga::kEepromBytes>& EepromImage() const { return eepromImage_; }

private:
    // Back on the bus it only needs the stream stopped: its record survives.
    int PrepareArrivedSensor() override;

    std::uint16_t testPattern_ = 0;
    std::array<std::uint8_t, fpga::kEepromBytes> eepromImage_{};
};

}  // namespace kq
