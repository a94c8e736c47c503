// `CKQGigE_CMOSUlmora`: the monochrome 2592 x 1944 CMOS camera; its global
// gain drives all three gain registers, and its exposure register counts
// half lines of the family's.
#pragma once

#include "cmos_navelo.h"

namespace kqge {

class CKQGigE_CMOSUlmora : public CKQGigE_CMOSNavelo {
public:
    CKQGigE_CMOSUlmora(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGigE_CMOSNavelo(TraitsOf(0x10050001), index, channel, record, settings) {}

    std::int32_t SetGain_A(std::int32_t gain) override { return WriteAllGains(gain); }

protected:
    std::int32_t LineScale() const override { return 2; }
};

}  // namespace kqge
