// `CKQGige_Ostrel`: the monochrome 1360 x 1024 CCD camera; it has no colour
// gains.
#pragma once

#include "ccd_parsun.h"

namespace kqge {

class CKQGige_Ostrel : public CKQGige_Parsun {
public:
    CKQGige_Ostrel(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGige_Ostrel(TraitsOf(0x14001), index, channel, record, settings) {}

    std::int32_t SetGainR(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetGainG(std::uint32_t) override { return kUnsupported; }
    std::int32_t SetGainB(std::uint32_t) override { return kUnsupported; }

protected:
    using CKQGige_Parsun::CKQGige_Parsun;
    // No colour gains to re-apply at stream start.
    std::int32_t WriteColourGain(int, std::int32_t) override { return 0; }
};

}  // namespace kqge
