// `CKQGige_Ivrose`: the 1024 x 1024 CCD camera with on-camera correction;
// its global gain stops at 250.
#pragma once

#include "ccd_wendik.h"

namespace kqge {

class CKQGige_Ivrose : public CKQGige_Wendik {
public:
    CKQGige_Ivrose(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGige_Wendik(TraitsOf(0x20100B1), index, channel, record, settings) {}

    // One correction pass on the running stream: -1 when not streaming.
    std::int32_t SetDoAutoCorrection() override;
    std::int32_t SetDoCorrecting(bool on) override;

protected:
    double UnitsPerLine() const override { return 15.6; }
    std::int32_t MostGlobalGain() const override { return 250; }
};

}  // namespace kqge
