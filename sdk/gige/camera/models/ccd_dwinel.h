// `CKQGige_Dwinel`: the 2336 x 1752 Bayer colour CCD camera, with a
// valid-bit shift.
#pragma once

#include "ccd_parsun.h"

namespace kqge {

class CKQGige_Dwinel : public CKQGige_Parsun {
public:
    CKQGige_Dwinel(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGige_Parsun(TraitsOf(0x400B0), index, channel, record, settings) {}

    std::int32_t SetValidBitsOff(std::int32_t shift) override { return WriteValidBitsOff(shift); }

protected:
    double UnitsPerLine() const override { return 64.0; }
};

}  // namespace kqge
