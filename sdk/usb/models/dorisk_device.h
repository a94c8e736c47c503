#pragma once
// `CKQDoriskDevice` (type 10, monochrome) and `CKQAlvinoDevice` (type 10,
// colour): the 752 x 480 sensor. Its 52-byte block carries blanking with
// defaults of 100 and 45, the trigger period in ms (never shorter than a
// frame) and the trigger check time; a line is never sent shorter than 660
// columns. Exposure lines follow its 27 MHz line of width + blanking.
//
// Every send is checked: a refused block leaves the device as it was and
// returns 10.

#include "core/base_device.h"
#include "core/status_codes.h"
#include "sensor_timing.h"

namespace kq {

class CKQDoriskDevice : public BaseDevice {
public:
    static constexpr std::uint16_t kDefaultHorizontalBlanking = 100;
    static constexpr std::uint16_t kDefaultVerticalBlanking = 45;
    static constexpr std::int32_t kDefaultTriggerSourceTime = 18;

    explicit CKQDoriskDevice(DeviceIdentity identity) : CKQDoriskDevice(identity, DeviceClass::CKQDoriskDevice) {}

    int SetCapInfo(const CapInfo& record) override;
    int ApplyCapInfo(const CapInfo& record) override;
    int SetZoomMode(std::int32_t mode) override;
    int SetHBlank(std::int32_t value) override;
    int SetVBlank(std::int32_t value) override;
    int SetSpeedMode(std::int32_t) override { return status::kNotSupported; }
    int SetHDR(std::int32_t on) override;
    int SetTriggerSource(std::int32_t on) override;
    int SetTriggerSourceTime(std::int32_t time) override;
    int SetTriggerCheckSignalTime(std::int32_t value) override;

    std::uint32_t ExposureToRegister(std::uint32_t time) const override;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const override;

    std::uint16_t HorizontalBlanking() const { return block_.horizontalBlanking; }
    std::uint16_t VerticalBlanking() const { return block_.verticalBlanking; }
    std::uint16_t TriggerPeriod() const { return triggerPeriod_; }

protected:
    CKQDoriskDevice(DeviceIdentity identity, DeviceClass deviceClass);
    // One running number for the trigger frames of every type 10 camera,
    // monochrome or colour.
    std::int32_t NextSnapshotNumber() override;

private:
    // The window the sensor can deliver: limited to the sensor (half of it
    // with binning), never rounded.
    WindowSize SensorWindow(std::uint32_t width, std::uint32_t height, std::uint8_t binningMode) const;
    // Sets the stored settings through `change`, sends them and takes the
    // change back when the send fails.
    template <class Change>
    int ChangeAndSend(Change change);

    std::uint16_t triggerPeriod_ = 0;
    std::int32_t triggerSourceTime_ = kDefaultTriggerSourceTime;
    std::uint16_t triggerCheckTime_ = 0;
};

class CKQAlvinoDevice final : public CKQDoriskDevice {
public:
    explicit CKQAlvinoDevice(DeviceIdentity identity) : CKQDoriskDevice(identity, DeviceClass::CKQAlvinoDevice) {
        // G B / R G: blue at odd columns of even rows, red at even columns
        // of odd rows. Its own colour kernels and pre-filters read that cell
        // (the boost raises red and blue); the grey kernels are the base's.
        // The microscope filters of phase 2 take blue as their centre there.
        pixelModel_.colourCell = {0, 1};
        pixelModel_.microscopePhase = 2;
        pixelModel_.cellDemosaic = {.colour = true, .grey = false, .boost = kqcmos::BoostedPair::colours};
        pixelModel_.turnRepair = kqcmos::TurnRepair::lastRow;
    }

    // The colour sensor keeps HDR to its picture path: the flag only.
    int SetHDR(std::int32_t on) override { return BaseDevice::SetHDR(on); }
};

}  // namespace kq
