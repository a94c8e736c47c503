// `CKQGigE_CMOSNavelo`: the CMOS register family's root (2048 x 1536 Bayer
// colour). Its trigger, capture mode and flash share one register; at every
// stream start the sensor settings are sent again, except in fast-capture
// mode, where only the stream is set up.
#pragma once

#include "default_camera.h"

namespace kqge {

class CKQGigE_CMOSNavelo : public CDefaultCamera {
public:
    CKQGigE_CMOSNavelo(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGigE_CMOSNavelo(TraitsOf(0x10030000), index, channel, record, settings) {}

    std::int32_t SetExposure(std::uint32_t exposure) override;
    std::int32_t SetGainR(std::uint32_t gain) override;
    std::int32_t SetGainG(std::uint32_t gain) override;
    std::int32_t SetGainB(std::uint32_t gain) override;
    std::int32_t SetGain_A(std::int32_t) override { return kUnsupported; }
    std::int32_t SetResolution(std::uint32_t width, std::uint32_t height) override;
    std::int32_t SetOffsetH(std::int32_t offset) override;
    std::int32_t SetOffsetV(std::int32_t offset) override;
    std::int32_t EnableAE(bool) override { return kUnsupported; }
    std::int32_t EnableAG(bool) override { return kUnsupported; }
    std::int32_t SetCapMode(std::int32_t mode) override;
    std::int32_t SetTriggerMode(std::int32_t mode) override;
    std::int32_t SetFlashState(bool on, bool mode) override;

    std::int32_t ExposureToLines(std::int64_t exposure) const override;
    std::int32_t LinesToExposure(std::int64_t lines) const override;

protected:
    using CDefaultCamera::CDefaultCamera;
    std::int32_t StartStream() override;
    std::int32_t CheckAccess() override;
    std::int32_t ReleaseControl() override;
    virtual std::int32_t StreamWidth() const { return OutputSize().width; }
    // Model steps of the stream start before the common sequence.
    virtual std::int32_t ReapplyBeforeStream();
    // The three colour gain registers written with one value.
    std::int32_t WriteAllGains(std::int32_t gain);
    // Register lines of an exposure, before a class's own scaling.
    double RootLines(double exposure) const;
    // The class's register lines per root line.
    virtual std::int32_t LineScale() const { return 1; }
};

}  // namespace kqge
