// `CKQGige_Parsun`: the CCD register family's root (1360 x 1024 Bayer
// colour). Gains, capture mode and resolution are re-applied at every
// stream start; offsets, camera-side AE and AG, zoom, exposure and speed
// modes are not the CCD firmware's.
#pragma once

#include "gige_camera_base.h"

namespace kqge {

class CKQGige_Parsun : public GigECameraBase {
public:
    CKQGige_Parsun(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGige_Parsun(TraitsOf(0x14000), index, channel, record, settings) {}

    std::int32_t SetExposure(std::uint32_t exposure) override;
    std::int32_t SetGainR(std::uint32_t gain) override;
    std::int32_t SetGainG(std::uint32_t gain) override;
    std::int32_t SetGainB(std::uint32_t gain) override;
    std::int32_t SetGain_A(std::int32_t gain) override;
    std::int32_t SetResolution(std::uint32_t width, std::uint32_t height) override;
    std::int32_t SetOffsetH(std::int32_t) override { return kUnsupported; }
    std::int32_t SetOffsetV(std::int32_t) override { return kUnsupported; }
    std::int32_t EnableAE(bool) override { return kUnsupported; }
    std::int32_t EnableAG(bool) override { return kUnsupported; }
    std::int32_t SetFlipMode(std::int32_t kind) override;
    std::int32_t SetZoomMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetExpMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetCapMode(std::int32_t mode) override;
    std::int32_t SetSpeedMode(std::int32_t) override { return kUnsupported; }
    std::int32_t SetCameraIP(std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway) override;
    std::int32_t IPConfig(bool on) override;
    std::int32_t SetFlashState(bool on, bool mode) override;

    std::int32_t ExposureToLines(std::int64_t exposure) const override;
    std::int32_t LinesToExposure(std::int64_t lines) const override;

protected:
    CKQGige_Parsun(const ModelTraits& traits, std::int32_t index, CNIC* channel, const DiscoveryRecord& record,
                   AwbSettingsFile& settings)
        : GigECameraBase(traits, index, channel, record, settings) {}

    std::int32_t StartStream() override;
    // Model steps of the stream start before the common sequence.
    virtual std::int32_t ReapplyBeforeStream();
    // The stream record's width.
    virtual std::int32_t StreamWidth() const { return OutputSize().width; }
    // Exposure units per register line.
    virtual double UnitsPerLine() const { return 74.58; }
    // Bayer phase of flip kinds 0..5.
    virtual int FlipPhase(std::int32_t kind) const;
    // Colour gain writes: (red, green, blue) registers in the capture mode.
    virtual std::int32_t WriteColourGain(int which, std::int32_t gain);
    virtual std::int32_t MostGlobalGain() const { return 255; }
    // 0xF0005400 for the valid-bit shift n (the classes that have it).
    std::int32_t WriteValidBitsOff(std::int32_t shift);
    // Output kind 4 and the 8-bit kinds of the two-bytes-per-pixel classes.
    std::int32_t WriteWideOutput(bool wide);
};

}  // namespace kqge
