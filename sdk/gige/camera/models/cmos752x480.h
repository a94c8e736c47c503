// What the two 752x480 CMOS classes share beyond the 752 CMOS family: the
// exposure register counts lines, flips and zoom are the sensor's readout
// register, HDR has its own register set, and opening sets the capture and
// flash registers and turns camera-side AE and AG off.
#pragma once

#include "default_camera.h"

namespace kqge {

class Cmos752x480Camera : public CDefaultCamera {
public:
    std::int32_t SetExposure(std::uint32_t exposure) override;
    std::int32_t SetGainR(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetGainG(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetGainB(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetGain_A(std::int32_t gain) override;
    std::int32_t SetFlipMode(std::int32_t kind) override;
    std::int32_t HDR_Enable(std::int32_t on) override;

protected:
    Cmos752x480Camera(const ModelTraits& traits, std::int32_t leastGain, std::int32_t index, CNIC* channel,
                      const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CDefaultCamera(traits, index, channel, record, settings), leastGain_(leastGain) {}

    std::int32_t CheckAccess() override;

private:
    std::int32_t leastGain_;
};

}  // namespace kqge
