// `CKQGige_Sabrel`: the 1628 x 1236 Bayer colour CCD camera. In capture
// modes other than 0 its firmware exchanges the gain registers; its flips
// read the Bayer pattern from another corner.
#pragma once

#include "ccd_parsun.h"

namespace kqge {

class CKQGige_Sabrel : public CKQGige_Parsun {
public:
    CKQGige_Sabrel(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGige_Sabrel(TraitsOf(0x20000), index, channel, record, settings) {}

    std::int32_t ExposureToLines(std::int64_t exposure) const override;
    std::int32_t LinesToExposure(std::int64_t lines) const override;

protected:
    using CKQGige_Parsun::CKQGige_Parsun;
    std::int32_t ReapplyBeforeStream() override;
    int FlipPhase(std::int32_t kind) const override;
    std::int32_t WriteColourGain(int which, std::int32_t gain) override;

private:
    double LineTime() const { return RawSize().width == 800 ? 2070.0 : 1930.0; }
};

}  // namespace kqge
