// `CKQGigE_CMOSJorvel`: the monochrome 1280 x 1024 CMOS camera with two
// bytes per pixel: output kind 4 gives 16-bit samples (10 valid bits) from
// firmware whose device version has a digit above 4 in its eighth place.
// Its zoom halves only, set through the stream set-up register.
#pragma once

#include "cmos_navelo.h"

namespace kqge {

class CKQGigE_CMOSJorvel : public CKQGigE_CMOSNavelo {
public:
    CKQGigE_CMOSJorvel(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGigE_CMOSNavelo(TraitsOf(0x10013001), index, channel, record, settings) {}

    std::int32_t SetGain_A(std::int32_t gain) override { return WriteAllGains(gain); }
    std::int32_t SetZoomMode(std::int32_t mode) override;
    std::int32_t SetColorMode(std::int32_t kind) override;
    std::int32_t ExposureToLines(std::int64_t exposure) const override;
    std::int32_t LinesToExposure(std::int64_t lines) const override;

    // The eighth character of the discovery record's device version.
    bool HasWideOutput() const;

protected:
    std::int32_t ReapplyBeforeStream() override;
    std::int32_t StreamWidth() const override;

private:
    double Divisor() const;
};

}  // namespace kqge
