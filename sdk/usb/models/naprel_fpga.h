#pragma once
// `CKQNaprel_FPGA`: the 1280 x 960 FPGA camera of type 16, whose sensor has
// 16-bit register addresses. Its lists are the 46-byte kind; a register
// write goes alone (no capture record, no pause); the window is given by its
// start and end; the blanking is the line and frame length; and a model
// setting switches the sensor between two operating modes.

#include "navelo_fpga.h"

namespace kq {

class CKQNaprel_FPGA final : public CKQNavelo_FPGA {
public:
    explicit CKQNaprel_FPGA(DeviceIdentity identity);

    int OpenDevice(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                   std::uint32_t callerHandle) override;
    // Blanking 0..1023 on top of the sensor's own (370 and 29).
    int SetHBlank(std::int32_t value) override;
    int SetVBlank(std::int32_t value) override;
    int SetZoomMode(std::int32_t mode) override;
    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;
    // Flag 0 or not: register 0x3082 0x29 or 0x28 between the two writes of
    // 0x301A; the flag also limits the exposure to 2048 lines.
    int ApplyModelSetting(std::int32_t flag);
    std::int32_t ModelSetting() const { return modelSetting_; }

private:
    fpga::AddressWidth ListWidth() const override { return fpga::AddressWidth::sixteenBit; }
    std::uint8_t SentGain(std::uint8_t gain) const override { return gain; }
    std::chrono::milliseconds PauseAfterList() const override { return std::chrono::milliseconds(0); }
    std::uint16_t ExposureRegister() const override { return 0x3012; }
    bool RegisterWritesSendRecord() const override { return false; }
    std::span<const std::uint16_t, 4> GainRegisters() const override;
    void AppendWindow(fpga::RegisterList& list, Skip skip, std::uint32_t columnStart, std::uint32_t rowStart,
                      WindowUse use) const override;
    void AppendStartChanges(fpga::RegisterList& list, bool columnChanged, bool rowChanged, std::uint32_t column,
                            std::uint32_t row) const override;
    bool SkippedWindowAtOrigin() const override { return false; }
    bool RewritesUnfittedSkipWindow() const override;
    int OnWindowSizeChanged() override;
    std::uint32_t LimitExposureLines(std::uint32_t lines) const override;
    int ResendBlankingAndMode() override;
    int ResetSensor(bool atOpen) override;

    std::uint16_t LineLength() const;
    std::uint16_t FrameLength() const;

    std::int32_t modelSetting_ = 0;
};

}  // namespace kq
