// `CDefaultCamera`: the camera of an unrecognised model, and the register
// map of the 752 CMOS family (maker registers 0xF00000xx) that the two
// 752x480 classes refine.
#pragma once

#include "gige_camera_base.h"

namespace kqge {

class CDefaultCamera : public GigECameraBase {
public:
    CDefaultCamera(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settingsFile)
        : CDefaultCamera(TraitsOf(0), index, channel, record, settingsFile) {}

    std::int32_t SetExposure(std::uint32_t exposure) override;
    std::int32_t SetGainR(std::uint32_t gain) override;
    std::int32_t SetGainG(std::uint32_t gain) override;
    std::int32_t SetGainB(std::uint32_t gain) override;
    std::int32_t SetGain_A(std::int32_t gain) override;
    std::int32_t SetResolution(std::uint32_t width, std::uint32_t height) override;
    std::int32_t SetOffsetH(std::int32_t offset) override;
    std::int32_t SetOffsetV(std::int32_t offset) override;
    std::int32_t EnableAE(bool on) override;
    std::int32_t EnableAG(bool on) override;
    std::int32_t SetFlipMode(std::int32_t kind) override;
    std::int32_t SetZoomMode(std::int32_t mode) override;
    std::int32_t SetExpMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetCapMode(std::int32_t mode) override;
    std::int32_t SetSpeedMode(std::int32_t mode) override;
    std::int32_t SetCameraIP(std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway) override;
    std::int32_t IPConfig(bool on) override;
    std::int32_t SetFlashState(bool on, bool mode) override;

    std::int32_t ExposureToLines(std::int64_t exposure) const override;
    std::int32_t LinesToExposure(std::int64_t lines) const override;

protected:
    CDefaultCamera(const ModelTraits& traits, std::int32_t index, CNIC* channel, const DiscoveryRecord& record,
                   AwbSettingsFile& settingsFile)
        : GigECameraBase(traits, index, channel, record, settingsFile) {}

    std::int32_t StartStream() override;
    // Output size of a raw size under the zoom code the sensor reports.
    std::int32_t ApplyResolution(std::uint32_t width, std::uint32_t height);
    std::int32_t ReapplyExposure() { return SetExposure(StoredExposure()); }
};

}  // namespace kqge
