#pragma once
// `CKQNavelo_FPGA`: the colour camera of type 11 and the base of every
// camera whose sensor sits behind an FPGA bridge. Each sensor setting
// travels as a register list in a request block right after the capture
// record; the library computes the register values itself. The EEPROM
// area, the serial number and the trigger timing use the same blocks.
//
// Every pause goes through the device's sleeper. Capture stops around a
// request to the camera and restarts after it (CapturePause).

#include <array>

#include "core/base_device.h"
#include "core/status_codes.h"
#include "fpga_request.h"
#include "sensor_timing.h"

namespace kq {

// The register layout of one FPGA model: offsets, blanking defaults and
// limits, and the read-mode word written at open.
struct FpgaSensorTiming {
    std::int32_t widthAdjust = 1;
    std::int32_t heightAdjust = 1;
    std::uint16_t horizontalBlanking = 142;
    std::uint16_t verticalBlanking = 25;
    std::uint16_t minHorizontalBlanking = 142;
    std::int32_t columnOffset = 32;
    std::int32_t rowOffset = 20;
    std::uint16_t readMode = 0xC040;
};

class CKQNavelo_FPGA : public BaseDevice {
public:
    explicit CKQNavelo_FPGA(DeviceIdentity identity)
        : CKQNavelo_FPGA(identity, DeviceClass::CKQNavelo_FPGA, FpgaSensorTiming{}) {}

    int OpenDevice(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                   std::uint32_t callerHandle) override;
    int SetCapInfo(const CapInfo& record) override;
    // The stored record with SET_FORMAT, then the current register list.
    // 10 (nothing sent) for a window without pixels or a refused format,
    // which leaves the stored record as it was; 3 when the list is refused.
    int ApplyCapInfo(const CapInfo& record) override;
    int ResendCapInfo() override;
    int SetZoomMode(std::int32_t mode) override;
    int SetHBlank(std::int32_t value) override;
    int SetVBlank(std::int32_t value) override;
    // 1 to 9 registers (low byte of each address), else 10 and nothing sent.
    int Write_Register(std::span<const std::uint16_t> addresses, std::span<const std::uint16_t> values) override;
    int WriteSensorRegister(std::uint16_t address, std::uint16_t value);
    int StartView(std::unique_ptr<PreviewSurface> surface, const DrawPlacement& placement) override;

    int SetSpeedMode(std::int32_t) override { return status::kNotSupported; }
    int SetExpouseDelayTime(std::int32_t) override { return status::kNotSupported; }
    int SetSensorRdMode(std::int32_t) override { return status::kNotSupported; }
    int SetIO(std::uint8_t) override { return status::kRefused; }
    int GetIO(std::uint8_t&) override { return status::kRefused; }
    int SoftTrigger() override;
    int SetCustomIO(std::int32_t on) override;
    int SetTriggerSource(std::int32_t on) override;
    int SetTriggerDelayTime(std::int32_t delay) override;
    int SetTriggerSourceTime(std::int32_t time) override;

    // Serial number and the 40-byte EEPROM area (the first 40 bytes of the
    // caller's buffers). A read is taken only when the reply is whole; a
    // failed one leaves the caller's buffer and the cache as they were.
    int GetSerialNumber(std::span<std::uint8_t, 16> out) override;
    int EEProm_Set(std::span<const std::uint8_t, 240> source) override;
    int EEProm_Get(std::span<std::uint8_t, 240> destination) override;
    int EEProm_SetByte(std::int32_t offset, std::int32_t count, const std::uint8_t* source) override;
    int EEProm_GetByte(std::int32_t offset, std::int32_t count, std::uint8_t* destination) override;
    int EEProm_Set_Test(std::uint8_t* source) override;
    int EEProm_Get_Test(std::uint8_t* destination) override;

    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;

    const FpgaSensorTiming& Timing() const { return timing_; }
    // Off: a capture-parameter request returns once its two requests are
    // sent. Chosen by the factory before the camera opens.
    void SetSettlingPause(bool on) { settlingPause_ = on; }

protected:
    CKQNavelo_FPGA(DeviceIdentity identity, DeviceClass deviceClass, FpgaSensorTiming timing);

    enum class Skip { none, twoFold, fourFold };
    // Why a window list is built: to program the window, or to restore it
    // after re-arrival.
    enum class WindowUse { program, resend };

    // Model points: how the list is laid out and sent, and what follows it.
    virtual fpga::AddressWidth ListWidth() const { return fpga::AddressWidth::eightBit; }
    virtual std::uint8_t SentGain(std::uint8_t gain) const;
    virtual std::chrono::milliseconds PauseAfterList() const;
    virtual std::uint16_t ExposureRegister() const { return 0x09; }
    // The window entries of a skip state, with the write after them.
    virtual void AppendWindow(fpga::RegisterList& list, Skip skip, std::uint32_t columnStart, std::uint32_t rowStart,
                              WindowUse use) const;
    // Whether a change of the skip bit counts while a zoom mode is set.
    virtual bool SkipChangeNeedsZoomZero() const { return true; }
    // Whether a register write goes with the capture record (else alone).
    virtual bool RegisterWritesSendRecord() const { return true; }
    virtual std::span<const std::uint16_t, 4> GainRegisters() const;
    // The writes a moved window start needs.
    virtual void AppendStartChanges(fpga::RegisterList& list, bool columnChanged, bool rowChanged, std::uint32_t column,
                                    std::uint32_t row) const;
    // Whether a skipped window is programmed from the sensor's origin.
    virtual bool SkippedWindowAtOrigin() const { return true; }
    // Zoom 0 asked with the skip flag on a window that does not fit twice:
    // whether the unskipped window is written again.
    virtual bool RewritesUnfittedSkipWindow() const { return true; }
    // Runs when the window takes a new size, before its list is sent.
    virtual int OnWindowSizeChanged() { return status::kSuccess; }
    // The exposure (lines) a record may store.
    virtual std::uint32_t LimitExposureLines(std::uint32_t lines) const { return lines; }
    // The end of a resend: blanking and the mode the camera must get back.
    virtual int ResendBlankingAndMode();
    // The reset pulse and fixed registers at open and re-arrival.
    virtual int ResetSensor(bool atOpen);
    // Register 0x0D: 1, then 0 twice, with the sensor's settling pauses.
    void SendResetPulse();
    int PrepareArrivedSensor() override { return ResetSensor(false); }
    void SendExposure() override;
    // A pixel calibration changes the exposure register alone: the window
    // it needs (the whole sensor) is the one already programmed.
    void SendCaptureSettings(const kqcmos::CaptureSettings& settings) override;
    // Without a prefix a snapshot is named by the local time.
    std::filesystem::path SnapshotStem(std::int32_t number) const override;

    // Trigger mode through the trigger bits of the read-mode word (register
    // 30, then 11 = 1), with the stream stopped around it. A refused write
    // leaves the word and the mode as they were and returns 3.
    int SwitchReadModeTrigger(std::int32_t on, timing::TriggerBits bits);

    // Sends the list as it stands with the stored record.
    int SendList() { return ApplyCapInfo(capInfo_); }
    // Sends the list alone, its header from the stored record.
    int SendListBlock();
    int SendRegisters(std::span<const fpga::RegisterWrite> writes);
    // Sets or clears a bit of the record's control byte and sends the record
    // with an empty list.
    int SetControlBit(std::uint8_t bit, bool on);
    std::uint16_t ExposureLines() const;
    Skip CurrentSkip() const;
    bool FitsTwice(std::uint32_t width, std::uint32_t height) const;
    // Effective window of a requested size in a zoom mode: bounded to the
    // sensor and rounded down to multiples of 8.
    WindowSize EffectiveWindow(std::uint32_t width, std::uint32_t height, std::int32_t zoomMode) const;
    // A start limited so `factor` times the window stays on the sensor.
    std::uint32_t ClampStart(std::uint32_t start, std::uint32_t size, std::int32_t sensor, std::uint32_t factor) const;
    void AppendGains(fpga::RegisterList& list, std::span<const std::uint16_t, 4> registers) const;
    // One request to the camera with capture stopped around it.
    int SendRequest(const fpga::Request& request);
    int ReadArea(std::array<std::uint8_t, fpga::kEepromBytes>& area);

    FpgaSensorTiming timing_;
    fpga::RegisterList list_;
    std::array<std::uint8_t, fpga::kEepromBytes> eepromArea_{};
    bool eepromCurrent_ = false;
    bool settlingPause_ = true;
};

}  // namespace kq
