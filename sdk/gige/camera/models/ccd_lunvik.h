// `CKQGige_Lunvik`: the 1360 x 1024 colour CCD camera with two bytes per pixel: output
// kind 4 gives 16-bit samples (12 valid bits), with the raw frame twice as
// long and the stream record twice as wide.
#pragma once

#include "ccd_parsun.h"

namespace kqge {

class CKQGige_Lunvik : public CKQGige_Parsun {
public:
    CKQGige_Lunvik(std::int32_t index, CNIC* channel, const DiscoveryRecord& record, AwbSettingsFile& settings)
        : CKQGige_Parsun(TraitsOf(0x140B0), index, channel, record, settings) {}

    std::int32_t SetColorMode(std::int32_t kind) override;
    // 17 in output kind 4, whose samples keep every valid bit.
    std::int32_t SetValidBitsOff(std::int32_t shift) override;

protected:
    double UnitsPerLine() const override { return 59.67; }
    std::int32_t ReapplyBeforeStream() override;
    std::int32_t StreamWidth() const override;
};

}  // namespace kqge
