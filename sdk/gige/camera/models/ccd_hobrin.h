// `CKQGige_Hobrin`: the 2448 x 2050 Bayer colour CCD camera; its exposure
// register counts units of 32 up to 0xFFFF.
#pragma once

#include "ccd_sabrel.h"

namespace kqge {

class CKQGige_Hobrin : public CKQGige_Sabrel {
public:
    CKQGige_Hobrin(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGige_Sabrel(TraitsOf(0x50000), index, channel, record, settings) {}

    std::int32_t ExposureToLines(std::int64_t exposure) const override;
    std::int32_t LinesToExposure(std::int64_t lines) const override;
};

}  // namespace kqge
