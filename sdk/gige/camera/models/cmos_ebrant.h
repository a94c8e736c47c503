// `CKQGigE_CMOSEbrant`: the 2592 x 1944 Bayer colour CMOS camera; its
// exposure register counts half lines of the family's.
#pragma once

#include "cmos_navelo.h"

namespace kqge {

class CKQGigE_CMOSEbrant : public CKQGigE_CMOSNavelo {
public:
    CKQGigE_CMOSEbrant(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGigE_CMOSNavelo(TraitsOf(0x10050000), index, channel, record, settings) {}

protected:
    std::int32_t LineScale() const override { return 2; }
};

}  // namespace kqge
