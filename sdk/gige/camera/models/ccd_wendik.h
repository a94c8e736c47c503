// `CKQGige_Wendik`: the monochrome 1024 x 1024 CCD camera, with a valid-bit
// shift.
#pragma once

#include "ccd_ostrel.h"

namespace kqge {

class CKQGige_Wendik : public CKQGige_Ostrel {
public:
    CKQGige_Wendik(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGige_Wendik(TraitsOf(0x100B1), index, channel, record, settings) {}

    std::int32_t SetValidBitsOff(std::int32_t shift) override { return WriteValidBitsOff(shift); }

protected:
    using CKQGige_Ostrel::CKQGige_Ostrel;
    double UnitsPerLine() const override { return 29.35; }
};

}  // namespace kqge
